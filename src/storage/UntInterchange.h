#pragma once

#include "model/UntClassProject.h"

#include <QString>
#include <QStringList>
#include <memory>

// Projects in and out of the data forms other programs use, chosen by the
// extension of the file: the whole project as JSON, its factors as CSV.
enum class TInterchangeFormat { None, Json, Csv };

TInterchangeFormat InterchangeFormatOf(const QString& path);

// The project of a JSON or CSV file: the JSON's whole, or a new project
// holding the CSV's factors. Raises EStorageError with a message for the
// user, and reads nothing partly. What the user should hear of, though it
// was read, goes to the remarks.
std::unique_ptr<TProject> ImportProject(const QString& path, QStringList* remarks = nullptr);

// Writes the project to a JSON or CSV file, replacing the file there only
// once the new one is complete; raises EStorageError when it cannot.
void ExportProject(const TProject& project, const QString& path);
