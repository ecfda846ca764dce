#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

// A conversion by the office suite that failed, the suite's absence included.
class EConversionError : public std::runtime_error {
public:
    explicit EConversionError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
    QString Reason() const { return QString::fromStdString(what()); }
};

// Has the office suite store the package at source as target with the
// export filter, through merovan-convert. Raises EConversionError for every
// failure. whileWaiting runs now and then while the suite works, so that a
// window can repaint.
void ConvertDocument(const QString& source, const QString& target, const QString& filter,
                     const std::function<void()>& whileWaiting = {});

// The bridge program: MEROVAN_CONVERT, or merovan-convert beside the program
// or in its libexec folder.
QString ConverterPath();
