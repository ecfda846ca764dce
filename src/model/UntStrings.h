#pragma once

#include "model/UntStringIds.h"

#include <QString>

// The program's numbered string table. Every text shown to the user is looked
// up here by its id; a text of several lines comes back with its lines joined
// by "\n".
QString LoadStr(int id);

// Whether the table holds the id; asking LoadStr for an id it lacks is a
// programming error that it reports as a critical message.
bool HasStr(int id);

// The product name that "#1" stands for in the texts of the table.
inline constexpr const char* ProductName = "Merovan";
