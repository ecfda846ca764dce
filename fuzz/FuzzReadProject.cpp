// Reads a project from arbitrary archive bytes: every input either reads or
// is refused with a message.
#include "UntIO.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        ReadProjectArchive(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const EStorageError& error) {
        if (error.Message().isEmpty())
            __builtin_trap();
    }
    return 0;
}
