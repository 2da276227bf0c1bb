// The frame's status line under a Russian Windows: sizes grouped with the locale's no-break space.
// Runs in the locale tests' executable, started with LC_ALL=ru_RU.UTF-8.

#include <gtest/gtest.h>

#include "FrameHost.h"
#include "Locale.h"
#include "StatusText.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

TEST(RussianLocaleFrame, StatusSizesUseTheLocalesSeparator) {
    ASSERT_EQ(platform::ThousandsSeparator(), L"\u00a0") << "start this test with LC_ALL=ru_RU.UTF-8";
    TempDir dir;
    WriteSparse(dir / L"big.bin", 5'000'000'000);
    FrameHost host;
    host.Create({.multiSelect = true});
    auto& x = host.frame.QFileExplorer;
    x.SetDirectory(dir.Path());
    ASSERT_TRUE(WaitFor([&] { return !host.frame.StatusRefreshPending(); }));
    EXPECT_EQ(host.frame.sb.PartText(1), StatusDriveText(x.GetDriveSize(), x.GetDriveFreeSpace(), L"\u00a0"));
    x.Select(0);
    host.frame.RefreshStatusNow();
    EXPECT_EQ(host.frame.sb.PartText(1), L"4\u00a0882\u00a0813 KB");
}

}  // namespace
}  // namespace korvex::test
