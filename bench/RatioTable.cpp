// The figures of the benchmark run, their pugixml references and their goals.
#include "RatioTable.h"

#include <cstdio>
#include <vector>

namespace bench {
namespace {

enum class Measure {
  Time,    // the figure's time over the reference's time
  Growth,  // the same figure on the x10 file over the base file
  Heap,    // heap bytes held over what fixed buffers would hold
  Paired,  // both sides timed in turns by one benchmark (see Paired)
};

struct Row {
  std::string figure;
  std::string measured;   // benchmark name
  std::string reference;  // benchmark name (Time, Growth), what it is (Paired) or unused
  Measure measure;
  double goal;  // the ratio must not exceed it; 0: no goal
};

const std::string kReadWalk = "read_int/pugixml_walk/base";
const std::string kConstruct = "construct/";

// The files of a run: plain (ASCII values, our own layout) and as sites have them.
const std::vector<std::string> kListFiles = {"base", "x10", "real", "real-x10"};
const std::vector<std::string> kAllFiles = {"base", "x10", "real", "real-x10", "editor"};

bool IsSiteFile(const std::string& file) {
  return file == "real" || file == "real-x10";
}

std::vector<Row> Rows(const std::vector<std::string>& sections) {
  std::vector<Row> rows;
  for (const std::string kind : {"int", "string"}) {
    const std::string read = "read_" + kind;
    const std::string write = "write_" + kind;
    for (const std::string& file : kListFiles) {
      const std::string walk = read + "/pugixml_walk/" + file;
      const bool goal = file == "base" || (kind == "string" && IsSiteFile(file));
      rows.push_back({"proxy read, " + kind + ", " + file, read + "/proxy/" + file, walk,
                      Measure::Time, goal ? 0.5 : 0});
      rows.push_back({"pugixml XPath read, " + kind + ", " + file, read + "/pugixml_xpath/" + file,
                      walk, Measure::Time, 0});
      rows.push_back({"Boost.PropertyTree read, " + kind + ", " + file,
                      read + "/property_tree/" + file, walk, Measure::Time, 0});
      rows.push_back({"proxy write, " + kind + ", " + file, write + "/proxy/" + file,
                      write + "/pugixml_walk_set/" + file, Measure::Time, goal ? 0.6 : 0});
    }
    rows.push_back({"proxy read growth, " + kind + ", base to x10", read + "/proxy/x10",
                    read + "/proxy/base", Measure::Growth, 1.5});
    rows.push_back({"pugixml walk growth, " + kind + ", base to x10", read + "/pugixml_walk/x10",
                    read + "/pugixml_walk/base", Measure::Growth, 0});
    rows.push_back({"proxy write growth, " + kind + ", base to x10", write + "/proxy/x10",
                    write + "/proxy/base", Measure::Growth, 1.5});
  }
  for (const std::string file : {"base", "x10"}) {
    rows.push_back({"proxy read, int, keys shuffled, " + file, "read_int_shuffled/proxy/" + file,
                    "read_int_shuffled/pugixml_walk/" + file, Measure::Time, 0});
  }
  rows.push_back({"proxy read growth, int, keys shuffled, base to x10",
                  "read_int_shuffled/proxy/x10", "read_int_shuffled/proxy/base", Measure::Growth,
                  0});
  for (const std::string file : {"base", "x10"}) {
    rows.push_back({"proxy read of one key again and again, last error entry, " + file,
                    "read_last/proxy/" + file, "read_last/pugixml_walk/" + file, Measure::Time, 0});
  }
  rows.push_back({"proxy read growth, last error entry, base to x10", "read_last/proxy/x10",
                  "read_last/proxy/base", Measure::Growth, 1.5});
  rows.push_back({"pugixml walk growth, last error entry, base to x10",
                  "read_last/pugixml_walk/x10", "read_last/pugixml_walk/base", Measure::Growth, 0});
  rows.push_back({"count of 300 entries", "count/store/base", "count/pugixml_children/base",
                  Measure::Time, 0});
  rows.push_back({"count of 3,000 entries", "count/store/x10", "count/pugixml_children/x10",
                  Measure::Time, 0.2});
  for (const std::string& file : kAllFiles) {
    const double goal = file == "editor" ? 0 : 1.3;
    rows.push_back({"StoreOpen + StoreClose, " + file, "open/store_paired/" + file,
                    "pugixml load_file", Measure::Paired, goal});
    rows.push_back({"StoreSave without fsync, " + file, "save/store_no_fsync_paired/" + file,
                    "pugixml save_file", Measure::Paired, goal});
    rows.push_back({"StoreSave, " + file, "save/store_fsync/" + file, "save/pugixml_save/" + file,
                    Measure::Time, 0});
    rows.push_back({"StoreSave of one changed value with its change record (wall clock), " + file,
                    "save_record/store_paired/" + file, "the same save without a record",
                    Measure::Paired, goal});
  }
  for (const std::string& file : kAllFiles) {
    rows.push_back({"service start-up (open, 16 sections, every value read once, close), " + file,
                    "startup/sections_paired/" + file, "pugixml load_file and walk to each key",
                    Measure::Paired, IsSiteFile(file) ? 1.0 : 0});
  }
  for (const std::string file : {"base", "real"}) {
    rows.push_back({"every key a host file answers, read through it over its site file, " + file,
                    "chain_read/store_paired/" + file, "the same reads of the site file alone",
                    Measure::Paired, 1.2});
    rows.push_back({"StoreOpen + StoreClose of a host file over its site file, " + file,
                    "chain_open/store_paired/" + file, "the same of the site file alone",
                    Measure::Paired, 1.3});
  }
  for (const std::string& name : sections) {
    const std::string construct = "construct/" + name + "/base";
    rows.push_back({"construction, " + name, construct, kReadWalk, Measure::Time, 0});
    rows.push_back({"heap of one " + name, construct, "", Measure::Heap,
                    name == "CSpecificCharConv" ? 0.1 : 0});
  }
  rows.push_back({"assignment CSpecificCharConv = CSpecificCharConv (1,200 values)",
                  "assign/CSpecificCharConv/base", kReadWalk, Measure::Time, 0});
  return rows;
}

std::string Duration(double nanoseconds) {
  char text[32];
  if (nanoseconds < 1e4) {
    std::snprintf(text, sizeof text, "%.0f ns", nanoseconds);
  } else if (nanoseconds < 1e7) {
    std::snprintf(text, sizeof text, "%.1f µs", nanoseconds / 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.1f ms", nanoseconds / 1e6);
  }
  return text;
}

// A save is timed by the clock on the wall, as it waits for the disk; all else
// by the processor time it takes, which the other loads of a shared machine
// disturb less.
double Time(const std::string& name, const RatioTable::Result& result) {
  return name.rfind("save/", 0) == 0 ? result.realNanoseconds : result.cpuNanoseconds;
}

std::string Bytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, bytes < 1e6 ? "%.0f KB" : "%.2f MB",
                bytes < 1e6 ? bytes / 1e3 : bytes / 1e6);
  return text;
}

}  // namespace

void RatioTable::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    // A benchmark measured in repetitions counts by their median.
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median)) continue;
    // The name without the options a benchmark was registered with (min_time).
    const std::string& name = run.run_name.function_name;
    if (results_.count(name) == 0) order_.push_back(name);
    Result& result = results_[name];
    const double unit = run.time_unit == benchmark::kMillisecond   ? 1e6
                        : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                   : 1.0;
    result.realNanoseconds = run.GetAdjustedRealTime() * unit;
    result.cpuNanoseconds = run.GetAdjustedCPUTime() * unit;
    for (const auto& counter : run.counters) result.counters[counter.first] = counter.second;
  }
  ConsoleReporter::ReportRuns(runs);
}

const RatioTable::Result* RatioTable::Find(const std::string& name) const {
  const auto found = results_.find(name);
  return found == results_.end() ? nullptr : &found->second;
}

int RatioTable::Print(std::ostream& out) const {
  int missed = 0;
  out << "\n| Figure | Measured | Compared with | Ratio | Goal |\n|---|---:|---:|---:|---|\n";
  // The section classes measured, in the order they ran.
  std::vector<std::string> sections;
  for (const std::string& name : order_) {
    if (name.rfind(kConstruct, 0) == 0) {
      sections.push_back(name.substr(kConstruct.size(), name.rfind('/') - kConstruct.size()));
    }
  }
  for (const Row& row : Rows(sections)) {
    const Result* measured = Find(row.measured);
    const bool alone = row.measure == Measure::Heap || row.measure == Measure::Paired;
    const Result* reference = alone ? measured : Find(row.reference);
    if (measured == nullptr || reference == nullptr) continue;
    double ratio = 0;
    std::string left;
    std::string right;
    if (row.measure == Measure::Heap) {
      const double held = measured->Counter("heap_bytes");
      const double fixed = measured->Counter("fixed_buffer_bytes");
      if (fixed == 0) continue;
      ratio = held / fixed;
      left = Bytes(held);
      right = Bytes(fixed) + " in fixed buffers";
    } else if (row.measure == Measure::Paired) {
      ratio = measured->Counter("paired_ratio");
      left = Duration(measured->Counter("measured_ns"));
      right = Duration(measured->Counter("reference_ns")) + " (" + row.reference + ", in turns)";
    } else {
      const double time = Time(row.measured, *measured);
      const double referenceTime = Time(row.reference, *reference);
      ratio = time / referenceTime;
      left = Duration(time);
      right = Duration(referenceTime) + " (" + row.reference + ")";
    }
    std::string goal;
    if (row.goal > 0) {
      char text[48];
      const bool met = ratio <= row.goal;
      if (!met) ++missed;
      std::snprintf(text, sizeof text, "≤ %.2gx %s", row.goal, met ? "met" : "**missed**");
      goal = text;
    }
    char ratioText[32];
    std::snprintf(ratioText, sizeof ratioText, "%.3fx", ratio);
    out << "| " << row.figure << " | " << left << " | " << right << " | " << ratioText << " | "
        << goal << " |\n";
  }
  return missed;
}

}  // namespace bench
