#pragma once
// The paths a start of the program is given: its command line split by the rules every Windows
// program's start-up code shares (those of CommandLineToArgvW), and the block of paths one start
// hands to the window of another.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// The arguments, the program's name first. The name ends at the first blank, or when it begins
// with a quote at the next quote. After it, blanks and tabs outside quotes separate arguments;
// 2n backslashes before a quote give n backslashes and the quote opens or closes a quoted part,
// 2n+1 backslashes before a quote give n backslashes and a literal quote; backslashes elsewhere
// are literal; inside a quoted part a run of quotes gives one literal quote per three.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The arguments after the program's name as paths, in their order. Empty arguments are dropped.
// A quote cannot be part of a Windows path: an argument that ends in one is a quoted path that
// ended in a backslash ("D:\" reads D:" by the rules above), and gets its backslash back.
// Relative paths stay relative: the caller resolves them against the folder of the start.
std::vector<std::wstring> CommandLinePaths(std::wstring_view commandLine);

// A drive path ("C:\…", "C:/…") or a UNC path ("\\server\share…", "\\?\…").
bool IsFullPath(std::wstring_view path);

// The paths as one text for another process: each followed by a NUL, then one more NUL.
std::wstring JoinPathBlock(const std::vector<std::wstring>& paths);

// The paths of a block, or nothing when the block is not one: it must end with the NUL after the
// last path's NUL, be no longer than kMaxBlockLength and hold at most kMaxBlockPaths paths, each
// a full path of at most kMaxPathLength characters. No paths at all is a valid block. Whether the
// paths exist is the receiver's question.
inline constexpr std::size_t kMaxPathLength = 32767;
inline constexpr std::size_t kMaxBlockPaths = 100000;
// The longest block a start can send: its command line holds at most 32,767 characters, so at
// most 16,384 arguments (each one character and a blank); each becomes a path by being made full
// against the start's current folder, which the system holds in MAX_PATH (260) characters, and
// gets its NUL; then the block's own NUL. About 4.3 million characters: a block beyond it comes
// from no start of the program and is refused by its size alone.
inline constexpr std::size_t kMaxCommandLineLength = 32767;
inline constexpr std::size_t kMaxCommandLineArguments = (kMaxCommandLineLength + 1) / 2;
inline constexpr std::size_t kMaxBlockLength = kMaxCommandLineLength + kMaxCommandLineArguments * (260 + 1) + 1;
std::optional<std::vector<std::wstring>> SplitPathBlock(std::wstring_view block);

}  // namespace korvex
