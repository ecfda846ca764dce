// Settings files as other programs wrote them keep every byte we do not change.
#include "storage/UntIniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A file written on Windows: a byte-order mark, CR LF, Windows-1252 bytes in
// a value and in a section we do not know. What the program writes as it
// was leaves the line alone; what it changes or adds ends as the file's
// lines do.
TEST(IniFile, AWindowsFileKeepsEveryByteWeDoNotChange) {
    const QByteArray windows = "\xEF\xBB\xBF[Recent]\r\n"
                               "Recent1=C:\\Users\\Andr\xE9\\Caf\xE9.swot\r\n"
                               "\r\n"
                               "[Pr\xE9"
                               "f\xE9rences]\r\n"
                               "Th\xE8me=sombre \x80\r\n"
                               "[Configuration]\r\n"
                               "DefaultOfficeFormat=2\r\n";
    struct Case {
        const char* what;
        QByteArray before;
        std::function<void(TIniFile&)> change;
        QByteArray after;
    };
    const Case cases[] = {
        {"values written as they were", windows,
         [](TIniFile& file) {
             file.WriteString("Recent", "Recent1",
                              QString::fromUtf8("C:\\Users\\André\\Café.swot"));
             file.WriteString("Configuration", "DefaultOfficeFormat", "2");
         },
         windows},
        {"a value changed, a key and a section added", windows,
         [](TIniFile& file) {
             file.WriteString("Configuration", "DefaultOfficeFormat", "3");
             file.WriteString("Recent", "Recent2", "x");
             file.WriteString("Window", "SplitRatio", "0.5");
         },
         "\xEF\xBB\xBF[Recent]\r\n"
         "Recent1=C:\\Users\\Andr\xE9\\Caf\xE9.swot\r\n"
         "Recent2=x\r\n"
         "\r\n"
         "[Pr\xE9"
         "f\xE9rences]\r\n"
         "Th\xE8me=sombre \x80\r\n"
         "[Configuration]\r\n"
         "DefaultOfficeFormat=3\r\n"
         "[Window]\r\n"
         "SplitRatio=0.5\r\n"},
        {"a last line without its line end", "[Configuration]\r\nDefaultOfficeFormat=2",
         [](TIniFile& file) { file.WriteString("Folders", "Last", "/home"); },
         "[Configuration]\r\nDefaultOfficeFormat=2\r\n[Folders]\r\nLast=/home\r\n"},
        {"line feeds alone", "[Configuration]\nDefaultOfficeFormat=2",
         [](TIniFile& file) { file.WriteString("Configuration", "ExampleFile", "é"); },
         "[Configuration]\nDefaultOfficeFormat=2\nExampleFile=\xC3\xA9\n"},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath("merovan.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
        written.write(c.before);
        written.close();
        TIniFile file(path);
        c.change(file);
        file.Save();
        EXPECT_EQ(ReadAll(path).toStdString(), c.after.toStdString());
    }
    TIniFile file(path);
    EXPECT_EQ(file.ReadString("Configuration", "ExampleFile"), QString::fromUtf8("é"));

    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
    written.write(windows);
    written.close();
    const TIniFile read(path);
    EXPECT_EQ(read.ReadString("recent", "recent1"),
              QString::fromUtf8("C:\\Users\\André\\Café.swot"))
        << "a line that is no UTF-8 reads as Windows-1252";
    EXPECT_EQ(read.ReadString(QString::fromUtf8("Préférences"), QString::fromUtf8("Thème")),
              QString::fromUtf8("sombre €"));
}
