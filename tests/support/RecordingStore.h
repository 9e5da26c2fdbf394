// A stand-in for the settings store that records every call and answers from a
// script, so that tests of the access library can check which store calls an
// operation makes, in which order, with which arguments.
//
// A test program links RecordingStore.cpp in place of the real store. The C
// functions of KeyTreeStore.h then record into, and answer from, the one
// RecordingStore that Recorder() returns. Call Reset() before each test.
//
// Answers: each function returns its scripted result (results[name], default 0).
// StoreGetValue, when its result is 0, copies the scripted value of the key
// (values[key]) or returns STORE_E_NOT_FOUND when the key has none, and
// STORE_E_TOO_LONG for a scripted value over 511 characters. StoreGetNodeCount
// sets nodeCount whatever its result, so that a caller reading the count after a
// failed call is caught; StoreDataUpdateCheck sets `updated` when one is scripted and
// otherwise leaves the caller's integer untouched. Writes are recorded only;
// they do not change the scripted values.
//
// Not thread-safe: one test thread at a time.
#ifndef DICOMSETTINGS_TESTS_RECORDINGSTORE_H
#define DICOMSETTINGS_TESTS_RECORDINGSTORE_H

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct StoreCall {
  std::string function;  // "StoreOpen", "StoreGetValue", ...
  bool pathNull = false;
  std::wstring path;
  std::wstring key;     // StoreGetValue, StoreSetValue, StoreGetNodeCount
  std::wstring value;   // StoreSetValue
  int comInitFlag = 0;  // StoreOpen, StoreClose
};

class RecordingStore {
 public:
  // Scripted answers.
  std::map<std::string, int> results;
  std::map<std::wstring, std::wstring> values;
  int nodeCount = 0;
  std::optional<int> updated;

  // Every call since the last Reset, in order.
  std::vector<StoreCall> calls;

  // Forgets the calls and the script.
  void Reset();
  // Number of recorded calls of one function.
  size_t CountOf(const std::string& function) const;
  // The recorded calls of one function, in order.
  std::vector<StoreCall> CallsOf(const std::string& function) const;
  // The keys of the recorded calls of one function, in order.
  std::vector<std::wstring> KeysOf(const std::string& function) const;
  // Every call in a short readable form, e.g. L"StoreSetValue A /EchoScu/TaskCount=3".
  std::vector<std::wstring> Trace() const;

  // Used by the store functions: records call and returns its scripted result.
  int Record(StoreCall call);
};

// The recorder the store functions of this program use.
RecordingStore& Recorder();

// Base of a test over the recording store: every test starts with no calls and
// no script.
class RecordingStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store.Reset(); }
  RecordingStore& store = Recorder();
};

#endif
