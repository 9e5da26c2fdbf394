// Settings files for the benchmarks, written from the section classes' own key
// tables: every key the classes address, with every list at its capacity times a
// factor, and the list of those keys for the benchmarks to read and write. The
// files come plain (ASCII values in the layout of the store's own save) or as
// sites really have them (Japanese text, comments, another editor's layout).
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
  bool entry;  // written with an index: an entry of a list
};

struct FixtureKey {
  std::wstring text;  // "/DicomErrorSetting/DicomError[12]/ErrorCode"
  std::vector<KeyStep> steps;
  DicomAccessLibraryCpp::ValueKind kind;
  bool addressed;  // every index within its list's capacity: the sections read it
};

struct Fixture {
  std::string path;
  std::wstring widePath;
  std::vector<FixtureKey> keys;  // in document order
  size_t bytes = 0;              // size of the file written
  size_t multiByteBytes = 0;     // bytes of multi-byte UTF-8 sequences in it
};

enum class FixtureStyle {
  Ascii,      // ASCII values only, indented with two spaces, line feeds
  Realistic,  // Japanese text where sites write it, comments between and inside areas
  Editor,     // Realistic, as another editor writes it: tabs, CRLF line ends
};

// The files a benchmark run writes, by label.
struct FixtureKind {
  const char* label;  // "base", "x10", "real", "real-x10", "editor"
  int factor;
  FixtureStyle style;
  const char* what;
};
inline constexpr FixtureKind kFixtureKinds[] = {
    {"base", 1, FixtureStyle::Ascii, "ASCII values, lists at the sections' capacities"},
    {"x10", 10, FixtureStyle::Ascii, "ASCII values, lists ten times longer"},
    {"real", 1, FixtureStyle::Realistic, "as sites have it: Japanese text, comments"},
    {"real-x10", 10, FixtureStyle::Realistic, "as sites have it, lists ten times longer"},
    {"editor", 1, FixtureStyle::Editor, "the real file in another editor's layout: tabs, CRLF"},
};

// Writes a settings file at path holding every section's keys, each list
// `factor` times its capacity long (1: the sizes the sections address).
Fixture WriteFixture(const std::string& path, int factor, FixtureStyle style);

// "3029 values, 189436 bytes, 3.1% of them in multi-byte UTF-8".
std::string Describe(const Fixture& fixture);

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
