#include "JournalFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "FileSystem.h"

namespace korvex::platform {

namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

DWORD WriteAll(HANDLE file, std::string_view bytes, std::size_t& total) {
    total = 0;
    while (total < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - total, 1u << 30));
        const BOOL ok = WriteFile(file, bytes.data() + total, chunk, &written, nullptr);
        total += written;
        if (!ok) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
    }
    return 0;
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    std::size_t written = 0;
    return WriteAll(file, bytes, written);
}

// The last byte of the file at path, read through a handle of its own (the appending one may not
// read); nullopt when it cannot be read.
std::optional<char> LastByte(std::wstring_view path, LONGLONG size) {
    const UniqueFile file(CreateFileW(ToApiPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER at{};
    at.QuadPart = size - 1;
    char byte = 0;
    DWORD read = 0;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !ReadFile(file.get(), &byte, 1, &read, nullptr) ||
        read != 1)
        return std::nullopt;
    return byte;
}

}  // namespace

ZonedTime LocalNow() {
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    SYSTEMTIME utcParts{}, local{};
    FileTimeToSystemTime(&utc, &utcParts);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &local)) local = utcParts;
    FILETIME localTime{};
    SystemTimeToFileTime(&local, &localTime);
    // Whole minutes: the sub-second parts of both are the same.
    const std::int64_t offsetTicks = Ticks(localTime) - Ticks(utc);
    const auto minuteTicks = static_cast<std::int64_t>(60) * 10'000'000;
    const std::int64_t rounded = (offsetTicks + (offsetTicks >= 0 ? minuteTicks / 2 : -minuteTicks / 2)) / minuteTicks;
    return {
        local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, static_cast<int>(rounded)};
}

DWORD AppendOnlyFile::Open(std::wstring_view path, std::string_view head) {
    const std::size_t headEnd = head.find('\n');
    lineEnd_ = headEnd != std::string_view::npos && headEnd > 0 && head[headEnd - 1] == '\r' ? "\r\n" : "\n";
    cutLineEnd_.clear();
    file_.reset(CreateFileW(ToApiPath(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) {
        const DWORD error = GetLastError();
        file_.reset();
        return error;
    }
    std::string_view first;
    if (size.QuadPart == 0) {
        first = head;
    } else {
        // A last byte that cannot be read is taken for a cut line: an empty line costs nothing.
        const std::optional<char> last = LastByte(path, size.QuadPart);
        if (!last || *last != '\n') cutLineEnd_ = last == '\r' ? "\n" : lineEnd_;
    }
    if (!first.empty() || !cutLineEnd_.empty()) {
        if (const DWORD error = Append(first)) {
            file_.reset();
            return error;
        }
    }
    return 0;
}

DWORD AppendOnlyFile::Append(std::string_view bytes) {
    if (!file_) return ERROR_INVALID_HANDLE;
    std::string joined;
    if (!cutLineEnd_.empty()) {
        joined = cutLineEnd_;
        joined += bytes;
        bytes = joined;
    }
    // One write: another program appending to the same file cannot come between its parts.
    std::size_t written = 0;
    if (const DWORD error = Write(file_.get(), bytes, written)) {
        // A part reached the file: the line it began is cut, and the next bytes end it first.
        if (written > 0) cutLineEnd_ = bytes[written - 1] == '\n' ? "" : bytes[written - 1] == '\r' ? "\n" : lineEnd_;
        return error;
    }
    cutLineEnd_.clear();
    return FlushFileBuffers(file_.get()) ? 0 : GetLastError();
}

DWORD AppendOnlyFile::Write(HANDLE file, std::string_view bytes, std::size_t& written) {
    return WriteAll(file, bytes, written);
}

DWORD ReplaceFileAtomically(std::wstring_view path, std::string_view bytes) {
    const std::wstring target = ToApiPath(path);
    const std::wstring temporary = ToApiPath(std::wstring(path) + L".new");
    {
        UniqueFile file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return GetLastError();
        // A write the disk did not take whole leaves no temporary file behind. The size is asked
        // once the bytes are flushed: a file system that said yes to a write it could not keep
        // shows it there.
        DWORD error = WriteAll(file.get(), bytes);
        if (!error && !FlushFileBuffers(file.get())) error = GetLastError();
        LARGE_INTEGER size{};
        if (!error && !GetFileSizeEx(file.get(), &size)) error = GetLastError();
        if (!error && static_cast<std::uint64_t>(size.QuadPart) != bytes.size()) error = ERROR_DISK_FULL;
        if (error) {
            file.reset();
            DeleteFileW(temporary.c_str());
            return error;
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return error;
    }
    return 0;
}

}  // namespace korvex::platform
