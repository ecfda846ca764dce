#pragma once

#include "model/UntClassProject.h"

#include <QByteArray>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>

// A whole project as JSON, in the form docs/json-format.md describes.

// The release of the form this program writes, and the newest it reads.
inline constexpr int JsonFormatVersion = 1;

// The word of a factor type in data files: "strength", "weakness",
// "opportunity", "threat"; none for any other code.
const char* TypeWord(std::int32_t swotType);

// Raises EStorageError naming the factor at the position in Items when its
// type or importance is none the data forms can tell, as in damaged files.
void CheckExportable(const TTOWSItem& item, std::size_t position);

// The project as JSON; raises EStorageError as CheckExportable.
QByteArray ProjectJson(const TProject& project);

// The project of a JSON document. Raises EStorageError naming the first
// place that is not of the form or that a project file could not hold, or
// a member given twice. What is read but deserves a word (a coupling that
// does not join an internal factor to an external one, kept as project files
// keep it) goes to the remarks, each naming its place.
std::unique_ptr<TProject> ReadProjectJson(const QByteArray& json, QStringList* remarks = nullptr);
