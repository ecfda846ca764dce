#pragma once

#include "model/UntClassProject.h"
#include "storage/UntDataModule.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace pugi {
class xml_document;
} // namespace pugi

// Bounds of the "content.xml" document of a project file: its inflated size,
// its number of tags and its depth. A file beyond them is refused.
inline constexpr qint64 MaxContentSize = 64 * 1024 * 1024;
inline constexpr qint64 MaxContentTags = 2'000'000;
inline constexpr int MaxContentDepth = 256;

// Reads the project file at the path; raises EStorageError with a message for
// the user when the file is no project or is damaged.
std::unique_ptr<TProject> ReadProject(const QString& path);

// The project of an archive held in memory, and of a "content.xml" document.
std::unique_ptr<TProject> ReadProjectArchive(const QByteArray& archive);
std::unique_ptr<TProject> ReadProjectContent(const QByteArray& content);

// Writes the project to the path, replacing the file there only once the new
// one is complete, or in place where the folder takes no new file (the
// recovery copy then covers a cut); raises EStorageError when it cannot, and
// when the reader would refuse what it would write.
TWriteWay WriteProject(const TProject& project, const QString& path);

// The bytes of the project file: a ZIP archive of the "content.xml" document
// and then the further entries. Raises EStorageError when the reader would
// refuse the document.
QByteArray ProjectArchive(const TProject& project, std::vector<TArchiveEntry> further = {});

// The "content.xml" document of the project.
QByteArray ProjectContent(const TProject& project);
// The same, checked: raises EStorageError when the reader would refuse it.
QByteArray StorableContent(const TProject& project);

// "(line L, column C)" of a byte offset of a text.
QString TextLocation(const QByteArray& text, qsizetype offset);

// The text for a document we write, without the characters XML forbids
// (control characters other than tab, line feed and carriage return, U+FFFE
// and U+FFFF), which no reader would accept; and the same as UTF-8.
QString XmlText(const QString& text);
QByteArray XmlUtf8(const QString& text);

// The document as UTF-8 bytes, written with pugixml's format flags, without
// indentation.
QByteArray XmlBytes(const pugi::xml_document& document, unsigned int flags);
