#include "storage/UntRtf.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringView>
#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Groups whose content is never text.
bool IsDestination(QStringView word) {
    static const QStringList destinations = {
        "fonttbl",  "colortbl",  "stylesheet",        "info",      "pict",
        "object",   "header",    "headerl",           "headerr",   "headerf",
        "footer",   "footerl",   "footerr",           "footerf",   "footnote",
        "fldinst",  "listtable", "listoverridetable", "rsidtbl",   "generator",
        "xmlnstbl", "themedata", "latentstyles",      "datastore", "revtbl",
        "filetbl",  "pgdsctbl",  "colorschememapping"};
    return destinations.contains(word);
}

class TRtfReader {
public:
    explicit TRtfReader(const QString& text) : FLexer(text) {}

    TRtfDocument Read() {
        FDocument.emplace_back();
        while (!FLexer.AtEnd())
            Step();
        if (FEndedWithMark && FDocument.back().empty())
            FDocument.pop_back();
        return std::move(FDocument);
    }

private:
    struct TState {
        bool Bold = false;
        bool Italic = false;
        bool Underline = false;
        bool Skip = false;
        int FallbackLength = 1;
    };

    void Step() {
        const TRtfToken token = FLexer.Next();
        const bool groupStart = std::exchange(FGroupStart, false);
        switch (token.Kind) {
        case TRtfTokenKind::GroupOpen:
            FStack.push_back(FState);
            FGroupStart = true;
            break;
        case TRtfTokenKind::GroupClose:
            if (!FStack.empty()) {
                FState = FStack.back();
                FStack.pop_back();
            }
            FPendingFallback = 0;
            break;
        case TRtfTokenKind::ControlWord:
            ControlWord(token.Name.mid(1), !token.Parameter.isEmpty(), token.Value(), groupStart);
            break;
        case TRtfTokenKind::ControlSymbol:
            ControlSymbol(token.Symbol, groupStart);
            break;
        case TRtfTokenKind::HexEscape:
            if (token.Code >= 0)
                AddText(Cp1252Char(token.Code));
            break;
        case TRtfTokenKind::Text:
            for (const QChar c : token.Source)
                if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
                    AddText(c);
            break;
        }
    }

    void ControlSymbol(QChar symbol, bool groupStart) {
        const TRtfSymbol meaning = RtfSymbol(symbol);
        switch (meaning.Meaning) {
        case TRtfSymbolMeaning::Character:
            AddText(meaning.Character);
            break;
        case TRtfSymbolMeaning::ParagraphMark:
            ParagraphMark();
            break;
        case TRtfSymbolMeaning::Destination:
            if (groupStart)
                FState.Skip = true;
            break;
        case TRtfSymbolMeaning::Nothing:
            break;
        }
    }

    void ControlWord(QStringView word, bool hasParameter, long long parameter, bool groupStart) {
        if (groupStart && IsDestination(word)) {
            FState.Skip = true;
            return;
        }
        const bool on = !hasParameter || parameter != 0;
        if (word == u"par" || word == u"line") {
            ParagraphMark();
        } else if (word == u"plain") {
            FState.Bold = FState.Italic = FState.Underline = false;
        } else if (word == u"b") {
            FState.Bold = on;
        } else if (word == u"i") {
            FState.Italic = on;
        } else if (word == u"ulnone") {
            FState.Underline = false;
        } else if (word.startsWith(u"ul") && word != u"ulc") {
            FState.Underline = on;
        } else if (word == u"tab") {
            AddText(QLatin1Char('\t'));
        } else if (word == u"u" && hasParameter) {
            const auto unit = static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter);
            AddText(QChar(unit));
            FPendingFallback = FState.FallbackLength;
            return;
        } else if (word == u"uc" && hasParameter) {
            FState.FallbackLength = static_cast<int>(std::clamp(parameter, 0LL, 16LL));
        } else if (word == u"emdash") {
            AddText(QChar(0x2014));
        } else if (word == u"endash") {
            AddText(QChar(0x2013));
        } else if (word == u"bullet") {
            AddText(QChar(0x2022));
        } else if (word == u"lquote") {
            AddText(QChar(0x2018));
        } else if (word == u"rquote") {
            AddText(QChar(0x2019));
        } else if (word == u"ldblquote") {
            AddText(QChar(0x201C));
        } else if (word == u"rdblquote") {
            AddText(QChar(0x201D));
        }
        FPendingFallback = 0;
    }

    void ParagraphMark() {
        FPendingFallback = 0;
        if (FState.Skip)
            return;
        FDocument.emplace_back();
        FEndedWithMark = true;
    }

    void AddText(QChar c) {
        if (FPendingFallback > 0) {
            --FPendingFallback;
            return;
        }
        if (c == QChar(0x2028) || c == QChar(0x2029)) {
            ParagraphMark();
            return;
        }
        // Control characters other than the tab are no text.
        if (FState.Skip || (c.unicode() < 0x20 && c != QLatin1Char('\t')))
            return;
        FEndedWithMark = false;
        TRtfParagraph& paragraph = FDocument.back();
        const TRtfRun format{{}, FState.Bold, FState.Italic, FState.Underline};
        if (paragraph.empty() || !paragraph.back().SameFormat(format))
            paragraph.push_back(format);
        paragraph.back().Text += c;
    }

    TRtfLexer FLexer;
    TState FState;
    std::vector<TState> FStack;
    bool FGroupStart = false;
    int FPendingFallback = 0;
    bool FEndedWithMark = false;
    TRtfDocument FDocument;
};

// The Windows-1252 code of the character, or -1 when the code page lacks it.
int Cp1252Code(QChar c) {
    if (c.unicode() >= 0xA0 && c.unicode() <= 0xFF)
        return c.unicode();
    const auto found = std::ranges::find(Cp1252High, c.unicode());
    return found != Cp1252High.end() && *found != 0xFFFD
               ? 0x80 + static_cast<int>(found - Cp1252High.begin())
               : -1;
}

void WriteText(QString& out, const QString& text) {
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
        case '{':
        case '}':
            out += QLatin1Char('\\');
            out += c;
            break;
        case '<':
            // Keeps a typed "<BR>" from being read as a line separator of the
            // stored form.
            out += QStringLiteral("\\'3c");
            break;
        default:
            if (c.unicode() < 0x20 && c != QLatin1Char('\t')) {
                continue;
            } else if (c.unicode() < 0x80) {
                out += c;
            } else if (const int code = Cp1252Code(c); code >= 0) {
                // Readers that know only the code page, the reading filter
                // first, keep hex escapes and drop Unicode ones.
                out += QStringLiteral("\\'") + QString::number(code, 16).rightJustified(2, u'0');
            } else {
                out += QStringLiteral("\\u") + QString::number(static_cast<qint16>(c.unicode())) +
                       QLatin1Char('?');
            }
        }
    }
}

bool IsLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) ||
           c == QChar(0x2029);
}

// The same document with every line break inside a run made a paragraph mark.
TRtfDocument SplitAtLineBreaks(const TRtfDocument& document) {
    TRtfDocument result;
    for (const TRtfParagraph& paragraph : document) {
        result.emplace_back();
        for (const TRtfRun& run : paragraph) {
            TRtfRun piece = run;
            piece.Text.clear();
            for (qsizetype i = 0; i < run.Text.size(); ++i) {
                const QChar c = run.Text[i];
                if (!IsLineBreak(c)) {
                    piece.Text += c;
                    continue;
                }
                if (c == QLatin1Char('\r') && i + 1 < run.Text.size() &&
                    run.Text[i + 1] == QLatin1Char('\n'))
                    ++i;
                if (!piece.Text.isEmpty())
                    result.back().push_back(piece);
                piece.Text.clear();
                result.emplace_back();
            }
            if (!piece.Text.isEmpty())
                result.back().push_back(piece);
        }
    }
    return result;
}

} // namespace

TRtfDocument ReadPlainText(const QString& text) {
    TRtfDocument document;
    QStringList lines =
        text.split(QRegularExpression(QStringLiteral("\r\n|[\r\n\\x{2028}\\x{2029}]")));
    if (lines.back().isEmpty())
        lines.removeLast();
    for (const QString& line : lines) {
        QString kept;
        for (const QChar c : line)
            if (c.unicode() >= 0x20 || c == QLatin1Char('\t'))
                kept += c;
        document.emplace_back();
        if (!kept.isEmpty())
            document.back().push_back({kept});
    }
    return document;
}

TRtfToken TRtfLexer::Next() {
    TRtfToken token;
    const qsizetype start = FPos;
    const QChar c = FText[FPos++];
    const auto isDelimiter = [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}');
    };
    if (c == QLatin1Char('{')) {
        token.Kind = TRtfTokenKind::GroupOpen;
    } else if (c == QLatin1Char('}')) {
        token.Kind = TRtfTokenKind::GroupClose;
    } else if (c != QLatin1Char('\\')) {
        while (FPos < FText.size() && !isDelimiter(FText[FPos]))
            ++FPos;
    } else if (AtEnd()) {
        token.Kind = TRtfTokenKind::ControlSymbol;
    } else if (IsAsciiLetter(FText[FPos])) {
        token.Kind = TRtfTokenKind::ControlWord;
        while (FPos < FText.size() && IsAsciiLetter(FText[FPos]))
            ++FPos;
        const qsizetype nameEnd = FPos;
        if (FPos + 1 < FText.size() && FText[FPos] == QLatin1Char('-') &&
            IsAsciiDigit(FText[FPos + 1]))
            ++FPos;
        while (FPos < FText.size() && IsAsciiDigit(FText[FPos]))
            ++FPos;
        token.Name = FText.mid(start, nameEnd - start);
        token.Parameter = FText.mid(nameEnd, FPos - nameEnd);
        token.Delimited = FPos < FText.size() && FText[FPos] == QLatin1Char(' ');
        FPos += token.Delimited ? 1 : 0;
    } else if (FText[FPos] == QLatin1Char('\'')) {
        token.Kind = TRtfTokenKind::HexEscape;
        ++FPos;
        const int high = FPos < FText.size() ? HexValue(FText[FPos]) : -1;
        const int low = FPos + 1 < FText.size() ? HexValue(FText[FPos + 1]) : -1;
        if (high >= 0 && low >= 0) {
            token.Code = high * 16 + low;
            FPos += 2;
        }
    } else {
        token.Kind = TRtfTokenKind::ControlSymbol;
        token.Symbol = FText[FPos++];
    }
    token.Source = FText.mid(start, FPos - start);
    return token;
}

long long TRtfToken::Value() const {
    long long value = 0;
    for (const QChar c : Parameter)
        if (IsAsciiDigit(c) && value < 1'000'000'000)
            value = value * 10 + (c.unicode() - '0');
    return Parameter.startsWith(QLatin1Char('-')) ? -value : value;
}

TRtfSymbol RtfSymbol(QChar symbol) {
    using enum TRtfSymbolMeaning;
    // A backslash before a line break is how some writers put "\par". Other
    // symbols, such as the optional hyphen "\-", stand for nothing here.
    static constexpr std::array<std::pair<char16_t, TRtfSymbol>, 8> Symbols = {{
        {u'\\', {Character, u'\\'}},
        {u'{', {Character, u'{'}},
        {u'}', {Character, u'}'}},
        {u'~', {Character, char16_t(0x00A0)}},
        {u'_', {Character, char16_t(0x2011)}},
        {u'\r', {ParagraphMark, {}}},
        {u'\n', {ParagraphMark, {}}},
        {u'*', {Destination, {}}},
    }};
    const auto found =
        std::ranges::find(Symbols, symbol.unicode(), &decltype(Symbols)::value_type::first);
    return found == Symbols.end() ? TRtfSymbol{} : found->second;
}

QChar Cp1252Char(int code) {
    if (code >= 0x80 && code < 0xA0)
        return QChar(Cp1252High[code - 0x80]);
    return QChar(static_cast<char16_t>(code));
}

QString DecodedOrCp1252(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    text.clear();
    for (const char byte : bytes)
        text += Cp1252Char(static_cast<unsigned char>(byte));
    return text;
}

TRtfDocument ReadRtf(const QString& rtf) {
    const QStringView trimmed = QStringView(rtf).trimmed();
    if (!trimmed.startsWith(u"{\\rtf"))
        return ReadPlainText(rtf);
    return TRtfReader(rtf).Read();
}

QString PlainText(const TRtfDocument& document) {
    QStringList paragraphs;
    for (const TRtfParagraph& paragraph : document) {
        QString text;
        for (const TRtfRun& run : paragraph)
            text += run.Text;
        paragraphs << text;
    }
    return paragraphs.join(QStringLiteral("\r\n"));
}

QStringList WriteRtf(const TRtfDocument& document) {
    QStringList lines;
    TRtfRun state;
    QString line = QStringLiteral("{\\rtf1\\ansi\\pard ");
    const auto switchTo = [&line, &state](const TRtfRun& run) {
        if (run.Bold != state.Bold)
            line += run.Bold ? QStringLiteral("\\b ") : QStringLiteral("\\b0 ");
        if (run.Italic != state.Italic)
            line += run.Italic ? QStringLiteral("\\i ") : QStringLiteral("\\i0 ");
        if (run.Underline != state.Underline)
            line += run.Underline ? QStringLiteral("\\ul ") : QStringLiteral("\\ulnone ");
        state = run;
    };
    TRtfDocument paragraphs = SplitAtLineBreaks(document);
    if (paragraphs.empty())
        paragraphs.emplace_back();
    for (const TRtfParagraph& paragraph : paragraphs) {
        for (const TRtfRun& run : paragraph) {
            if (run.Text.isEmpty())
                continue;
            switchTo(run);
            WriteText(line, run.Text);
        }
        lines << line;
        line = QStringLiteral("\\par ");
    }
    lines << QStringLiteral("\\par }");
    return lines;
}
