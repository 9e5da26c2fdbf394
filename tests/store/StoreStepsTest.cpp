// Runs the store calls steps.txt lists, in order, on files in one temporary
// directory, and compares each call's result (and the value, count or position
// it gives) with what the line says; steps.txt's opening comment tells its lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include "StoreTestSupport.h"
#include "TextTable.h"

namespace {

const char* const kResultNames[] = {"OK",    "NOT_OPEN", "NOT_FOUND", "BAD_KEY",      "NO_FILE",
                                    "PARSE", "IO",       "TOO_LONG",  "BAD_ARGUMENT", "NO_MEMORY"};

std::wstring Name(int result) {
  const std::string name = result >= 0 && result <= STORE_E_NO_MEMORY ? kResultNames[result] : "?";
  return std::wstring(name.begin(), name.end());
}

// text written in encoding by iconv, a UTF-16 one ("UTF-16LE", "UTF-16BE") after
// its byte-order mark.
std::string Encoded(const std::string& encoding, const std::wstring& text) {
  std::string out = encoding == "UTF-16LE" ? "\xFF\xFE" : encoding == "UTF-16BE" ? "\xFE\xFF" : "";
  const iconv_t cd = iconv_open(encoding.c_str(), "WCHAR_T");
  char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
  size_t left = text.size() * sizeof(wchar_t);
  std::string buffer(4 * text.size() + 16, '\0');
  char* to = &buffer[0];
  size_t room = buffer.size();
  EXPECT_NE(iconv(cd, &in, &left, &to, &room), static_cast<size_t>(-1)) << encoding;
  iconv_close(cd);
  return out + buffer.substr(0, buffer.size() - room);
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
  if (verb == L"create") result = StoreCreate(p);
  if (verb == L"over") result = StoreCreateOver(p);
  if (verb == L"load") result = StoreLoad(p);
  if (verb == L"save") result = StoreSave(p);
  if (verb == L"set") result = StoreSetValue(p, key, words.size() > 3 ? words[3].c_str() : L"");
  if (verb == L"get") result = StoreGetValue(buffer, p, key);
  if (verb == L"count") result = StoreGetNodeCount(&number, p, key);
  if (verb == L"update") result = StoreDataUpdateCheck(&number, p);
  if (verb == L"child") result = StoreCreateChild(p, key);
  if (verb == L"origin") result = StoreGetOrigin(&number, p, key);
  if (verb == L"drop") result = StoreRemoveNode(p, key);
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
  TempDir dir;
  const TextNames names = {{"dir", dir.path()}};
  ForEachFileTableLine(STORE_STEPS_FILE, dir, names, [&](const FileTableLine& row) {
    if (row.verb == "replace") {
      ReplaceOnDisk(row.file, SettingsXml(row.text));
    } else if (row.verb == "remove") {
      std::remove(row.file.c_str());
    } else if (row.verb == "mkdir") {
      mkdir(row.file.c_str(), 0755);
    } else if (row.verb == "touch") {
      const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
      utimensat(AT_FDCWD, row.file.c_str(), times, 0);
    } else if (row.verb == "failure") {
      const std::string failure = LastFailure(std::wstring(row.file.begin(), row.file.end()));
      EXPECT_NE(failure.find(Bytes(Words(row.body, names).front())), std::string::npos) << failure;
    } else if (row.verb == "entries") {
      std::vector<std::string> want;
      for (const std::wstring& word : Words(row.body, names)) want.push_back(Bytes(word));
      EXPECT_EQ(DirectoryEntries(row.file), want);
    } else if (row.verb == "encode" || row.verb == "encoded") {
      const size_t space = row.body.find(' ');
      const std::string bytes =
          Encoded(row.body.substr(0, space), Expand(row.body.substr(space + 1), names));
      if (row.verb == "encode") {
        WriteTextFile(row.file, bytes);
      } else {
        EXPECT_EQ(ReadTextFile(row.file), bytes);
      }
    } else if (row.verb == "link") {
      EXPECT_EQ(symlink(row.body.c_str(), row.file.c_str()), 0);
    } else if (row.verb == "islink") {
      struct stat info;
      EXPECT_TRUE(lstat(row.file.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    } else {
      const size_t equals = row.line.find(" = ");
      ASSERT_NE(equals, std::string::npos) << "a call without \" = \"";
      const std::vector<std::wstring> want = Words(row.line.substr(equals + 3), names);
      std::vector<std::wstring> got = Call(Words(row.line.substr(0, equals), names),
                                           std::wstring(row.file.begin(), row.file.end()));
      if (row.verb == "check" && got.size() > want.size()) got.resize(want.size());
      EXPECT_EQ(got, want);
    }
  });
}

}  // namespace
