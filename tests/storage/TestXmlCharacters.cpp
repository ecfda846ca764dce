// Characters XML forbids never reach a document we write, whatever brings
// them: a character reference or a raw byte in a project file, a name typed
// with a control character, an RTF escape of a comment. Documents declared in
// another encoding are decoded from it, or refused.
#include "ProjectBuilder.h"
#include "reports/UntReportExport.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"

#include <gtest/gtest.h>

namespace {

QByteArray Content(const QByteArray& declaration, const QByteArray& title,
                   const QByteArray& factor = "F") {
    return declaration + "<document-content class=\"swot\"><swot name=\"" + title +
           "\"><labels><label1>" + factor + "</label1></labels><swot-items><swot-item name=\"" +
           factor + "\" mark=\"2\" swot-type=\"1\"><comments>{\\rtf1 " + factor +
           "\\par }</comments></swot-item></swot-items></swot></document-content>";
}

// Whether the document holds a character XML forbids, raw or as a reference.
bool HoldsForbidden(const QByteArray& document) {
    for (const char c : document)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return true;
    for (int code = 0; code < 0x20; ++code)
        if (code != '\t' && code != '\n' && code != '\r' &&
            (document.contains("&#" + QByteArray::number(code) + ";") ||
             document.contains("&#x" + QByteArray::number(code, 16) + ";")))
            return true;
    return document.contains("\xEF\xBF\xBE") || document.contains("\xEF\xBF\xBF");
}

} // namespace

TEST(XmlCharacters, ForbiddenCharactersOfAFileAreDroppedOnReading) {
    struct Case {
        QByteArray written;
        QString read;
    };
    const Case cases[] = {
        {"Tab&#9;and&#1;one", "Tab\tandone"},  {"cut&#0;not", "cutnot"},
        {"hex&#x1F;&#x0;&#X41;", "hex&#X41;"}, // an upper-case X is no reference at all
        {"raw\x01\x08\x0B byte", "raw byte"},  {"kept&#10;&#13;&#x41;&#233;", "kept\n\rA\u00E9"},
    };
    for (const Case& c : cases) {
        const auto project = ReadProjectContent(Content({}, c.written, c.written));
        EXPECT_EQ(project->Title, c.read) << c.written.toStdString();
        EXPECT_EQ(project->Items.at(0)->Name, c.read) << c.written.toStdString();
        EXPECT_EQ(project->Labels.Value(1), c.read) << c.written.toStdString();
    }
}

TEST(XmlCharacters, NoneReachesAProjectOrAReportWeWrite) {
    const QString name = QStringLiteral("A\u0001B") + QChar(0) + QStringLiteral("C\uFFFF\tD");
    auto project = MakeProject({{"S", stStrength, 3}, {"O", stOpportunity, 2}}, {{"G", {{0, 1}}}});
    project->Title = name;
    project->Items[0]->Name = name;
    project->Labels.SetValue(4, name);
    // An escape of the comment decodes to a control character.
    project->Items[1]->Comments = {"{\\rtf1\\ansi x\\'01y\\u0 z\\par }"};
    project->Guidelines[0]->Name = name;

    const QByteArray content = ProjectContent(*project);
    EXPECT_FALSE(HoldsForbidden(content));
    const auto read = ReadProjectContent(content);
    EXPECT_EQ(read->Title, "ABC\tD") << "the text after a NUL stays";
    EXPECT_EQ(read->Items[0]->Name, "ABC\tD");
    // Reading filters the comment's RTF once; from then on nothing changes.
    const QByteArray again = ProjectContent(*read);
    EXPECT_FALSE(HoldsForbidden(again));
    EXPECT_EQ(ProjectContent(*ReadProjectContent(again)), again);

    for (const TReportKind kind : {TReportKind::Text, TReportKind::Table}) {
        const QByteArray report = ExtractEntryFromMemory(
            BuildReportPackage(kind, *project, ProgramFolder()), "content.xml", 1 << 24);
        EXPECT_FALSE(HoldsForbidden(report)) << static_cast<int>(kind);
        EXPECT_TRUE(report.contains("ABC\tD")) << static_cast<int>(kind);
    }
}

TEST(XmlCharacters, DeclaredEncodingsAreDecodedOrRefused) {
    struct Case {
        QByteArray declaration;
        QByteArray title;
        QString read; // empty: refused with the message
        QString message;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
         "\xC9t\xE9 caf\xE9 \x80",
         QString::fromUtf8("Été café €"),
         {}},
        {"<?xml version='1.0' encoding='ISO-8859-15'?>", "\xA4 \xE9", QString::fromUtf8("€ é"), {}},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "\xE9", QString::fromUtf8("é"), {}},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
         "\xC3\xA9t\xC3\xA9",
         QString::fromUtf8("été"),
         {}},
        {"", "\xC3\xA9", QString::fromUtf8("é"), {}},
        {"<?xml version=\"1.0\" encoding=\"x-no-such-encoding\"?>",
         "x",
         {},
         QString::fromUtf8("The “content.xml” document of the project is declared in the "
                           "encoding “x-no-such-encoding”, which cannot be read.")},
    };
    for (const Case& c : cases) {
        try {
            const auto project = ReadProjectContent(Content(c.declaration, c.title));
            EXPECT_EQ(project->Title, c.read) << c.declaration.toStdString();
        } catch (const EStorageError& error) {
            EXPECT_EQ(error.Message(), c.message) << c.declaration.toStdString();
        }
    }
}
