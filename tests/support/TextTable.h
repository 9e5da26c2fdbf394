// Reading the plain-text tables that tests run (runs.txt, steps.txt, ...): every
// line that is neither blank nor a comment, its words, and the escapes its texts
// may use. Functions only, no state.
#ifndef DICOMSETTINGS_TESTS_TEXTTABLE_H
#define DICOMSETTINGS_TESTS_TEXTTABLE_H

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TempDir.h"

// The names a table's texts may use as {name}, with what they stand for.
using TextNames = std::map<std::string, std::string>;

// text with \n \r \t \a \0, \xHH, \uHHHH, \UHHHHHHHH, {name} and {TEXTxN} (TEXT, N
// times) expanded; every other byte stands for the character of its value.
inline std::wstring Expand(const std::string& text, const TextNames& names) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const size_t end = c == '{' ? text.find('}', i) : std::string::npos;
    if (c == '\\' && i + 1 < text.size()) {
      const char e = text[++i];
      const size_t digits = e == 'x' ? 2 : e == 'u' ? 4 : e == 'U' ? 8 : 0;
      const std::map<char, wchar_t> simple = {
          {'n', L'\n'}, {'r', L'\r'}, {'t', L'\t'}, {'a', L'\a'}, {'0', L'\0'}};
      const auto named = simple.find(e);
      if (digits > 0) {
        out += static_cast<wchar_t>(std::stoul(text.substr(i + 1, digits), nullptr, 16));
        i += digits;
      } else {
        out += named != simple.end() ? named->second : static_cast<wchar_t>(e);
      }
    } else if (end != std::string::npos) {
      const std::string inside = text.substr(i + 1, end - i - 1);
      const auto name = names.find(inside);
      const size_t times = inside.rfind('x');
      const bool named = name != names.end();
      const std::wstring unit = Expand(named ? name->second : inside.substr(0, times), names);
      for (size_t n = named ? 1 : std::stoul(inside.substr(times + 1)); n > 0; --n) out += unit;
      i = end;
    } else {
      out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return out;
}

// The bytes of a text made by Expand from bytes (every character below 256).
inline std::string Bytes(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) bytes += static_cast<char>(c);
  return bytes;
}

// The words of text, split at spaces, each expanded; "a word" in quotes is kept whole.
inline std::vector<std::wstring> Words(const std::string& text, const TextNames& names) {
  std::vector<std::wstring> words;
  std::istringstream in(text);
  for (std::string word; in >> std::quoted(word, '"', '\x01');)
    words.push_back(Expand(word, names));
  return words;
}

// The first word of text and the rest after the space that ends it.
inline std::pair<std::string, std::string> SplitFirst(const std::string& text) {
  const size_t space = text.find(' ');
  if (space == std::string::npos) return {text, ""};
  return {text.substr(0, space), text.substr(space + 1)};
}

// Calls each with every line of file that is neither blank nor a comment ("#"),
// its place in the file named in any failure.
inline void ForEachLine(const char* file, const std::function<void(const std::string&)>& each) {
  std::ifstream in(file);
  ASSERT_TRUE(in.is_open()) << file;
  int number = 0;
  int used = 0;
  for (std::string line; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(std::string(file) + ":" + std::to_string(number + 1) + ": " + line.substr(0, 100));
    each(line);
    ++used;
  }
  EXPECT_GT(used, 10) << file;
}

// The lines every table of files may use: "file NAME BODY" (a settings file
// holding BODY), "raw NAME TEXT", "keep NAME" and "unchanged NAME" (its bytes are
// still those kept), "disk NAME TEXT" and "begins NAME TEXT" (its bytes are, or
// begin with, TEXT), "mode NAME OCTAL [UID GID]" (sets them) and "hasmode" (expects
// them; owners only when run as root). False for any other verb.
inline bool FileLine(const std::string& verb, const std::string& file, const std::string& text,
                     std::string& kept) {
  if (verb == "file") {
    WriteTextFile(file, SettingsXml(text));
  } else if (verb == "raw") {
    WriteTextFile(file, text);
  } else if (verb == "keep") {
    kept = ReadTextFile(file);
  } else if (verb == "unchanged") {
    EXPECT_EQ(ReadTextFile(file), kept);
  } else if (verb == "disk" || verb == "begins") {
    EXPECT_EQ(ReadTextFile(file).substr(0, verb == "disk" ? std::string::npos : text.size()), text);
  } else if (verb == "mode" || verb == "hasmode") {
    unsigned mode = 0, uid = 0, gid = 0;
    std::istringstream(text) >> std::oct >> mode >> std::dec >> uid >> gid;
    const bool root = geteuid() == 0;
    if (verb == "mode") {  // chown first: it clears set-id bits
      EXPECT_TRUE((!root || chown(file.c_str(), uid, gid) == 0) && chmod(file.c_str(), mode) == 0);
    }
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
    EXPECT_TRUE(!root || (info.st_uid == uid && info.st_gid == gid));
  } else {
    return false;
  }
  return true;
}

// One line of a table of files, taken apart: its first word, the rest after it,
// the file its second word names in the table's directory, and what follows
// that word, as written and expanded.
struct FileTableLine {
  std::string line, verb, rest, file, body, text;
};

// Calls each with every line of table that FileLine does not take, its words
// expanded with names and its files in dir.
inline void ForEachFileTableLine(const char* table, const TempDir& dir, const TextNames& names,
                                 const std::function<void(const FileTableLine&)>& each) {
  std::string kept;
  ForEachLine(table, [&](const std::string& line) {
    FileTableLine row{line, "", "", "", "", ""};
    std::tie(row.verb, row.rest) = SplitFirst(line);
    std::string name;
    std::tie(name, row.body) = SplitFirst(row.rest);
    row.file = dir.File(name);
    row.text = Bytes(Expand(row.body, names));
    if (!FileLine(row.verb, row.file, row.text, kept)) each(row);
  });
}

#endif
