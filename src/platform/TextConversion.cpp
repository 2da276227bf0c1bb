#include "TextConversion.h"

#include <windows.h>

#include <climits>

namespace korvex::platform {

std::wstring WideFromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    std::wstring out;
    // Convert in slices so that any length fits the API's int counts.
    constexpr std::size_t kSlice = 1 << 24;
    for (std::size_t at = 0; at < bytes.size(); at += kSlice) {
        const auto part = bytes.substr(at, kSlice);
        const int n = MultiByteToWideChar(CP_ACP, 0, part.data(), static_cast<int>(part.size()), nullptr, 0);
        const auto old = out.size();
        out.resize(old + static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, part.data(), static_cast<int>(part.size()), out.data() + old, n);
    }
    return out;
}

}  // namespace korvex::platform
