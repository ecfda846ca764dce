#pragma once

#include "UntClassProject.h"

#include <pugixml.hpp>

// The table report: appends to the office body of the loaded Calc content
// template the matrix sheet and, when the project has conclusions, the
// synthesis sheet.
void BuildTableReport(pugi::xml_document& document, const TProject& project);
