#pragma once

#include "TestSupport.h"

namespace korvex::bench {

// P5: a send of 200 entries to the single-instance stand-in client, journal and record included,
// against a bare loop of process starts with the same settling wait.
void BenchDispatch(const test::TempDir& exeDir, const test::TestRegistryKey& reg);

// P12: the journal window on a journal of a million lines: opening it until its first rows are
// painted against a bare read and decode into lines; filtering by a word against a bare
// case-insensitive scan of the decoded lines.
void BenchJournal();

}  // namespace korvex::bench
