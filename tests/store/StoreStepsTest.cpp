// Runs the store calls steps.txt lists, in order, on files in one temporary
// directory, and compares each call's result (and the value, count or position
// it gives) with what the line says; steps.txt's opening comment tells its lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iomanip>
#include <sstream>

#include "StoreTestSupport.h"

namespace {

const char* const kResultNames[] = {"OK",    "NOT_OPEN", "NOT_FOUND", "BAD_KEY",      "NO_FILE",
                                    "PARSE", "IO",       "TOO_LONG",  "BAD_ARGUMENT", "NO_MEMORY"};

std::wstring Name(int result) {
  const std::string name = result >= 0 && result <= STORE_E_NO_MEMORY ? kResultNames[result] : "?";
  return std::wstring(name.begin(), name.end());
}

// text with \n \r \t \0, \xHH, \uHHHH, \UHHHHHHHH, {dir} and {TEXTxN} (TEXT, N
// times) expanded; every other byte stands for itself.
std::wstring Expand(const std::string& text, const TempDir& dir) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const size_t end = c == '{' ? text.find('}', i) : std::string::npos;
    if (c == '\\' && i + 1 < text.size()) {
      const char e = text[++i];
      const size_t digits = e == 'x' ? 2 : e == 'u' ? 4 : e == 'U' ? 8 : 0;
      if (digits > 0) {
        out += static_cast<wchar_t>(std::stoul(text.substr(i + 1, digits), nullptr, 16));
        i += digits;
      } else {
        out += e == 'n'   ? L'\n'
               : e == 'r' ? L'\r'
               : e == 't' ? L'\t'
               : e == '0' ? L'\0'
                          : static_cast<wchar_t>(e);
      }
    } else if (end != std::string::npos) {
      const std::string inside = text.substr(i + 1, end - i - 1);
      const size_t times = inside.rfind('x');
      const std::wstring unit = Expand(inside == "dir" ? dir.path() : inside.substr(0, times), dir);
      for (size_t n = inside == "dir" ? 1 : std::stoul(inside.substr(times + 1)); n > 0; --n) {
        out += unit;
      }
      i = end;
    } else {
      out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return out;
}

std::string Bytes(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) bytes += static_cast<char>(c);
  return bytes;
}

// The words of text, split at spaces, each expanded; a word in double quotes is kept whole.
std::vector<std::wstring> Words(const std::string& text, const TempDir& dir) {
  std::vector<std::wstring> words;
  std::istringstream in(text);
  for (std::string word; in >> std::quoted(word, '"', '\x01');) words.push_back(Expand(word, dir));
  return words;
}

// What one call line gives: the result's name, then its value, count or position.
std::vector<std::wstring> Call(const std::vector<std::wstring>& words, const std::wstring& path) {
  const std::wstring& verb = words[0];
  const wchar_t* p = path.c_str();
  const wchar_t* key = words.size() > 2 ? words[2].c_str() : L"";
  wchar_t buffer[STORE_VALUE_BUFFER_LENGTH] = L"";
  int number = -7;
  int result = -1;
  if (verb == L"open") result = StoreOpen(p, 1);
  if (verb == L"close") result = StoreClose(p, 1);
  if (verb == L"load") result = StoreLoad(p);
  if (verb == L"save") result = StoreSave(p);
  if (verb == L"set") result = StoreSetValue(p, key, words.size() > 3 ? words[3].c_str() : L"");
  if (verb == L"get") result = StoreGetValue(buffer, p, key);
  if (verb == L"count") result = StoreGetNodeCount(&number, p, key);
  if (verb == L"update") result = StoreDataUpdateCheck(&number, p);
  std::vector<std::wstring> got{Name(result)};
  if (verb == L"check") {
    StoreParseError error;
    got = {Name(StoreCheckFile(p, &error))};
    if (error.result == STORE_E_PARSE) {
      got.push_back(std::to_wstring(error.line));
      got.push_back(std::to_wstring(error.column));
    }
  }
  if (result == STORE_OK && verb == L"get") got.push_back(buffer);
  if (result == STORE_OK && number != -7) got.push_back(std::to_wstring(number));
  EXPECT_TRUE(result == STORE_OK || number == -7) << "a count written on failure";
  return got;
}

TEST(StoreSteps, EveryCallGivesWhatStepsTxtSays) {
  std::ifstream in(STORE_STEPS_FILE);
  ASSERT_TRUE(in.is_open()) << STORE_STEPS_FILE;
  TempDir dir;
  std::string kept;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE("steps.txt:" + std::to_string(number) + ": " + line.substr(0, 100));
    const std::string verb = line.substr(0, line.find(' '));
    const std::string rest = line.substr(std::min(line.find(' '), line.size() - 1) + 1);
    const std::string name = dir.File(rest.substr(0, rest.find(' ')));
    const std::string text =
        Bytes(Expand(rest.substr(std::min(rest.find(' '), rest.size() - 1) + 1), dir));
    if (verb == "file") {
      WriteTextFile(name, SettingsXml(text));
    } else if (verb == "raw") {
      WriteTextFile(name, text);
    } else if (verb == "replace") {
      ReplaceOnDisk(name, SettingsXml(text));
    } else if (verb == "remove") {
      std::remove(name.c_str());
    } else if (verb == "mkdir") {
      mkdir(name.c_str(), 0755);
    } else if (verb == "disk") {
      EXPECT_EQ(ReadTextFile(name), text);
    } else if (verb == "keep") {
      kept = ReadTextFile(name);
    } else if (verb == "unchanged") {
      EXPECT_EQ(ReadTextFile(name), kept);
    } else if (verb == "entries") {
      std::vector<std::string> want;
      for (const std::wstring& word : Words(rest, dir)) want.push_back(Bytes(word));
      EXPECT_EQ(DirectoryEntries(dir.path()), want);
    } else {
      const size_t equals = line.find(" = ");
      ASSERT_NE(equals, std::string::npos) << "a call without \" = \"";
      const std::vector<std::wstring> want = Words(line.substr(equals + 3), dir);
      std::vector<std::wstring> got =
          Call(Words(line.substr(0, equals), dir), std::wstring(name.begin(), name.end()));
      if (verb == "check" && got.size() > want.size()) got.resize(want.size());
      EXPECT_EQ(got, want);
    }
  }
  EXPECT_GT(number, 100);
}

}  // namespace
