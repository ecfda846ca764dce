#include "RtfDescribe.h"
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TRtfRun Plain(const char* text) {
    return {QString::fromUtf8(text)};
}
TRtfRun Bold(const char* text) {
    return {QString::fromUtf8(text), true};
}
TRtfRun Italic(const char* text) {
    return {QString::fromUtf8(text), false, true};
}
TRtfRun Styled(const char* text, bool bold, bool italic, bool underline) {
    return {QString::fromUtf8(text), bold, italic, underline};
}

} // namespace

// What the editor's writer emits survives the project file's stored form and
// reading filter, and reads back as the same paragraphs and runs.
TEST(Rtf, WrittenCommentsSurviveStorage) {
    struct Case {
        const char* what;
        TRtfDocument document;
        QString plain;
    };
    const Case cases[] = {
        {"styles, tabs, backslashes and braces",
         {{Plain("Plain "), Bold("bold"), Plain(" and "), Styled("all three", true, true, true)},
          {Plain("second\tparagraph with \\ and {braces}")}},
         "Plain bold and all three\r\nsecond\tparagraph with \\ and {braces}"},
        {"any Unicode character",
         {{Plain("Zürich – 東京 ✓ 😀"), Italic(" café")}},
         QString::fromUtf8("Zürich – 東京 ✓ 😀 café")},
        {"empty paragraphs", {{}, {Plain("x")}, {}}, "\r\nx\r\n"},
        {"a style running across paragraphs", {{Bold("a")}, {Bold("b")}}, "a\r\nb"},
        {"typed markup",
         {{Plain("a<BR>b <b>c</b> \\par {\\rtf1}")}},
         "a<BR>b <b>c</b> \\par {\\rtf1}"},
        {"an empty document", {{}}, ""},
    };
    const QRegularExpression wordAtLineEnd(QStringLiteral(R"((^|[^\\])(\\\\)*\\[a-z]+-?\d*$)"));
    for (const Case& c : cases) {
        const QStringList lines = WriteRtf(c.document);
        for (const QString& line : lines)
            EXPECT_FALSE(wordAtLineEnd.match(line).hasMatch())
                << c.what << ": a control word ends the line " << line.toStdString();

        const QStringList stored = StoredTextToLines(LinesToStoredText(lines));
        EXPECT_EQ(Describe(ReadRtf(stored.front())), Describe(c.document)) << c.what;
        EXPECT_EQ(Describe(ReadRtf(LinesToStream(lines))), Describe(c.document)) << c.what;
        EXPECT_EQ(RtfToPlainText(stored), c.plain) << c.what;
        EXPECT_EQ(RtfToPlainText(CopyLines(lines)), c.plain) << c.what;
    }
}

TEST(Rtf, WrittenCommentsMakeTagMarkup) {
    const QStringList lines = WriteRtf({{Plain("Zürich "), Bold("– 東京")}, {Italic("✓ <x>")}});
    const QString markup = RtfToTagMarkup(StoredTextToLines(LinesToStoredText(lines))).front();
    EXPECT_EQ(markup, QString::fromUtf8("Zürich <b> – 東京\r<br></b> <i>✓ <x>\r<br>\r\n"));
    EXPECT_TRUE(HasVisibleText(LinesToStream(lines)));
    EXPECT_FALSE(HasVisibleText(LinesToStream(WriteRtf({{}}))));
}

// RTF as other programs write it.
TEST(Rtf, ReadsForeignRtf) {
    struct Case {
        const char* what;
        QString rtf;
        TRtfDocument document;
    };
    const Case cases[] = {
        {"a word processor's document",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
         "Calibri;}}\r\n"
         "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
         "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang12 Caf\\'e9 \\b cr\\u232?me\\b0\\par\r\n"
         "Second \\i line\\i0\\par\r\n\\b\\plain Third\\par\r\n}\r\n",
         {{Plain("Café "), Bold("crème")}, {Plain("Second "), Italic("line")}, {Plain("Third")}}},
        {"nested groups restore the format",
         "{\\rtf1 a{\\b b{\\i c}}d}",
         {{Plain("a"), Bold("b"), Styled("c", true, true, false), Plain("d")}}},
        {"underline words, tabs and special characters",
         "{\\rtf1 \\ul u\\ul0 n\\uldb d\\ulnone\\tab x\\~y\\emdash\\ldblquote q\\rdblquote}",
         {{Styled("u", false, false, true), Plain("n"), Styled("d", false, false, true),
           Plain("\tx\u00a0y—“q”")}}},
        {"a colour table, a picture and a field instruction",
         "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\pict\\pngblip 89504e47}"
         "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}} end\\par }",
         {{Plain("link end")}}},
        {"a line break and a last paragraph without its mark",
         "{\\rtf1 one\\line two\\par three}",
         {{Plain("one")}, {Plain("two")}, {Plain("three")}}},
        {"plain text", "first\r\nsecond\r\n", {{Plain("first")}, {Plain("second")}}},
        {"\\plain ends every format, in every order",
         "{\\rtf1 \\b\\i\\ul all\\plain none \\ul u\\plain n \\i i\\plain n}",
         {{Styled("all", true, true, true), Plain("none "), Styled("u", false, false, true),
           Plain("n "), Italic("i"), Plain("n")}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(ReadRtf(c.rtf)), Describe(c.document)) << c.what;
}

TEST(Rtf, ForeignRtfKeepsItsTextThroughTheFilter) {
    const QStringList lines = {
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Calibri;}}{\\*\\generator Riched20}",
        "\\pard\\f0\\fs22 Caf\\'e9 \\b cr\\u232?me\\b0\\par", "Second \\{line\\}\\par",
        "\\plain Third\\par", "}"};
    const QString plain = QString::fromUtf8("Café crème\r\nSecond {line}\r\nThird");
    EXPECT_EQ(RtfToPlainText(lines), plain);
    EXPECT_EQ(RtfToPlainText(StoredTextToLines(LinesToStoredText(lines))), plain);
}

TEST(Rtf, Windows1252) {
    EXPECT_EQ(Cp1252Char(0xE9), QChar(0xE9));
    EXPECT_EQ(Cp1252Char(0x80), QChar(0x20AC));
    EXPECT_EQ(Cp1252Char(0x9C), QChar(0x0153));
    EXPECT_EQ(Cp1252Char(0x41), QChar('A'));
}

namespace {

// The reading filter of the first program, which knows only the code page:
// it keeps the kept words, hex escapes with what follows them up to a
// delimiter, and text; any other control word goes with what follows it up
// to a delimiter, and groups inside the document go whole.
QString CodePageFilter(const QString& text) {
    static const QStringList kept = {"\\b0",   "\\b",   "\\i0",  "\\i",    "\\ulnone", "\\ul",
                                     "\\pard", "\\par", "\\tag", "\\rtf1", "\\ansi"};
    const auto delimiter = [](QChar c) {
        return QStringLiteral(" \\{}").contains(c);
    };
    QString out;
    for (qsizetype at = 0; at < text.size();) {
        if (text[at] == '{' && !out.isEmpty()) {
            for (int depth = 0; at < text.size();) {
                depth += text[at] == '{' ? 1 : text[at] == '}' ? -1 : 0;
                ++at;
                if (depth == 0)
                    break;
            }
            continue;
        }
        if (text[at] != '\\') {
            out += text[at++];
            continue;
        }
        const auto word = std::ranges::find_if(kept, [&](const QString& w) {
            return QStringView(text).mid(at).startsWith(w) &&
                   (at + w.size() >= text.size() || delimiter(text[at + w.size()]));
        });
        qsizetype end = at + 1;
        if (word != kept.end()) {
            end = at + word->size();
        } else {
            while (end < text.size() && !delimiter(text[end]))
                ++end;
            if (!text.mid(at).startsWith("\\'")) {
                at = end;
                continue;
            }
        }
        out += text.mid(at, end - at);
        at = end;
    }
    return out;
}

} // namespace

// Every character of the code page is written as a hex escape, which the
// first program's filter keeps; only characters beyond it need "\uN".
TEST(Rtf, CommentsWeWriteKeepTheirAccentsForReadersOfTheCodePage) {
    const char* const texts[] = {"café culture", "Crème brûlée – “très” €100 naïve",
                                 "Œuvre Š ž Ÿ ‰ ™ ¿ ÿ", "«cité» ½ ©"};
    for (const char* text : texts) {
        const QString expected = QString::fromUtf8(text);
        const QStringList lines = WriteRtf({{Plain(text)}, {Bold(text)}});
        EXPECT_FALSE(lines.join("").contains("\\u")) << lines.join("").toStdString();
        const QString filtered = CodePageFilter(LinesToStoredText(lines).replace("<BR>", "\r"));
        EXPECT_EQ(PlainText(ReadRtf(filtered)), expected + "\r\n" + expected) << text;
    }
    const QStringList beyond = WriteRtf({{Plain("東京 ✓")}});
    EXPECT_EQ(beyond.front(), "{\\rtf1\\ansi\\pard \\u26481?\\u20140? \\u10003?");
    EXPECT_EQ(PlainText(ReadRtf(LinesToStream(beyond))), QString::fromUtf8("東京 ✓"));
}
