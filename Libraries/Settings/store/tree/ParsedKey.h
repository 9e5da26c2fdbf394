// ParsedKey: a store key ("/A/B[2]/C") parsed into steps, without heap allocation.
#ifndef DICOMSETTINGS_STORE_TREE_PARSEDKEY_H
#define DICOMSETTINGS_STORE_TREE_PARSEDKEY_H

#include <cstddef>
#include <string>

namespace keytreestore {

// One step of a key: an element name (UTF-8, NUL-terminated, `length` bytes), its
// index among same-named siblings, and whether the key wrote that index ("B[0]")
// or left it out ("B"): a written index names an entry of a list.
struct KeyStep {
  const char* name;
  size_t length;
  int index;
  bool listed;
};

class ParsedKey {
 public:
  // Parses a NUL-terminated key. Returns STORE_OK, STORE_E_BAD_ARGUMENT (null or
  // empty), STORE_E_TOO_LONG (over 511 characters) or STORE_E_BAD_KEY.
  int Parse(const wchar_t* key);

  size_t size() const { return count_; }
  const KeyStep& operator[](size_t i) const { return steps_[i]; }

  // Canonical text of the first `steps` steps, every index written out: "A[0]/B[2]".
  std::string Canonical(size_t steps) const;

 private:
  static constexpr size_t kMaxSteps = 256;
  // Every name in UTF-8 (at most 4 bytes a character) with its NUL.
  static constexpr size_t kMaxBytes = 511 * 4 + kMaxSteps;
  char names_[kMaxBytes];
  KeyStep steps_[kMaxSteps];
  size_t count_ = 0;
};

}  // namespace keytreestore

#endif
