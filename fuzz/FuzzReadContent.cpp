// Reads a project from an arbitrary "content.xml" document; what reads must
// write and read back to the same document.
#include "FuzzSupport.h"
#include "storage/UntIO.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto project = ReadOrRefuse(data, size, ReadProjectContent);
    if (!project)
        return 0;
    CheckRecords(**project);
    const QByteArray written = ProjectContent(**project);
    if (ProjectContent(*ReadProjectContent(written)) != written)
        __builtin_trap();
    return 0;
}
