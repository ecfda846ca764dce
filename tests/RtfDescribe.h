#pragma once

#include "storage/UntRtf.h"

#include <string>

// A document as "[(text B I U)(text)][...]": one bracket per paragraph, one
// parenthesis per run with its styles.
inline std::string Describe(const TRtfDocument& document) {
    std::string text;
    for (const TRtfParagraph& paragraph : document) {
        text += "[";
        for (const TRtfRun& run : paragraph)
            text += "(" + run.Text.toStdString() + (run.Bold ? " B" : "") +
                    (run.Italic ? " I" : "") + (run.Underline ? " U" : "") + ")";
        text += "]";
    }
    return text;
}
