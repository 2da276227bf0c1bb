#include "Drives.h"

namespace korvex::platform {

std::uint32_t LogicalDrives() {
    return GetLogicalDrives();
}

std::uint8_t DriveType(const std::wstring& root) {
    return static_cast<std::uint8_t>(GetDriveTypeW(root.c_str()));
}

std::optional<ClusterInfo> DriveClusters(const std::wstring& root) {
    const QuietDriveErrors quiet;
    ClusterInfo info;
    if (!GetDiskFreeSpaceW(root.c_str(), &info.sectorsPerCluster, &info.bytesPerSector, &info.freeClusters,
                           &info.totalClusters))
        return std::nullopt;
    return info;
}

std::optional<DriveBytes> DriveSpace(const std::wstring& root) {
    const QuietDriveErrors quiet;
    ULARGE_INTEGER available{}, total{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr)) return std::nullopt;
    return DriveBytes{total.QuadPart, available.QuadPart};
}

}  // namespace korvex::platform
