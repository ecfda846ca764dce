#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the program keeps between runs in merovan.ini of the user's
// configuration folder: the three values of the [Configuration] and [Recent]
// sections under their long-standing keys, then sections of our own.
struct TSettings {
    static constexpr int MaxRecentProjects = 8;

    QString ExampleFile;
    // The file type last chosen for a report, 1-based.
    int ReportFormat = 1;
    QString Recent1;
    // The projects last opened or saved, the latest first.
    QStringList RecentProjects;
    // The folder of the file last chosen.
    QString LastFolder;
    QByteArray Geometry;
    // The share of the workspace's width that its view side takes.
    double SplitRatio = 0.66;

    // A damaged value counts as its default: start-up goes on.
    static TSettings Read();
    // Keeps every other key of the file as it is; raises EStorageError when
    // the file cannot be written.
    void Write() const;

    // The project leads the recent ones, and its folder is the last one.
    void RememberProject(const QString& path);
};
