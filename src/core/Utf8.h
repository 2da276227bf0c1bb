#pragma once
// UTF-8 <-> UTF-16 without any platform call.

#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// The UTF-16 text of bytes that are well-formed UTF-8 as a whole (no overlong forms, no surrogate
// code points, nothing above U+10FFFF); nullopt otherwise.
std::optional<std::wstring> DecodeUtf8(std::string_view bytes);

// UTF-8 of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

}  // namespace korvex
