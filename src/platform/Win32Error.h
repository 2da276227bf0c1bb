#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "AppError.h"

namespace korvex::platform {

// The system's text for an error code, without the trailing line break. Its insert "%1" (ERROR_BAD_EXE_FORMAT's
// "%1 is not a valid Win32 application") names insert, the file or program the failed call was about;
// without one, and for any other insert, a neutral mark stands in (see FillInserts).
std::wstring SystemMessage(DWORD code, std::wstring_view insert = {});

// A failed Win32 call: the system's text for the code, after an optional context.
class Win32Error : public AppError {
public:
    Win32Error(DWORD code, std::wstring_view context = {});
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

}  // namespace korvex::platform
