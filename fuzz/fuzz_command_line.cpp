#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommandLinePaths.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = SplitFields(data, size, 2);
    // Every command line has the program's name; no path is empty.
    if (korvex::SplitCommandLine(fields[0]).empty()) std::abort();
    const auto paths = korvex::CommandLinePaths(fields[0]);
    for (const auto& path : paths)
        if (path.empty()) std::abort();
    // A block of full paths reads back as it was written.
    std::vector<std::wstring> full;
    for (const auto& path : paths)
        if (korvex::IsFullPath(path) && path.size() <= korvex::kMaxPathLength) full.push_back(path);
    if (korvex::SplitPathBlock(korvex::JoinPathBlock(full)) != full) std::abort();
    // Any text either is refused as a block or gives full paths.
    std::wstring block = fields[1];
    block += L'\0';
    if (const auto read = korvex::SplitPathBlock(block))
        for (const auto& path : *read)
            if (!korvex::IsFullPath(path)) std::abort();
    return 0;
}
