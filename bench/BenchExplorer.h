#pragma once
// The explorer's scenarios of korvex-bench: listing a folder (P1), selecting all (P3) and
// entering a folder (P6).

namespace korvex::bench {

void BenchRefresh();
void BenchSelectAll();
void BenchEnter();

}  // namespace korvex::bench
