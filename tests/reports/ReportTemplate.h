#pragma once

#include "QtPrinters.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <pugixml.hpp>

// A content template of the reports, as installed with the program.
inline pugi::xml_document LoadReportTemplate(const char* relativePath) {
    QFile file(QStringLiteral(MEROVAN_RESOURCES_DIR "/exports/") + QLatin1String(relativePath));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath;
    const QByteArray bytes = file.readAll();
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size())));
    return document;
}
