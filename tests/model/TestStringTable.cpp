#include "model/UntStrings.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
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

// Every id the program names must be in both tables; the bases of computed
// ids are no texts themselves.
TEST(StringTable, HoldsEveryNamedId) {
    QFile header(QStringLiteral(MEROVAN_SOURCE_DIR "/model/UntStringIds.h"));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QRegularExpression entry(QStringLiteral(R"((Str\w+) = (\d+),)"));
    const QString source = QString::fromUtf8(header.readAll());
    QStringList names;
    const QLocale kept;
    for (const QLocale& locale : {QLocale(QLocale::English), QLocale(QLocale::French)}) {
        QLocale::setDefault(locale);
        for (const auto& match : entry.globalMatch(source)) {
            names << match.captured(1);
            if (match.captured(1).endsWith("Base"))
                continue;
            EXPECT_TRUE(HasStr(match.captured(2).toInt()))
                << locale.name().toStdString() << " lacks " << match.captured(1).toStdString();
        }
    }
    QLocale::setDefault(kept);
    EXPECT_TRUE(names.contains("StrNoCoupling")) << "the ids were not found";
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
    EXPECT_EQ(LoadStr(1070), QString::fromUtf8("Enregistrer les modifications\u00a0?"));
    EXPECT_EQ(LoadStr(2804), "Nos forces");
    EXPECT_EQ(LoadStr(151), "N") << "shortcuts stay";
    QLocale::setDefault(english);
    EXPECT_EQ(LoadStr(1070), "Save changes?");
}

// French sets a no-break space before : ; ? ! » and after «, so that a line
// never breaks between a word and its mark.
TEST(StringTable, FrenchPunctuationNeverStandsAloneOnALine) {
    QFile table(QStringLiteral(MEROVAN_SOURCE_DIR "/../resources/strings/strings.fr.json"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QJsonObject texts = QJsonDocument::fromJson(table.readAll()).object();
    ASSERT_FALSE(texts.isEmpty());
    const QRegularExpression loose(QStringLiteral("[ \\t\\n][:;?!»]|«[ \\t\\n]"));
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        const QJsonValue value = it.value();
        QStringList lines;
        if (value.isArray())
            for (const QJsonValue line : value.toArray())
                lines << line.toString();
        else
            lines << value.toString();
        for (const QString& line : lines)
            EXPECT_FALSE(loose.match(line).hasMatch())
                << it.key().toStdString() << ": " << line.toStdString();
    }
}
