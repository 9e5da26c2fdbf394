// A benchmark reporter that prints the usual console output and keeps every
// result, then a Markdown table of the figures that matter, each as a ratio to
// the pugixml measure taken in the same run, with its goal.
#ifndef DICOMSETTINGS_BENCH_RATIOTABLE_H
#define DICOMSETTINGS_BENCH_RATIOTABLE_H

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace bench {

class RatioTable : public benchmark::ConsoleReporter {
 public:
  // What one benchmark measured: time per iteration and its counters.
  struct Result {
    double realNanoseconds = 0;
    double cpuNanoseconds = 0;
    std::map<std::string, double> counters;
    double Counter(const std::string& name) const {
      const auto found = counters.find(name);
      return found == counters.end() ? 0 : found->second;
    }
  };

  void ReportRuns(const std::vector<Run>& runs) override;
  // Prints the table; returns the number of goals not met.
  int Print(std::ostream& out) const;

 private:
  const Result* Find(const std::string& name) const;

  std::map<std::string, Result> results_;
  std::vector<std::string> order_;
};

}  // namespace bench

#endif
