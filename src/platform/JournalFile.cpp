#include "JournalFile.h"

#include <algorithm>
#include <cstdint>

#include "FileSystem.h"

namespace korvex::platform {

namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return 0;
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
    file_.reset(CreateFileW(ToApiPath(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) {
        const DWORD error = GetLastError();
        file_.reset();
        return error;
    }
    if (size.QuadPart == 0 && !head.empty()) {
        if (const DWORD error = Append(head)) {
            file_.reset();
            return error;
        }
    }
    return 0;
}

DWORD AppendOnlyFile::Append(std::string_view bytes) {
    if (!file_) return ERROR_INVALID_HANDLE;
    // One write: another program appending to the same file cannot come between its parts.
    if (const DWORD error = WriteAll(file_.get(), bytes)) return error;
    return FlushFileBuffers(file_.get()) ? 0 : GetLastError();
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
