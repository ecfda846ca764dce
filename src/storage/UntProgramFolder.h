#pragma once

#include <QString>

// The folder of the files installed with the program ("templates/",
// "exports/", "help/", "licence.htm"), ending with "/": beside the program
// when it runs from its build folder, "share/merovan/" beside its "bin/"
// folder once installed. MEROVAN_DATA_DIR names another one.
QString ProgramFolder();

// The reference project that New starts from.
QString ReferenceTemplate();
