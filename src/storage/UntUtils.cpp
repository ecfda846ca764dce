#include "UntUtils.h"

#include "UntRtf.h"
#include "UntStrings.h"

#include <QRegularExpression>
#include <array>

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool IsDelimiter(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\\') || c == QLatin1Char('{') ||
           c == QLatin1Char('}');
}

bool IsHexDigit(QChar c) {
    return HexValue(c) >= 0;
}

// The control words the filter keeps, in the order they are tried.
const std::array<QString, 11> KeptWords = {"\\b0",   "\\b",   "\\i0",  "\\i",    "\\ulnone", "\\ul",
                                           "\\pard", "\\par", "\\tag", "\\rtf1", "\\ansi"};

// Position after the group that opens at pos; never past the end.
qsizetype SkipGroup(const QString& text, qsizetype pos) {
    int depth = 0;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == QLatin1Char('\\')) {
            pos += 2;
            continue;
        }
        ++pos;
        if (c == QLatin1Char('{'))
            ++depth;
        else if (c == QLatin1Char('}') && --depth == 0)
            return pos;
    }
    return text.size();
}

// Position after the fallback characters that follow a "\uN" escape.
qsizetype SkipFallback(const QString& text, qsizetype pos, int count) {
    for (; count > 0 && pos < text.size(); --count) {
        const QChar c = text[pos];
        if (c == QLatin1Char('{') || c == QLatin1Char('}'))
            break;
        if (c != QLatin1Char('\\'))
            ++pos;
        else if (pos + 3 < text.size() && text[pos + 1] == QLatin1Char('\''))
            pos += 4;
        else
            break;
    }
    return pos;
}

// The reading filter. Beyond the kept words followed by a delimiter, which it
// moves as they are, it reads what other programs write as RTF does: a
// control word ends with its letters and number, a space after it belongs to
// it, and Unicode escapes and control symbols stand for characters. Its
// output is its own filtered form.
class TRtfFilter {
public:
    explicit TRtfFilter(const QString& text) : FText(text) { FOut.reserve(text.size()); }

    QString Run() {
        while (FPos < FText.size())
            Step();
        return FOut;
    }

private:
    void Step() {
        const QChar c = FText[FPos];
        if (c == QLatin1Char('{')) {
            // The document's own brace stays; every group inside it goes.
            if (FOpened) {
                FPos = SkipGroup(FText, FPos);
                return;
            }
            FOpened = true;
        }
        if (c != QLatin1Char('\\')) {
            qsizetype end = FPos + 1;
            while (end < FText.size() && FText[end] != QLatin1Char('\\') &&
                   FText[end] != QLatin1Char('{'))
                ++end;
            Emit(QStringView(FText).mid(FPos, end - FPos));
            FPos = end;
            return;
        }
        if (FPos + 1 == FText.size()) {
            ++FPos;
            return;
        }
        const QChar next = FText[FPos + 1];
        const QStringView rest = QStringView(FText).mid(FPos);
        if (next == QLatin1Char('\'')) {
            // A malformed escape is dropped; the rest of its run is text.
            const QString escape = MatchControlWord(QStringLiteral("\\'*"), rest);
            const bool wellFormed =
                escape.size() >= 4 && IsHexDigit(escape[2]) && IsHexDigit(escape[3]);
            if (wellFormed)
                Emit(escape);
            FPos += wellFormed ? escape.size() : 2;
            return;
        }
        if (IsAsciiLetter(next)) {
            ControlWord();
            return;
        }
        FPos += 2;
        switch (next.unicode()) {
        case '\\':
        case '{':
        case '}':
            EmitChar(next);
            break;
        case '~':
            EmitChar(QChar(0x00A0));
            break;
        case '_':
            EmitChar(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            EmitWord(QStringLiteral("\\par"));
            break;
        default:
            break;
        }
    }

    // A control word: a kept word stays, whatever follows it (a delimiter, or
    // a line break or character that other programs write there); another
    // word goes with the space that delimits it.
    void ControlWord() {
        const qsizetype size = FText.size();
        const TControlWord control = LexControlWord(FText, FPos);
        const QStringView name = control.Name;
        const QStringView parameter = control.Parameter;
        const QStringView word = QStringView(FText).mid(FPos, control.End - FPos);
        const qsizetype end = control.End;
        FPos = end;
        const bool spaceFollows = end < size && FText[end] == QLatin1Char(' ');
        if (std::ranges::find(KeptWords, word) != KeptWords.end()) {
            EmitWord(word);
        } else if (name == u"\\u" && !parameter.isEmpty()) {
            FPos += spaceFollows ? 1 : 0;
            const long long value = control.Value();
            EmitChar(QChar(static_cast<char16_t>(value < 0 ? value + 65536 : value)));
            FPos = SkipFallback(FText, FPos, FFallbackLength);
        } else {
            if (name == u"\\uc" && !parameter.isEmpty() && parameter[0] != QLatin1Char('-'))
                FFallbackLength = static_cast<int>(std::min(control.Value(), 16LL));
            // The space delimits the dropped word, unless a kept word before
            // it needs the space as its own delimiter.
            FPos += spaceFollows && !FAfterKeptWord ? 1 : 0;
        }
    }

    // Appends output, giving a kept word before it the delimiter it needs. A
    // line break may follow a kept word: the filter reads that case as a
    // delimited word too.
    void Emit(QStringView piece) {
        const QChar first = piece.front();
        if (FAfterKeptWord && !IsDelimiter(first) && first != QLatin1Char('\r') &&
            first != QLatin1Char('\n'))
            FOut += QLatin1Char(' ');
        FOut += piece;
        FAfterKeptWord = false;
    }

    void Emit(QChar c) { Emit(QStringView(&c, 1)); }

    void EmitWord(QStringView word) {
        Emit(word);
        FAfterKeptWord = true;
    }

    // A character of the text; backslashes and braces as control symbols.
    void EmitChar(QChar c) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            Emit(QString(QLatin1Char('\\')) + c);
        else
            Emit(c);
    }

    const QString& FText;
    QString FOut;
    qsizetype FPos = 0;
    bool FOpened = false;
    bool FAfterKeptWord = false;
    int FFallbackLength = 1;
};

// Control symbols stand for literal characters in the tag markup; while the
// markup is made, they wait as noncharacters, which never occur in text.
constexpr std::array<std::pair<char16_t, char16_t>, 3> Symbols = {
    {{u'\\', 0xFDD0}, {u'{', 0xFDD1}, {u'}', 0xFDD2}}};

QChar Protected(QChar c) {
    const auto symbol =
        std::ranges::find(Symbols, c.unicode(), &std::pair<char16_t, char16_t>::first);
    return symbol == Symbols.end() ? c : QChar(symbol->second);
}

QString ProtectSymbols(const QString& filtered) {
    QString out;
    out.reserve(filtered.size());
    for (qsizetype i = 0; i < filtered.size(); ++i) {
        const QChar c = filtered[i];
        if (c.unicode() >= 0xFDD0 && c.unicode() <= 0xFDD2)
            continue;
        if (c == QLatin1Char('\\') && i + 1 < filtered.size()) {
            const QChar next = Protected(filtered[i + 1]);
            if (next != filtered[i + 1]) {
                out += next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString RestoreSymbols(QString text) {
    for (const auto& [literal, placeholder] : Symbols)
        text.replace(QChar(placeholder), QChar(literal));
    return text;
}

} // namespace

QString LinesToStoredText(const QStringList& lines) {
    return lines.join(QStringLiteral("<BR>"));
}

QStringList StoredTextToLines(const QString& stored) {
    QString text = stored;
    text.replace(QStringLiteral("<BR>"), QStringLiteral("\r"));
    return {FilterRtf(text)};
}

QString MatchControlWord(const QString& pattern, QStringView text) {
    const bool prefix = pattern.endsWith(QLatin1Char('*'));
    const QStringView word = prefix ? QStringView(pattern).chopped(1) : QStringView(pattern);
    if (!text.startsWith(word))
        return {};
    qsizetype end = word.size();
    if (!prefix)
        return end < text.size() && IsDelimiter(text[end]) ? word.toString() : QString();
    while (end < text.size() && !IsDelimiter(text[end]))
        ++end;
    return text.left(end).toString();
}

QString FilterRtf(const QString& text) {
    return TRtfFilter(text).Run();
}

QString RemoveControlWord(QString text, const QString& word) {
    while (text.contains(word)) {
        const qsizetype p = text.indexOf(word);
        text.remove(word);
        qsizetype end = p;
        while (end < text.size() && IsAsciiDigit(text[end]))
            ++end;
        text.remove(p, end - p);
        if (p < text.size() && text[p] == QLatin1Char(' '))
            text.remove(p, 1);
    }
    return text;
}

QStringList RtfToTagMarkup(const QStringList& lines) {
    QString text = ProtectSymbols(FilterRtf(LinesToStream(lines)));
    for (const char* word : {"\\rtf1", "\\ansi", "{", "}", "\\pard"})
        text = RemoveControlWord(text, QLatin1String(word));
    // "\i" written without a following space (which the filter keeps only
    // before a backslash or a brace) is an italic switch all the same.
    for (const auto& [from, to] : {std::pair{"\\par ", "<br>"},
                                   {"\\par", "<br>"},
                                   {"\\i0", "</i>"},
                                   {"\\i ", "<i>"},
                                   {"\\i", "<i>"},
                                   {"\\b0", "</b>"},
                                   {"\\b", "<b>"},
                                   {"\\ulnone", "</u>"},
                                   {"\\ul", "<u>"}})
        text.replace(QLatin1String(from), QLatin1String(to));
    const QString escape = QStringLiteral("\\'");
    for (qsizetype at = text.indexOf(escape); at >= 0; at = text.indexOf(escape)) {
        const QString digits = text.mid(at + 2, 2);
        if (digits.size() != 2 || !IsHexDigit(digits[0]) || !IsHexDigit(digits[1]))
            throw EConvertError(LoadStr(3020));
        // A decoded backslash or brace is a literal character too.
        text.replace(escape + digits, QString(Protected(Cp1252Char(digits.toInt(nullptr, 16)))));
    }
    return {RestoreSymbols(text)};
}

bool HasVisibleText(const QString& text) {
    QString rest = text;
    for (const char* word :
         {"\\rtf1", "\\ansi", "{", "}", "\\pard", "\\par", "\\i0", "\\b", "\\ulnone", "\\ul"})
        rest = RemoveControlWord(rest, QLatin1String(word));
    for (const QChar c : rest)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            return true;
    return false;
}

QString RtfToPlainText(const QStringList& lines) {
    return PlainText(ReadRtf(LinesToStream(lines)));
}

QStringList SplitAtReturns(const QString& text) {
    QStringList pieces = text.split(QLatin1Char('\r'));
    if (pieces.back().isEmpty())
        pieces.removeLast();
    return pieces;
}

QString LinesToStream(const QStringList& lines) {
    QString stream;
    for (const QString& line : lines)
        stream += line + CrLf;
    return stream;
}

QStringList CopyLines(const QStringList& lines) {
    QStringList copy = LinesToStream(lines).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    copy.removeLast();
    return copy;
}

QString FillTemplate(const QString& pattern, const QString& first, const QString& second) {
    QString text = pattern;
    text.replace(QStringLiteral("#1"), first);
    if (!second.isEmpty())
        text.replace(QStringLiteral("#2"), second);
    return text;
}

QString ProductStr(int id) {
    return FillTemplate(LoadStr(id), QString::fromLatin1(ProductName));
}
