#pragma once
// P8: "С поддиректориями" on a tree shown in the explorer.

#include "TestSupport.h"

namespace korvex::bench {

void BenchAddFromExplorer(const test::TempDir& exeDir, const test::TestRegistryKey& reg);

}  // namespace korvex::bench
