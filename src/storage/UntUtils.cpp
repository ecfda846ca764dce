#include "storage/UntUtils.h"

#include "model/UntStrings.h"
#include "storage/UntRtf.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool IsDelimiter(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\\') || c == QLatin1Char('{') ||
           c == QLatin1Char('}');
}

// The control words the filter keeps.
const std::array<QStringView, 11> KeptWords = {u"\\b0",     u"\\b",    u"\\i0",   u"\\i",
                                               u"\\ulnone", u"\\ul",   u"\\pard", u"\\par",
                                               u"\\tag",    u"\\rtf1", u"\\ansi"};

// The reading filter. Beyond the kept words, which it moves as they are, it
// reads what other programs write as RTF does: a space after a control word
// belongs to it, and Unicode escapes and control symbols stand for
// characters. Its output is its own filtered form.
class TRtfFilter {
public:
    explicit TRtfFilter(const QString& text) : FLexer(text) { FOut.reserve(text.size()); }

    QString Run() {
        while (!FLexer.AtEnd())
            Step(FLexer.Next());
        // Pieces brought together, as "<B" and "R>" around a dropped group,
        // must not make the separator of the stored form.
        FOut.replace(QStringLiteral("<BR>"), QStringLiteral("\\'3cBR>"));
        return FOut;
    }

private:
    void Step(const TRtfToken& token) {
        switch (token.Kind) {
        case TRtfTokenKind::GroupOpen:
            // The document's own brace stays; every group inside it goes.
            if (FOpened)
                SkipGroup();
            else
                Emit(token.Source);
            FOpened = true;
            break;
        case TRtfTokenKind::GroupClose:
        case TRtfTokenKind::Text:
            Emit(token.Source);
            break;
        case TRtfTokenKind::HexEscape:
            // A malformed escape is dropped; what follows it is text.
            if (token.Code >= 0)
                Emit(token.Source);
            break;
        case TRtfTokenKind::ControlSymbol: {
            const TRtfSymbol symbol = RtfSymbol(token.Symbol);
            if (symbol.Meaning == TRtfSymbolMeaning::Character)
                EmitChar(symbol.Character);
            else if (symbol.Meaning == TRtfSymbolMeaning::ParagraphMark)
                EmitWord(u"\\par");
            break;
        }
        case TRtfTokenKind::ControlWord:
            ControlWord(token);
            break;
        }
    }

    // A kept word stays, whatever follows it (a delimiter, or a line break or
    // character that other programs write there); another word goes with the
    // space that delimits it.
    void ControlWord(const TRtfToken& token) {
        if (std::ranges::find(KeptWords, token.Word()) != KeptWords.end()) {
            EmitWord(token.Word());
            if (token.Delimited)
                Emit(u" ");
        } else if (token.Name == u"\\u" && !token.Parameter.isEmpty()) {
            const long long value = token.Value();
            EmitChar(QChar(static_cast<char16_t>(value < 0 ? value + 65536 : value)));
            SkipFallback();
        } else {
            if (token.Name == u"\\uc" && !token.Parameter.isEmpty() &&
                token.Parameter[0] != QLatin1Char('-'))
                FFallbackLength = static_cast<int>(std::min(token.Value(), 16LL));
            // The space stays when a kept word before the dropped one needs it
            // as its own delimiter.
            if (token.Delimited && FAfterKeptWord)
                Emit(u" ");
        }
    }

    void SkipGroup() {
        for (int depth = 1; depth > 0 && !FLexer.AtEnd();) {
            const TRtfTokenKind kind = FLexer.Next().Kind;
            if (kind == TRtfTokenKind::GroupOpen)
                ++depth;
            else if (kind == TRtfTokenKind::GroupClose)
                --depth;
        }
    }

    // The fallback after a "\uN" escape: characters of text, and escapes of
    // four characters, which other programs write there even when they are
    // no hex escapes. Braces and other control sequences end it early.
    void SkipFallback() {
        for (int count = FFallbackLength; count > 0 && !FLexer.AtEnd();) {
            const qsizetype start = FLexer.Position();
            const TRtfToken token = FLexer.Next();
            qsizetype taken = 0;
            if (token.Kind == TRtfTokenKind::Text) {
                taken = std::min<qsizetype>(count, token.Source.size());
                count -= static_cast<int>(taken);
            } else if (token.Kind == TRtfTokenKind::HexEscape &&
                       (token.Code >= 0 || start + 3 < FLexer.Text().size())) {
                taken = 4;
                --count;
            } else {
                count = 0;
            }
            FLexer.Seek(start + taken);
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

    void EmitWord(QStringView word) {
        Emit(word);
        FAfterKeptWord = true;
    }

    // A character of the text; backslashes and braces as control symbols.
    void EmitChar(QChar c) {
        const char16_t escaped[] = {u'\\', c.unicode()};
        const bool symbol =
            c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}');
        Emit(symbol ? QStringView(escaped, 2) : QStringView(&c, 1));
    }

    TRtfLexer FLexer;
    QString FOut;
    bool FOpened = false;
    bool FAfterKeptWord = false;
    int FFallbackLength = 1;
};

// A word that the tag markup or the test for visible text drops: a control
// word, or a brace. Both have always dropped their words one after the
// other, every occurrence of each, and with the first occurrence the digits
// and the one space that follow it once the words before are gone. Reports
// depend on it: "\pard Hello" starts with "Hello", a later "\pard" keeps its
// space.
struct TDroppedWord {
    QStringView Name;   // the backslash and the letters, or the brace
    QStringView Digits; // a number that belongs to the word, as in "\rtf1"
};

// A token of a comment whose words are dropped. The remaining digits of a
// dropped word's number and its delimiting space become text of their own,
// and text loses what went with a first occurrence. Pieces stay small, as a
// long comment has many: a token is lexed again from its own text.
struct TPiece {
    QStringView Text; // as written; for text, what remains of it
    int Dropped = 0;  // the dropped word's place in the order, from 1; 0 for none
    bool IsText = false;
};

// The place of the token's word in the order, from 1, and the rest of its
// number; 0 for a token that stays.
std::pair<int, QStringView> DroppedWord(const TRtfToken& token,
                                        std::span<const TDroppedWord> words) {
    const QStringView name = token.Kind == TRtfTokenKind::ControlWord ? token.Name : token.Source;
    for (std::size_t i = 0; i < words.size(); ++i)
        if (name == words[i].Name && token.Parameter.startsWith(words[i].Digits))
            return {static_cast<int>(i) + 1, token.Parameter.mid(words[i].Digits.size())};
    return {0, {}};
}

std::vector<TPiece> DropWords(QStringView text, std::span<const TDroppedWord> words) {
    std::vector<TPiece> pieces;
    // No piece is shorter than a character; growing a long comment's pieces
    // step by step costs more than what is reserved and never touched.
    pieces.reserve(text.size());
    std::vector<std::ptrdiff_t> firsts(words.size() + 1, -1);
    for (TRtfLexer lexer(text); !lexer.AtEnd();) {
        const TRtfToken token = lexer.Next();
        const auto [dropped, rest] = DroppedWord(token, words);
        if (dropped == 0) {
            pieces.push_back({token.Source, 0, token.Kind == TRtfTokenKind::Text});
            continue;
        }
        if (firsts[dropped] < 0)
            firsts[dropped] = std::ssize(pieces);
        pieces.push_back({token.Source, dropped});
        if (!rest.isEmpty())
            pieces.push_back({rest, 0, true});
        if (token.Delimited)
            pieces.push_back({token.Source.last(1), 0, true});
    }
    for (int word = 1; word < static_cast<int>(firsts.size()); ++word) {
        if (firsts[word] < 0)
            continue;
        for (auto piece = pieces.begin() + firsts[word] + 1; piece != pieces.end(); ++piece) {
            if (piece->Dropped > 0 && piece->Dropped <= word)
                continue;
            if (!piece->IsText)
                break;
            QStringView& rest = piece->Text;
            while (!rest.isEmpty() && IsAsciiDigit(rest.front()))
                rest = rest.mid(1);
            if (rest.isEmpty())
                continue;
            if (rest.front() == QLatin1Char(' '))
                rest = rest.mid(1);
            break;
        }
    }
    return pieces;
}

// A tag of the markup and the kept word it stands for.
struct TTag {
    QStringView Word;
    QStringView Tag;
    bool TakesSpace; // the word's delimiting space is part of the tag
};

// "\i" written without a space (which the filter keeps only before a
// backslash or a brace) is an italic switch all the same.
constexpr std::array<TTag, 7> Tags = {{{u"\\par", u"<br>", true},
                                       {u"\\i0", u"</i>", false},
                                       {u"\\i", u"<i>", true},
                                       {u"\\b0", u"</b>", false},
                                       {u"\\b", u"<b>", false},
                                       {u"\\ulnone", u"</u>", false},
                                       {u"\\ul", u"<u>", false}}};

void AppendMarkup(QString& markup, const TRtfToken& token) {
    switch (token.Kind) {
    case TRtfTokenKind::Text:
        markup += token.Source;
        break;
    case TRtfTokenKind::ControlWord: {
        const auto tag = std::ranges::find(Tags, token.Word(), &TTag::Word);
        if (tag == Tags.end()) {
            markup += token.Source;
            break;
        }
        markup += tag->Tag;
        if (token.Delimited && !tag->TakesSpace)
            markup += QLatin1Char(' ');
        break;
    }
    case TRtfTokenKind::HexEscape:
        // The filter keeps only escapes of two hexadecimal digits.
        Q_ASSERT(token.Code >= 0);
        // A decoded "<" makes a typed tag a tag, as the text report expects.
        markup += Cp1252Char(token.Code);
        break;
    case TRtfTokenKind::ControlSymbol: {
        const TRtfSymbol symbol = RtfSymbol(token.Symbol);
        if (symbol.Meaning == TRtfSymbolMeaning::Character)
            markup += symbol.Character;
        else if (symbol.Meaning == TRtfSymbolMeaning::ParagraphMark)
            markup += QStringLiteral("<br>");
        break;
    }
    case TRtfTokenKind::GroupOpen:
    case TRtfTokenKind::GroupClose:
        break;
    }
}

} // namespace

QString LinesToStoredText(const QStringList& lines) {
    // Reading made each "<BR>" a carriage return; writing makes it one again.
    return lines.join(QStringLiteral("<BR>")).replace(QLatin1Char('\r'), QStringLiteral("<BR>"));
}

QStringList StoredTextToLines(const QString& stored) {
    QString text = stored;
    text.replace(QStringLiteral("<BR>"), QStringLiteral("\r"));
    return {FilterRtf(text)};
}

QString FilterRtf(const QString& text) {
    return TRtfFilter(text).Run();
}

QStringList RtfToTagMarkup(const QStringList& lines) {
    static constexpr std::array<TDroppedWord, 5> Dropped = {
        {{u"\\rtf", u"1"}, {u"\\ansi", {}}, {u"{", {}}, {u"}", {}}, {u"\\pard", {}}}};
    QString filtered = FilterRtf(LinesToStream(lines));
    // These noncharacters, which no text holds, have never reached the markup.
    filtered.removeIf([](QChar c) { return c.unicode() >= 0xFDD0 && c.unicode() <= 0xFDD2; });
    QString markup;
    markup.reserve(filtered.size());
    for (const TPiece& piece : DropWords(filtered, Dropped)) {
        if (piece.IsText)
            markup += piece.Text;
        else if (piece.Dropped == 0)
            AppendMarkup(markup, TRtfLexer(piece.Text).Next());
    }
    return {markup};
}

bool HasVisibleText(const QString& text) {
    static constexpr std::array<TDroppedWord, 10> Dropped = {{{u"\\rtf", u"1"},
                                                              {u"\\ansi", {}},
                                                              {u"{", {}},
                                                              {u"}", {}},
                                                              {u"\\pard", {}},
                                                              {u"\\par", {}},
                                                              {u"\\i", u"0"},
                                                              {u"\\b", {}},
                                                              {u"\\ulnone", {}},
                                                              {u"\\ul", {}}}};
    const auto blank = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    };
    for (const TPiece& piece : DropWords(text, Dropped))
        if (piece.Dropped == 0 && (!piece.IsText || !std::ranges::all_of(piece.Text, blank)))
            return true;
    return false;
}

QString RtfToPlainText(const QStringList& lines) {
    return PlainText(ReadRtf(LinesToStream(lines)));
}

QString Printable(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString CommentText(const QStringList& lines) {
    return RtfToPlainText(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QStringList PlainTextToLines(const QString& text) {
    return text.isEmpty() ? QStringList() : WriteRtf(ReadPlainText(text));
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
    // One pass over the pattern: a value holding "#1" or "#2" stays as it is.
    QString text;
    text.reserve(pattern.size() + first.size() + second.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar next = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        if (pattern[i] == QLatin1Char('#') && next == QLatin1Char('1')) {
            text += first;
            ++i;
        } else if (pattern[i] == QLatin1Char('#') && next == QLatin1Char('2') &&
                   !second.isEmpty()) {
            text += second;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

QString ProductStr(int id) {
    return FillTemplate(LoadStr(id), QString::fromLatin1(ProductName));
}
