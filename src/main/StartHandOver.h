#pragma once
// A start of the program while the same copy of it already runs: its paths go to the running
// window, and this start ends.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "Prompter.h"
#include "SingleInstance.h"

namespace korvex {

// How long a start offers its paths before it asks the user whether to go on waiting.
inline constexpr std::chrono::milliseconds kHandOverPatience{10000};

// Nothing when this start is the running one (from the beginning, or because the running one
// ended while this one waited) and goes on; otherwise the exit code this start ends with: 0 once
// the running window has the paths, 1 when the user gave up waiting for it (then nothing was handed over).
std::optional<int> HandOverToRunning(platform::SingleInstance& instance, const std::vector<std::wstring>& paths,
                                     ui::Prompter& prompter, std::chrono::milliseconds patience = kHandOverPatience);

}  // namespace korvex
