#include "FolderListing.h"

namespace korvex::platform {

namespace {

// A batch of entries per call: about a hundred names of usual length.
constexpr DWORD kBatchBytes = 16 * 1024;

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

FolderListing::FolderListing(std::wstring_view folder)
    : handle_(CreateFileW(ToApiPath(folder).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}

std::optional<FileIdentity> FolderListing::Identity() const {
    if (!handle_) return std::nullopt;
    return IdentityOfHandle(handle_.get());
}

bool FolderListing::Fill() {
    if (!buffer_) buffer_ = std::make_unique<std::byte[]>(kBatchBytes);
    const auto read = [&](FILE_INFO_BY_HANDLE_CLASS kind) {
        return GetFileInformationByHandleEx(handle_.get(), kind, buffer_.get(), kBatchBytes) != FALSE;
    };
    bool filled = false;
    if (started_) {
        filled = read(withIds_ ? FileIdBothDirectoryInfo : FileFullDirectoryInfo);
    } else {
        started_ = true;
        // The first call starts the listing from the beginning; a file opened by mistake fails here.
        filled = read(FileIdBothDirectoryRestartInfo);
        const DWORD error = filled ? ERROR_SUCCESS : GetLastError();
        if (!filled && error != ERROR_NO_MORE_FILES && error != ERROR_FILE_NOT_FOUND) {
            // A file system that keeps no file ids (some network and third-party ones) still
            // lists its entries in the plain form, without identities.
            withIds_ = false;
            filled = read(FileFullDirectoryRestartInfo);
        }
    }
    if (!filled) return false;
    next_ = buffer_.get();
    return true;
}

std::optional<FolderEntry> FolderListing::Next() {
    if (!handle_ || finished_) return std::nullopt;
    if (!next_ && !Fill()) {
        finished_ = true;
        return std::nullopt;
    }
    // The buffer holds records chained by their offsets, each 8-byte aligned.
    FolderEntry entry;
    DWORD nextOffset = 0;
    if (withIds_) {
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(next_);
        entry.name = std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t));
        entry.attributes = info->FileAttributes;
        entry.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
        entry.index = static_cast<std::uint64_t>(info->FileId.QuadPart);
        nextOffset = info->NextEntryOffset;
    } else {
        const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(next_);
        entry.name = std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t));
        entry.attributes = info->FileAttributes;
        entry.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
        nextOffset = info->NextEntryOffset;
    }
    next_ = nextOffset ? next_ + nextOffset : nullptr;
    return entry;
}

}  // namespace korvex::platform
