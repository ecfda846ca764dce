#pragma once

#include "storage/UntErrors.h"

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
// export filter, through merovan-convert. Each thread that converts has a
// bridge of its own, as a process belongs to the thread that started it: the
// bridge and its suite start at the thread's first conversion and serve every
// later one of that thread. The application's thread's bridge ends with the
// application object; any other thread ends its own with StopConverter.
// Raises EOfficeMissing when the suite is not installed, EConversionError for
// every other failure.
// whileWaiting runs now and then while the suite works, on the calling
// thread; what it throws stops the conversion, and the suite, and passes on.
// begun runs once the suite has started and begins to convert, so that
// whoever waits can tell the conversion itself from the suite's start-up.
void ConvertDocument(const QString& source, const QString& target, const QString& filter,
                     const std::function<void()>& whileWaiting = {},
                     const std::function<void()>& begun = {});

// Ends the calling thread's bridge and its suite, if it has one; a thread that
// converted calls it before it ends, or the suite would end only with the
// program.
void StopConverter();

// The bridge program: MEROVAN_CONVERT, or merovan-convert beside the program
// or in its libexec folder.
QString ConverterPath();
