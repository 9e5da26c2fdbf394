// A stand-in for the settings store that records every call and answers from a
// script, so that tests of the access library can check which store calls an
// operation makes, in which order, with which arguments. A test program links
// RecordingStore.cpp in place of the real store; the C functions of
// KeyTreeStore.h then record into, and answer from, the one RecordingStore that
// Recorder() returns.
//
// Answers: each function returns results[name] (default 0). StoreGetValue, when
// that is 0, copies values[key], or returns STORE_E_NOT_FOUND when the key has
// none (STORE_E_TOO_LONG for one over 511 characters). StoreGetNodeCount sets nodeCount whatever
// its result, so that a caller reading the count after a failed call is caught;
// StoreDataUpdateCheck sets `updated` when one is scripted. Writes are recorded only.
//
// Not thread-safe: one test thread at a time.
#ifndef DICOMSETTINGS_TESTS_RECORDINGSTORE_H
#define DICOMSETTINGS_TESTS_RECORDINGSTORE_H

#include <gtest/gtest.h>

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
  std::map<std::string, int> results;
  std::map<std::wstring, std::wstring> values;
  int nodeCount = 0;
  std::optional<int> updated;
  std::vector<StoreCall> calls;  // every call since the last Reset, in order

  // Forgets the calls and the script.
  void Reset() { *this = RecordingStore(); }
  // Every call in a short readable form, e.g. L"StoreSetValue A /EchoScu/TaskCount=3".
  std::vector<std::wstring> Trace() const;
  // Records call and returns its scripted result.
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
