// The tests of the block scans (FindUnholdableUtf8, NestingScan) run as the
// processor allows (parameter true: AVX2 where it has it) and on the 16-byte SSE2
// path (false), which the processors the tests run on would otherwise not take.
#ifndef DICOMSETTINGS_TESTS_BLOCKWIDTHS_H
#define DICOMSETTINGS_TESTS_BLOCKWIDTHS_H

#include <gtest/gtest.h>

#include "text/Utf8.h"

class BlockWidths : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { keytreestore::UseWideBlocks(GetParam()); }
  void TearDown() override { keytreestore::UseWideBlocks(true); }
};

#endif
