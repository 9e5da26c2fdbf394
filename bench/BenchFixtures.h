// What every benchmark works on: a settings file written for the run, open in the
// store, and the same file loaded by pugixml and by Boost.PropertyTree.
#ifndef DICOMSETTINGS_BENCH_BENCHFIXTURES_H
#define DICOMSETTINGS_BENCH_BENCHFIXTURES_H

#include <benchmark/benchmark.h>

#include <boost/property_tree/ptree.hpp>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "FixtureFiles.h"
#include "HeapCounter.h"

namespace bench {

struct LoadedFixture {
  std::string label;  // a FixtureKind's label
  FixtureStyle style = FixtureStyle::Ascii;
  Fixture file;
  pugi::xml_document dom;
  boost::property_tree::ptree tree;
};

// Registers the benchmarks of each area on a loaded fixture (the file is open in
// the store while they run).
void RegisterStoreBenchmarks(LoadedFixture& fixture);
void RegisterPeerBenchmarks(LoadedFixture& fixture);
void RegisterFileBenchmarks(LoadedFixture& fixture);
void RegisterStartupBenchmarks(LoadedFixture& fixture);
void RegisterChainBenchmarks(LoadedFixture& fixture);
// Section construction and assignment, on copies of the base file.
void RegisterSectionBenchmarks(const Fixture& base);

// The processor time the calling thread has taken, in nanoseconds.
double ThreadCpuNanoseconds();
// The time on the monotonic clock, in nanoseconds: for what waits on the disk.
double WallNanoseconds();

// A copy of a file under a new name in the same folder; returns its path.
std::string CopyFile(const std::string& from, const std::string& name);

// Benchmark names: "<operation>/<subject>/<file>".
std::string BenchName(const std::string& operation, const std::string& subject,
                      const std::string& file);

// The figures held against a goal are measured in repetitions (of Paired, below),
// and the table of ratios takes the median of each; scripts/bench interleaves the
// repetitions of all benchmarks at random.
constexpr int kGoalRepetitions = 7;
inline benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark) {
  return benchmark->Repetitions(kGoalRepetitions)->DisplayAggregatesOnly(true);
}

// Times the two sides of a figure in turns, one of each per iteration and the
// order swapped every other iteration, by the processor time of the thread, and
// reports per iteration the counters "measured_ns" and "reference_ns" and their
// ratio "paired_ratio". A shared machine's load changes from moment to moment
// (a neighbour taking the memory bus for seconds at a time doubles the time of a
// large open): sides measured apart can meet different moments however the runs
// are interleaved, sides measured in turns meet the same ones.
template <class Measured, class Reference>
void Paired(benchmark::State& state, Measured measured, Reference reference,
            double (*clock)() = ThreadCpuNanoseconds) {
  double sums[2] = {0, 0};
  bool swapped = false;
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      const int side = (turn == 0) == swapped ? 1 : 0;
      const double start = clock();
      if (side == 0) {
        measured();
      } else {
        reference();
      }
      sums[side] += clock() - start;
    }
    swapped = !swapped;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["measured_ns"] = sums[0] / iterations;
  state.counters["reference_ns"] = sums[1] / iterations;
  state.counters["paired_ratio"] = sums[1] > 0 ? sums[0] / sums[1] : 0;
}

// Runs step(item) over the items in turn, one per iteration, and reports the
// heap allocations made per iteration as the counter "allocs".
template <class T, class Step>
void Cycle(benchmark::State& state, std::vector<T>& items, Step step) {
  size_t i = 0;
  const size_t allocations = AllocationCount();
  for (auto _ : state) {
    step(items[i]);
    if (++i == items.size()) i = 0;
  }
  state.counters["allocs"] = static_cast<double>(AllocationCount() - allocations) /
                             static_cast<double>(state.iterations());
}

}  // namespace bench

#endif
