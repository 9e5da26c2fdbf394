// Fuzzes sequences of store calls with fuzzed keys and values on one open file:
// nothing crashes or overruns, a value set is read back at once, counts are never
// negative, every save writes a file that checks clean, and only this process's
// own saves are ever seen as changes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFile.h"

namespace {

// Reads the fuzzer's bytes as a program of store calls; past the end it gives zeros.
class Program {
 public:
  Program(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // A text of fuzzed characters: mostly key material, sometimes any code point.
  std::wstring Text() {
    static const wchar_t kAlphabet[] = L"/[]0123456789AaBbZz_-.:\u00C4\u03B2 <&\"'";
    size_t length = Byte();
    if (length >= 250) length = 400 + Byte() * 2;  // around the 511-character limit
    std::wstring text;
    for (size_t i = 0; i < length && !done(); ++i) {
      const uint8_t b = Byte();
      if (b < 0xF0) {
        text += kAlphabet[b % (std::size(kAlphabet) - 1)];
      } else {
        const wchar_t c = static_cast<wchar_t>(Byte() << 16 | Byte() << 8 | Byte());
        if (c != L'\0') text += c;  // a C text ends at its first NUL
      }
    }
    return text;
  }

  // A key built from well-formed steps most of the time, else any text.
  std::wstring Key() {
    if (Byte() % 4 == 0) return Text();
    static const wchar_t* const kNames[] = {L"A",     L"B",      L"EchoScu", L"Syntax",
                                            L"a-b.c", L"\u00C4", L"_x",      L"TransferSyntax"};
    std::wstring key;
    for (int steps = 1 + Byte() % 4; steps > 0; --steps) {
      key += L'/';
      key += kNames[Byte() % std::size(kNames)];
      const uint8_t index = Byte();
      if (index < 64) key += L"[" + std::to_wstring(index % 12) + L"]";
    }
    return key;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// The largest index written in a key. Creating siblings up to it costs time and
// memory in proportion: indices the store still accepts but that reach far beyond
// any real list are not set, while those it refuses outright are.
unsigned long LargestIndex(const std::wstring& key) {
  unsigned long largest = 0;
  for (size_t open = key.find(L'['); open != std::wstring::npos; open = key.find(L'[', open + 1)) {
    largest = std::max(largest, std::wcstoul(key.c_str() + open + 1, nullptr, 10));
  }
  return largest;
}

// A value as the store keeps it: line ends as a file reads them back, "\r\n" and
// "\r" as "\n".
std::wstring WithLineFeeds(const std::wstring& value) {
  std::wstring kept;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == L'\r' && i + 1 < value.size() && value[i + 1] == L'\n') continue;
    kept += value[i] == L'\r' ? L'\n' : value[i];
  }
  return kept;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFile file;
  static const char kStart[] =
      "<?xml version=\"1.0\"?><Settings><A><B>b0</B><B>b1</B></A><!--c--><EchoScu "
      "x=\"1\"><TaskCount>1</TaskCount></EchoScu></Settings>";
  file.Write(kStart, sizeof kStart - 1);
  const wchar_t* path = file.c_path();
  Check(StoreOpen(path, 1) == STORE_OK);
  int opens = 1;
  Program program(data, size);
  while (!program.done() && opens > 0) {
    const uint8_t op = program.Byte() % 9;
    if (op <= 1) {
      const std::wstring key = program.Key();
      const std::wstring value = program.Text();
      const unsigned long largest = LargestIndex(key);
      if (largest > 1000 && largest < 1000000) continue;
      if (StoreSetValue(path, key.c_str(), value.c_str()) == STORE_OK) {
        std::wstring read;
        Check(GuardedGet(path, key.c_str(), &read) == STORE_OK && read == WithLineFeeds(value));
      }
    } else if (op == 2) {
      GuardedGet(path, program.Key().c_str(), nullptr);
    } else if (op == 3) {
      int count = -1;
      if (StoreGetNodeCount(&count, path, program.Key().c_str()) == STORE_OK) Check(count >= 0);
    } else if (op == 4) {
      Check(StoreSave(path) == STORE_OK);
      Check(StoreCheckFile(path, nullptr) == STORE_OK);
    } else if (op == 5) {
      Check(StoreLoad(path) == STORE_OK);
    } else if (op == 6) {
      int updated = -1;
      Check(StoreDataUpdateCheck(&updated, path) == STORE_OK && updated == 0);
    } else if (op == 7) {
      if (program.Byte() % 2 == 0) {
        Check(StoreOpen(path, 0) == STORE_OK);
        ++opens;
      } else {
        Check(StoreClose(path, 0) == STORE_OK);
        --opens;
      }
    } else {
      // Calls on a fuzzed path text: whatever they give, they must not crash.
      const std::wstring other = program.Text();
      wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
      int count;
      StoreGetValue(buffer, other.c_str(), L"/A");
      StoreGetNodeCount(&count, other.c_str(), L"/A");
      StoreSetValue(other.c_str(), L"/A", L"v");
      StoreDataUpdateCheck(&count, other.c_str());
      StoreLoad(other.c_str());
      StoreSave(other.c_str());
      StoreClose(other.c_str(), 0);
    }
  }
  while (opens-- > 0) Check(StoreClose(path, 1) == STORE_OK);
  Check(StoreClose(path, 1) == STORE_E_NOT_OPEN);
  return 0;
}
