#pragma once
// The explorer's scenarios of korvex-bench: listing a folder (P1), selecting all (P3), entering a
// folder (P6), entering a folder of many subfolders (P10) and one of files with icons of their own (P11).

namespace korvex::bench {

void BenchRefresh();
void BenchSelectAll();
void BenchEnter();
void BenchManyFolders();
void BenchOwnIcons();

}  // namespace korvex::bench
