#include "UntStrings.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(StringTable, MultiLineTextsKeepTheirLines) {
    struct Case {
        int id;
        QStringList lines;
    };
    const Case cases[] = {
        {250,
         {"Take care, this file already exists", "Do you wish to replace it?", "",
          "NB: if the document is in use,", "please, close it before proceeding."}},
        {251, {"The report is being generated.", "Please wait"}},
        {252, {"Exporting to the selected format.", "Please wait"}},
        {254,
         {"File export to the  MS Word and PDF formats", "requires OpenOffice.org to be installed",
          "", "Please see Help to install OpenOffice.org."}},
        {255,
         {"File export to the  MS Excel and PDF formats", "requires OpenOffice.org to be installed",
          "", "Please see Help to install OpenOffice.org."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadStr(c.id).split('\n'), c.lines) << "id " << c.id;
}

TEST(StringTable, KeepsTypographicCharacters) {
    EXPECT_EQ(LoadStr(2810),
              QString::fromUtf8("Strategic “SWOT” analysis – Conclusions by coupling"));
}

// Every id that the program's sources ask for by number must be in the table.
TEST(StringTable, HoldsEveryIdTheSourcesAskFor) {
    const QRegularExpression call(QStringLiteral(R"((?:LoadStr|ProductStr)\((\d+)\))"));
    int calls = 0;
    QDirIterator files(QStringLiteral(MEROVAN_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QString source = QString::fromUtf8(file.readAll());
        for (const auto& match : call.globalMatch(source)) {
            ++calls;
            EXPECT_TRUE(HasStr(match.captured(1).toInt()))
                << file.fileName().toStdString() << " asks for id "
                << match.captured(1).toStdString();
        }
    }
    EXPECT_GT(calls, 0) << "no lookups found under " << MEROVAN_SOURCE_DIR;
}

TEST(StringTable, ReportsAMissingId) {
    static QStringList reported;
    reported.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg)
                reported << message;
        });
    const QString text = LoadStr(99999);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(HasStr(99999));
    EXPECT_EQ(text, "<99999>");
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.front().contains("99999"));
}

TEST(StringTable, FrenchLocaleReadsTheFrenchTable) {
    const QLocale english;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(LoadStr(1070), QString::fromUtf8("Enregistrer les modifications ?"));
    EXPECT_EQ(LoadStr(2804), "Nos forces");
    EXPECT_EQ(LoadStr(151), "N") << "shortcuts stay";
    QLocale::setDefault(english);
    EXPECT_EQ(LoadStr(1070), "Save changes?");
}
