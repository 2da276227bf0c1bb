#pragma once

#include <string>
#include <string_view>

namespace korvex {

// Fills a subject template: every "%n" (any letter case) becomes count, then every "%i" becomes
// position, both in plain decimal. Inserted digits are never searched again; a lone "%" or any
// other "%" pair stays as it is.
std::wstring ExpandSubject(std::wstring_view subjectTemplate, unsigned long long count, unsigned long long position);

}  // namespace korvex
