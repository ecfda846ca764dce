// The comment conversions on arbitrary text: nothing crashes, the filter's
// output is its own filtered form, and what the writer makes of any document
// the reader finds reads back the same after storage.
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = text.split(QLatin1Char('\n'));

    const QString filtered = FilterRtf(text);
    if (FilterRtf(filtered) != filtered)
        __builtin_trap();
    RtfToTagMarkup(lines);
    HasVisibleText(text);
    RtfToPlainText(lines);
    SplitAtReturns(text);
    CopyLines(lines);

    TRtfDocument document = ReadRtf(text);
    if (document.empty())
        document.emplace_back();
    const QStringList stored = StoredTextToLines(LinesToStoredText(WriteRtf(document)));
    if (ReadRtf(stored.front()) != document)
        __builtin_trap();
    return 0;
}
