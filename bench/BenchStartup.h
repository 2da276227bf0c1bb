#pragma once

#include "TestSupport.h"

namespace korvex::bench {

// P7: start-up into a saved folder of 20,000 files, against the bare work of showing that folder.
void BenchStartup(const test::TestRegistryKey& reg);

}  // namespace korvex::bench
