// Reads a project from arbitrary archive bytes: every input either reads or
// is refused with a message.
#include "FuzzSupport.h"
#include "storage/UntIO.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadOrRefuse(data, size, ReadProjectArchive);
    return 0;
}
