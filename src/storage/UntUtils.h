#pragma once

#include <QString>

// Replaces every "#1" in the template with the first value, then, only when
// the second value is not empty, every "#2" with the second value.
QString FillTemplate(const QString& pattern, const QString& first, const QString& second = {});

// A string-table text with "#1" filled with the product name.
QString ProductStr(int id);
