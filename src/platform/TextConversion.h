#pragma once

#include <string>
#include <string_view>

namespace korvex::platform {

// Bytes in the system's ANSI code page to UTF-16.
std::wstring WideFromAnsi(std::string_view bytes);

}  // namespace korvex::platform
