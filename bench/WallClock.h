// A console reporter that also keeps the wall-clock time per iteration of every
// benchmark, in nanoseconds, by name: the store waits on the network and on other
// processes, which processor time would hide.
#ifndef DICOMSETTINGS_BENCH_WALLCLOCK_H
#define DICOMSETTINGS_BENCH_WALLCLOCK_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class WallClock : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const double unit = run.time_unit == benchmark::kMillisecond   ? 1e6
                          : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                     : 1.0;
      real[run.run_name.function_name] = run.GetAdjustedRealTime() * unit;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> real;  // ns per iteration
};

}  // namespace bench

#endif
