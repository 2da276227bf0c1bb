#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "AppError.h"

namespace korvex::platform {

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

// A failed Win32 call: the system's text for the code, after an optional context.
class Win32Error : public AppError {
public:
    Win32Error(DWORD code, std::wstring_view context = {});
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

}  // namespace korvex::platform
