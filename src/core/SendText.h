#pragma once
// The texts the send shows in its message boxes: why the client cannot be started, and how a
// send ended. Texts only: the boxes are the window's.

#include <string>
#include <string_view>
#include <vector>

#include "SendDispatch.h"

namespace korvex {

// How long a path or file name may be in a message box before its middle gives way to "…".
inline constexpr std::size_t kShownPathLength = 120;

// The path in guillemets, shortened in its middle to kShownPathLength.
std::wstring QuotedPath(std::wstring_view path);

// Why nothing was sent: the client path's problem, with the path.
std::wstring ClientPathMessage(ClientPathProblem problem, std::wstring_view path);

// How the send ended, when that needs saying: stopped part way, some starts failed (with the
// client's path and the system's text of the first failure), or some were not confirmed by the
// client in time, files that were gone right before their starts (gonePaths names them, in the
// outcome's order). Empty when every start was made and confirmed.
std::wstring SendSummary(const DispatchOutcome& outcome, std::wstring_view clientPath, std::wstring_view firstErrorText,
                         const std::vector<std::wstring>& gonePaths = {});

}  // namespace korvex
