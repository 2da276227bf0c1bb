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
    // The first call starts the listing from the beginning; a file opened by mistake fails here.
    const FILE_INFO_BY_HANDLE_CLASS kind = started_ ? FileIdBothDirectoryInfo : FileIdBothDirectoryRestartInfo;
    started_ = true;
    if (!GetFileInformationByHandleEx(handle_.get(), kind, buffer_.get(), kBatchBytes)) return false;
    next_ = buffer_.get();
    return true;
}

std::optional<FolderEntry> FolderListing::Next() {
    if (!handle_ || finished_) return std::nullopt;
    if (!next_ && !Fill()) {
        finished_ = true;
        return std::nullopt;
    }
    // The buffer holds FILE_ID_BOTH_DIR_INFO records chained by their offsets, each 8-byte aligned.
    const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(next_);
    FolderEntry entry;
    entry.name = std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t));
    entry.attributes = info->FileAttributes;
    entry.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
    entry.index = static_cast<std::uint64_t>(info->FileId.QuadPart);
    next_ = info->NextEntryOffset ? next_ + info->NextEntryOffset : nullptr;
    return entry;
}

}  // namespace korvex::platform
