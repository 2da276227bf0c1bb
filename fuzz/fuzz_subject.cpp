#include <cstdint>
#include <cstdlib>

#include "FuzzInput.h"
#include "SubjectTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const unsigned count = data[0] | (data[1] << 8);
    const unsigned position = data[2] | (data[3] << 8);
    const auto fields = SplitFields(data + 4, size - 4, 1);
    const std::wstring subject = korvex::ExpandSubject(fields[0], count, position);
    // No placeholder survives, and nothing but placeholders changes length.
    for (std::size_t i = 0; i + 1 < subject.size(); ++i)
        if (subject[i] == L'%' && std::wstring_view(L"nNiI").find(subject[i + 1]) != std::wstring_view::npos)
            std::abort();
    if (fields[0].find(L'%') == std::wstring::npos && subject != fields[0]) std::abort();
    return 0;
}
