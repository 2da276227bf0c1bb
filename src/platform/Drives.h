#pragma once
// Logical drives and their sizes, asked without the system's "insert a disk" prompts.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace korvex::platform {

// While it lives, this thread's failed drive accesses fail quietly instead of prompting.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

struct ClusterInfo {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
};

std::uint32_t LogicalDrives();
// Drives whose questions may take long or hang (a network drive that is gone, a card reader, an
// optical drive spinning up), by their drive type code; the type code itself comes at once.
inline bool IsSlowDriveType(std::uint8_t type) {
    return type == DRIVE_REMOVABLE || type == DRIVE_REMOTE || type == DRIVE_CDROM || type == DRIVE_UNKNOWN;
}

std::uint8_t DriveType(const std::wstring& root);
// The cluster geometry; nullopt when the drive cannot be read (not ready, no medium).
std::optional<ClusterInfo> DriveClusters(const std::wstring& root);
struct DriveBytes {
    std::uint64_t total = 0, availableToCaller = 0;
};
std::optional<DriveBytes> DriveSpace(const std::wstring& root);

}  // namespace korvex::platform
