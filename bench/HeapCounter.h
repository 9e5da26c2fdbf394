// Counts the heap bytes the benchmark program holds, through a replaced global
// operator new and delete (HeapCounter.cpp).
#ifndef DICOMSETTINGS_BENCH_HEAPCOUNTER_H
#define DICOMSETTINGS_BENCH_HEAPCOUNTER_H

#include <cstddef>

namespace bench {

// Bytes allocated with operator new and not yet released, program-wide.
size_t LiveHeapBytes();
// Number of operator new calls so far, program-wide.
size_t AllocationCount();

}  // namespace bench

#endif
