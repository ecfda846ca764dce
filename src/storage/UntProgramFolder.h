#pragma once

#include <QString>

// The folder of the files installed with the program ("templates/",
// "exports/", "help/", "licence.htm"), ending with "/": beside the program
// when it runs from its build folder, "share/merovan/" beside its "bin/"
// folder once installed. MEROVAN_DATA_DIR names another one.
QString ProgramFolder();

// The full path of an installed file in the interface's language: for a
// French interface "DIR/fr/name" in place of "DIR/name" (or "fr/name" for a
// file at the top), when it exists; the English file otherwise. A folder
// named with a final "/" is looked up alike.
QString LocalizedFile(const QString& relative);

// The reference project that New starts from, in the interface's language.
QString ReferenceTemplate();
