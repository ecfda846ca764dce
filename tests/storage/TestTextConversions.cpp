#include "storage/UntUtils.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

const QStringList ArialLines = {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}",
                                "\\pard\\plain\\f0\\fs16 ", "\\par }"};

QString Join(const QStringList& lines) {
    return lines.join(QString());
}

} // namespace

// The worked examples of the conversions, exactly as documented.
TEST(TextConversions, WorkedExamples) {
    struct Example {
        const char* operation;
        std::function<QString()> run;
        QString expected;
    };
    const Example examples[] = {
        {"LinesToStoredText",
         [] {
             return LinesToStoredText({"{\\rtf1 a", "b", "c}"});
         },
         "{\\rtf1 a<BR>b<BR>c}"},
        {"LinesToStoredText of nothing", [] { return LinesToStoredText({}); }, ""},
        {"FilterRtf",
         [] {
             return FilterRtf(
                 "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\plain\\f0"
                 "\\fs16 Hello \\b world\\b0  again\\par }");
         },
         "{\\rtf1\\ansi\\pard Hello \\b world\\b0  again\\par }"},
        {"RtfToTagMarkup of four lines",
         [] {
             return Join(
                 RtfToTagMarkup({"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}",
                                 "\\pard\\plain\\f0\\fs16 Hello \\b world\\b0  and caf\\'e9",
                                 "\\par \\i Second\\i0  line", "\\par }"}));
         },
         QString::fromUtf8("\r\nHello <b> world</b>  and café\r\n<br><i>Second</i>  line\r\n"
                           "<br>\r\n")},
        // Every line is followed by CR LF before the conversion, so the result
        // ends with them.
        {"RtfToTagMarkup of one line",
         [] { return Join(RtfToTagMarkup({"{\\rtf1\\ansi \\b bold\\b0  plain\\par }"})); },
         "<b> bold</b>  plain<br>\r\n"},
        {"StoredTextToLines", [] { return Join(StoredTextToLines(LinesToStoredText(ArialLines))); },
         "{\\rtf1\\ansi\r\\pard \r\\par }"},
        {"FillTemplate", [] { return FillTemplate("Rating #2 #1", "Conflict", "6/9"); },
         "Rating 6/9 Conflict"},
        {"FillTemplate without a second value",
         [] { return FillTemplate("Rating #2 #1", "Conflict", ""); }, "Rating #2 Conflict"},
        // A title or a path may hold "#2"; it is the user's text, not a place.
        {"FillTemplate with markers in the values",
         [] { return FillTemplate("“#1” (#2)", "Plan #2", "/home/u/#1.swot"); },
         "“Plan #2” (/home/u/#1.swot)"},
    };
    for (const Example& example : examples)
        EXPECT_EQ(example.run(), example.expected) << example.operation;
}

TEST(TextConversions, StoredFormAlwaysReadsBackAsOneEntry) {
    EXPECT_EQ(StoredTextToLines(""), QStringList{""});
    EXPECT_EQ(StoredTextToLines(LinesToStoredText(ArialLines)).size(), 1);
    EXPECT_EQ(LinesToStoredText({"only"}), "only");
}

TEST(TextConversions, VisibleText) {
    struct Case {
        QString text;
        bool visible;
    };
    const Case cases[] = {
        {Join(StoredTextToLines(LinesToStoredText(ArialLines))) + "\r\n", false},
        {ArialLines.join("\r\n") + "\r\n", true}, // the raw font table remains
        {"", false},
        {"{\\rtf1\\ansi\\pard \\b \\i0 \\ulnone \\ul \\par }\r\n", false},
        {"{\\rtf1\\ansi\\pard x\\par }", true},
        {"{\\rtf1\\ansi\\pard \\{\\par }", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasVisibleText(c.text), c.visible) << c.text.toStdString();
}

TEST(TextConversions, SplitAtReturns) {
    struct Case {
        QString text;
        QStringList pieces;
    };
    const Case cases[] = {
        {"a\rb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "\nb", "\n"}},
        {"a\r\rb\r", {"a", "", "b"}},
        {"", {}},
        {"\r", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitAtReturns(c.text), c.pieces) << c.text.toStdString();
}

TEST(TextConversions, StreamAndCopyOfLines) {
    EXPECT_EQ(LinesToStream({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(LinesToStream({}), "");
    EXPECT_EQ(CopyLines({"a", "b"}), (QStringList{"a", "b"}));
    EXPECT_EQ(CopyLines({"one\rtwo\nthree\r\nfour"}), (QStringList{"one", "two", "three", "four"}));
    EXPECT_EQ(CopyLines({}), QStringList{});
    EXPECT_EQ(CopyLines({""}), QStringList{""});
}

// RTF that other programs write, and characters that only escapes can carry,
// lose nothing on their way through the filter, the tag markup and plain text.
TEST(TextConversions, NoCharacterOfACommentIsLost) {
    struct Case {
        const char* what;
        QStringList lines;
        QString plain;
        QString markup;
    };
    const Case cases[] = {
        {"paragraph marks right before line breaks",
         {"{\\rtf1\\ansi\\pard First\\par", "Second\\par", "}"},
         "First\r\nSecond",
         "First<br>\r\nSecond<br>\r\n\r\n"},
        {"control symbols",
         {"{\\rtf1\\ansi\\pard a\\\\b \\{c\\} d\\par }"},
         "a\\b {c} d",
         "a\\b {c} d<br>\r\n"},
        {"unicode escapes, with fallbacks of either form",
         {"{\\rtf1\\ansi\\pard Z\\u252?rich \\u8211\\'3f \\u26481?\\u20140? \\u10003? "
          "\\u-10179?\\u-8704?\\par }"},
         QString::fromUtf8("Zürich – 東京 ✓ 😀"),
         QString::fromUtf8("Zürich – 東京 ✓ 😀<br>\r\n")},
        {"hex escapes in Windows-1252",
         {"{\\rtf1\\ansi\\pard 5\\'80 caf\\'e9 \\'93q\\'94\\par }"},
         QString::fromUtf8("5€ café “q”"),
         QString::fromUtf8("5€ café “q”<br>\r\n")},
        {"unicode escapes of markup characters stay characters",
         {"{\\rtf1\\ansi\\pard \\u92?\\u123?x\\u125?\\par }"},
         "\\{x}",
         "\\{x}<br>\r\n"},
        {"a truncated hex escape", {"{\\rtf1\\ansi\\pard caf\\'e"}, "cafe", "cafe\r\n"},
        {"a backslash before a line break, which marks a paragraph",
         {"{\\rtf1\\ansi\\pard end\\"},
         "end",
         "end<br>\n"},
        {"blanks before the document",
         {"", "{\\rtf1\\ansi\\pard kept\\par }"},
         "kept",
         "\r\nkept<br>\r\n"},
        {"an italic switch without a space",
         {"{\\rtf1\\ansi\\pard \\i\\b x\\b0\\i0 \\par }"},
         "x",
         "<i><b> x</b></i> <br>\r\n"},
    };
    for (const Case& c : cases) {
        const QStringList stored = StoredTextToLines(LinesToStoredText(c.lines));
        EXPECT_EQ(RtfToPlainText(c.lines), c.plain) << c.what;
        EXPECT_EQ(RtfToPlainText(stored), c.plain) << c.what << ", stored";
        EXPECT_EQ(Join(RtfToTagMarkup(c.lines)), c.markup) << c.what;
        EXPECT_EQ(FilterRtf(stored.front()), stored.front()) << c.what << ": filtering twice";
    }
}

TEST(TextConversions, TextThatIsNoRtfIsPlainText) {
    EXPECT_EQ(RtfToPlainText({"first line", "second line"}), "first line\r\nsecond line");
    EXPECT_EQ(RtfToPlainText({}), "");
}

TEST(TextConversions, MalformedRtfNeverReadsPastTheEnd) {
    struct Case {
        QString text;
        QString filtered;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\pard kept{\\b lost", "{\\rtf1\\ansi\\pard kept"},
        {"{\\rtf1 end\\", "{\\rtf1 end"},
        {"{\\rtf1 caf\\'e", "{\\rtf1 cafe"},
        {"{\\rtf1 \\'zz", "{\\rtf1 zz"},
        {"{\\rtf1 \\u", "{\\rtf1 "},
        {"{\\rtf1 \\u233", "{\\rtf1 \u00e9"},
        {"{\\rtf1 \\u233\\'", "{\\rtf1 \u00e9"},
        {"{\\rtf1 \\par", "{\\rtf1 \\par"},
        {"{\\rtf1 \\b\\f0x", "{\\rtf1 \\b x"},
        {"{\\rtf1 {\\*\\x \\{ } kept}", "{\\rtf1  kept}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterRtf(c.text), c.filtered) << c.text.toStdString();
        EXPECT_NO_THROW(RtfToTagMarkup({c.text}));
        EXPECT_NO_THROW(RtfToPlainText({c.text}));
    }
}

TEST(TextConversions, TypedTagsActAsTags) {
    EXPECT_EQ(Join(RtfToTagMarkup({"{\\rtf1 \\'3cb>x\\par }"})), "<b>x<br>\r\n");
    EXPECT_EQ(Join(RtfToTagMarkup({"{\\rtf1 <i>x\\par }"})), "<i>x<br>\r\n");
}

// Each control symbol means the same to the reader, to the reader after the
// filter, and to the tag markup.
TEST(TextConversions, ControlSymbolsMeanTheSameEverywhere) {
    struct Case {
        const char* what;
        QString written; // between "a" and "b"
        QString plain;   // what stands between them in plain text
        QString markup;  // and in the tag markup
    };
    const QString nbsp(QChar(0x00A0));
    const QString hyphen(QChar(0x2011));
    const Case cases[] = {
        {"a backslash", "\\\\", "\\", "\\"},
        {"an opening brace", "\\{", "{", "{"},
        {"a closing brace", "\\}", "}", "}"},
        {"a non-breaking space", "\\~", nbsp, nbsp},
        {"a non-breaking hyphen", "\\_", hyphen, hyphen},
        {"a backslash before a carriage return", "\\\r", "\r\n", "<br>"},
        {"a backslash before a line feed", "\\\n", "\r\n", "<br>"},
        {"an optional hyphen", "\\-", "", ""},
        {"a destination mark outside a group's start", "\\*", "", ""},
        {"a group of an unknown destination", "{\\*\\unknown hidden}", "", ""},
        {"a hex escape of a brace", "\\'7b", "{", "{"},
        {"a hex escape of a backslash", "\\'5c", "\\", "\\"},
    };
    for (const Case& c : cases) {
        const QStringList lines = {"{\\rtf1\\ansi\\pard a" + c.written + "b\\par }"};
        const QStringList stored = StoredTextToLines(LinesToStoredText(lines));
        EXPECT_EQ(RtfToPlainText(lines), "a" + c.plain + "b") << c.what;
        EXPECT_EQ(RtfToPlainText(stored), "a" + c.plain + "b") << c.what << ", stored";
        EXPECT_EQ(Join(RtfToTagMarkup(lines)), "a" + c.markup + "b<br>\r\n") << c.what;
        EXPECT_EQ(Join(RtfToTagMarkup(stored)), "a" + c.markup + "b<br>\r\n")
            << c.what << ", stored";
    }
}

// A comment of a megabyte, most of it escapes, converts in one piece.
TEST(TextConversions, LongCommentMakesTagMarkup) {
    const int repeats = 40'000;
    const QString written = "x\\'3cb>\\'e9\\{\\}\\\\ \\b y\\b0 \\u8364?";
    const QString marked = QString::fromUtf8("x<b>é{}\\ <b> y</b> €");
    const QStringList lines = {"{\\rtf1\\ansi\\pard " + written.repeated(repeats) + "\\par }"};
    ASSERT_GT(lines.front().size(), 1'000'000);
    EXPECT_EQ(Join(RtfToTagMarkup(lines)), marked.repeated(repeats) + "<br>\r\n");
}

// The document's own words leave the markup one after the other, with the
// digits and the space after their first occurrence only.
TEST(TextConversions, TagMarkupDropsTheDocumentsWords) {
    struct Case {
        QString line;
        QString markup;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\pard one\\par \\pard two\\par }", "one<br> two<br>\r\n"},
        {"{\\rtf1\\ansi\\pard 2024\\par }", "2024<br>\r\n"},
        {"{\\rtf1\\ansi\\pard\\b 1\\b0\\par }", "<b> 1</b><br>\r\n"},
        // Once "\rtf1" and its space are gone, the digits follow the brace.
        {"{\\rtf1 12 x\\par }", "x<br>\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Join(RtfToTagMarkup({c.line})), c.markup) << c.line.toStdString();
}

// Formatting words hide their number only where they occur first, as the
// markup's words do.
TEST(TextConversions, NumbersOfFormattingWords) {
    struct Case {
        QString text;
        bool visible;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\pard \\b0 \\par }\r\n", false},
        {"{\\rtf1\\ansi\\pard \\b12\\par }\r\n", false},
        {"{\\rtf1\\ansi\\pard \\b0 \\b0 \\par }\r\n", true},
        {"{\\rtf1\\ansi\\pard \\i0 \\i0 \\par }\r\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasVisibleText(c.text), c.visible) << c.text.toStdString();
}
