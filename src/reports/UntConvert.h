#pragma once

#include "UntErrors.h"

#include <QString>
#include <functional>

// A conversion by the office suite that failed, the suite's absence included.
// Its message is the reason the suite or the bridge gave.
class EConversionError : public EMerovanError {
public:
    using EMerovanError::EMerovanError;
};

// The office suite is not installed; the message names the packages to install.
class EOfficeMissing : public EConversionError {
public:
    using EConversionError::EConversionError;
};

// Has the office suite store the package at source as target with the
// export filter, through merovan-convert. The bridge and its suite start at
// the first conversion and serve every later one of the run; they end with
// the application object. Raises EOfficeMissing when the suite is not
// installed, EConversionError for every other failure.
// whileWaiting runs now and then while the suite works, so that a window can
// repaint; what it throws stops the conversion, and the suite, and passes on.
void ConvertDocument(const QString& source, const QString& target, const QString& filter,
                     const std::function<void()>& whileWaiting = {});

// The bridge program: MEROVAN_CONVERT, or merovan-convert beside the program
// or in its libexec folder.
QString ConverterPath();
