#pragma once
// Small text helpers for Windows paths. Paths are plain texts here: nothing touches the disk.

#include <string>
#include <string_view>

namespace korvex {

// The text with "\" appended, unless it already ends in one. An empty text becomes "\".
std::wstring EnsureBackslash(std::wstring_view text);

// The text without any double-quote character.
std::wstring RemoveQuotes(std::wstring_view text);

// Everything after the last "\" or ":" (the whole text when it holds neither).
std::wstring_view ExtractFileName(std::wstring_view path);

// Everything up to and including the last "\" or ":" (empty when it holds neither).
std::wstring_view ExtractFileDir(std::wstring_view path);

// Whether the text is a bare name the file system can take: not empty, no path separator, no
// character that Windows refuses in a name, not "." or "..".
bool IsPlainName(std::wstring_view name);

// The folder above folder ("C:\a\b" or "C:\a\b\" gives "C:\a\"); empty for a drive root, a
// server's share or a text with no folder above it.
std::wstring ParentFolder(std::wstring_view folder);

// The path without the "\\?\" prefix that takes a path literally, or the "\\.\" one of the device
// namespace, where a drive's or a server's path follows: "\\?\C:\x" and "\\.\C:\x" give "C:\x",
// "\\?\UNC\server\share" gives "\\server\share". Any other path as it is, so that "\\.\CON" or
// "\\?\GLOBALROOT\…" never turns into a name relative to the current folder.
std::wstring WithoutNamespacePrefix(std::wstring_view path);

// The path with the extension of its last segment replaced by newExt (which includes the dot);
// a name without an extension gets newExt appended.
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view newExt);

}  // namespace korvex
