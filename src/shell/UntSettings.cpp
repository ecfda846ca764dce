#include "shell/UntSettings.h"

#include "reports/UntReportExport.h"
#include "storage/UntIniFile.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/merovan.ini");
}

const QString Configuration = QStringLiteral("Configuration");
const QString RecentSection = QStringLiteral("RecentProjects");
const QString Window = QStringLiteral("Window");

} // namespace

TSettings TSettings::Read() {
    const TIniFile file(SettingsPath());
    TSettings settings;
    settings.ExampleFile = file.ReadString(Configuration, QStringLiteral("ExampleFile"));
    bool isNumber = false;
    const int format =
        file.ReadString(Configuration, QStringLiteral("DefaultOfficeFormat"), QStringLiteral("1"))
            .toInt(&isNumber);
    if (isNumber && format >= 1 && format <= ReportInfo(TReportKind::Text).Extensions.size())
        settings.ReportFormat = format;
    settings.Recent1 = file.ReadString(QStringLiteral("Recent"), QStringLiteral("Recent1"));
    for (int number = 1; number <= MaxRecentProjects; ++number) {
        const QString path = file.ReadString(RecentSection, QStringLiteral("File%1").arg(number));
        if (!path.isEmpty())
            settings.RecentProjects << path;
    }
    settings.LastFolder = file.ReadString(QStringLiteral("Folders"), QStringLiteral("Last"));
    settings.Geometry =
        QByteArray::fromBase64(file.ReadString(Window, QStringLiteral("Geometry")).toLatin1());
    const double ratio = file.ReadString(Window, QStringLiteral("SplitRatio")).toDouble(&isNumber);
    if (isNumber && ratio >= 0.1 && ratio <= 0.9)
        settings.SplitRatio = ratio;
    return settings;
}

void TSettings::Write() const {
    TIniFile file(SettingsPath());
    file.WriteString(Configuration, QStringLiteral("ExampleFile"), ExampleFile);
    file.WriteString(Configuration, QStringLiteral("DefaultOfficeFormat"),
                     QString::number(ReportFormat));
    file.WriteString(QStringLiteral("Recent"), QStringLiteral("Recent1"), Recent1);
    for (int number = 1; number <= MaxRecentProjects; ++number)
        file.WriteString(RecentSection, QStringLiteral("File%1").arg(number),
                         RecentProjects.value(number - 1));
    file.WriteString(QStringLiteral("Folders"), QStringLiteral("Last"), LastFolder);
    file.WriteString(Window, QStringLiteral("Geometry"), QString::fromLatin1(Geometry.toBase64()));
    file.WriteString(Window, QStringLiteral("SplitRatio"), QString::number(SplitRatio));
    file.Save();
}

void TSettings::RememberProject(const QString& path) {
    LastFolder = QFileInfo(path).absolutePath();
    RecentProjects.removeAll(path);
    RecentProjects.prepend(path);
    while (RecentProjects.size() > MaxRecentProjects)
        RecentProjects.removeLast();
}
