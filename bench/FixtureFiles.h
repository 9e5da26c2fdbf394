// Settings files for the benchmarks, written from the section classes' own key
// tables: every key the classes address, with every list at its capacity times a
// factor, and the list of those keys for the benchmarks to read and write.
#ifndef DICOMSETTINGS_BENCH_FIXTUREFILES_H
#define DICOMSETTINGS_BENCH_FIXTUREFILES_H

#include <cstddef>
#include <string>
#include <vector>

#include "SettingsSchema.h"

namespace bench {

// One step of a key: an element name and its index among same-named siblings.
struct KeyStep {
  std::string name;
  int index;
};

struct FixtureKey {
  std::wstring text;  // "/DicomErrorSetting/DicomError[12]/ErrorCode"
  std::vector<KeyStep> steps;
  DicomAccessLibraryCpp::ValueKind kind;
};

struct Fixture {
  std::string path;
  std::wstring widePath;
  std::vector<FixtureKey> keys;  // in document order
  size_t bytes = 0;              // size of the file written
};

// Writes a settings file at path holding every section's keys, each list
// `factor` times its capacity long (1: the sizes the sections address).
Fixture WriteFixture(const std::string& path, int factor);

// The order in which a benchmark visits keys: the order of the file, as a
// service reading its sections does, or shuffled (the same way in every run),
// which defeats the processor's caches.
enum class KeyOrder { Document, Shuffled };

// The keys of one value kind.
std::vector<const FixtureKey*> KeysOfKind(const Fixture& fixture,
                                          DicomAccessLibraryCpp::ValueKind kind, KeyOrder order);

// The last integer key of the longest list, the error list: in its last entry.
const FixtureKey* LastListKey(const Fixture& fixture);

}  // namespace bench

#endif
