// The store's C functions: argument checks, then the open tree under its lock.
#include "KeyTreeStore.h"

#include <cstring>
#include <new>

#include "OpenTrees.h"
#include "text/Utf8.h"

using keytreestore::OpenTree;
using keytreestore::OpenTreeTable;
using keytreestore::ParsedKey;

namespace {

// Runs fn with the open file of path locked; results of bad paths and of files
// that are not open come first. Allocation failures become STORE_E_NO_MEMORY.
template <class Fn>
int WithOpenTree(const wchar_t* path, Fn fn) {
  if (path == nullptr || path[0] == L'\0') return STORE_E_BAD_ARGUMENT;
  try {
    std::shared_ptr<OpenTree> file = OpenTreeTable::Instance().Find(path);
    if (!file) return STORE_E_NOT_OPEN;
    std::lock_guard<std::mutex> guard(file->mutex);
    return fn(*file);
  } catch (const std::bad_alloc&) {
    return STORE_E_NO_MEMORY;
  }
}

// A value text as UTF-8 into out (STORE_MAX_VALUE_LENGTH * 4 + 1 bytes, NUL
// terminated, *size bytes): STORE_OK, STORE_E_TOO_LONG, or STORE_E_BAD_ARGUMENT
// for characters an XML 1.0 file cannot hold.
int ValueToUtf8(const wchar_t* value, char* out, size_t* size) {
  if (value == nullptr) return STORE_E_BAD_ARGUMENT;
  if (wcsnlen(value, STORE_MAX_VALUE_LENGTH + 1) > STORE_MAX_VALUE_LENGTH) return STORE_E_TOO_LONG;
  size_t used = 0;
  for (const wchar_t* p = value; *p != L'\0'; ++p) {
    // Line ends are kept as XML reads them back from a file: "\r\n" and "\r" as "\n".
    if (*p == L'\r' && p[1] == L'\n') continue;
    const wchar_t c = *p == L'\r' ? L'\n' : *p;
    const bool control = c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r';
    if (control || c == 0xFFFE || c == 0xFFFF || !keytreestore::IsScalarValue(c)) {
      return STORE_E_BAD_ARGUMENT;
    }
    used += keytreestore::EncodeUtf8(c, out + used);
  }
  out[used] = '\0';
  *size = used;
  return STORE_OK;
}

}  // namespace

extern "C" {

int StoreOpen(const wchar_t* path, int /*comInitFlag: no use on this platform*/) {
  try {
    return OpenTreeTable::Instance().Open(path);
  } catch (const std::bad_alloc&) {
    return STORE_E_NO_MEMORY;
  }
}

int StoreCreate(const wchar_t* path) {
  try {
    return OpenTreeTable::Instance().Create(path);
  } catch (const std::bad_alloc&) {
    return STORE_E_NO_MEMORY;
  }
}

int StoreClose(const wchar_t* path, int /*comInitFlag*/) {
  return OpenTreeTable::Instance().Close(path);
}

int StoreLoad(const wchar_t* path) {
  return WithOpenTree(path, [](OpenTree& f) { return keytreestore::LoadTree(f, nullptr); });
}

int StoreSave(const wchar_t* path) {
  return WithOpenTree(path, [](OpenTree& f) { return keytreestore::SaveTree(f); });
}

int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key) {
  if (buffer == nullptr) return STORE_E_BAD_ARGUMENT;
  return WithOpenTree(path, [&](OpenTree& f) {
    pugi::xml_node node;
    const int result = f.document.Lookup(key, &node);
    if (result != STORE_OK) return result;
    return keytreestore::ReadNodeText(node, buffer);
  });
}

int StoreSetValue(const wchar_t* path, const wchar_t* key, const wchar_t* value) {
  return WithOpenTree(path, [&](OpenTree& f) {
    // A key text resolved before names its node still; any other is parsed first.
    pugi::xml_node node = f.document.Remembered(key);
    ParsedKey parsed;
    int result = node ? STORE_OK : parsed.Parse(key);
    if (result != STORE_OK) return result;
    char text[STORE_MAX_VALUE_LENGTH * 4 + 1];
    size_t size = 0;
    result = ValueToUtf8(value, text, &size);
    if (result != STORE_OK) return result;
    bool refused = false;
    if (!node) node = f.document.FindOrCreate(parsed, key, &refused);
    if (refused) return static_cast<int>(STORE_E_BAD_KEY);
    if (!node || !node.text().set(text)) return static_cast<int>(STORE_E_NO_MEMORY);
    keytreestore::RecordChange(f.changes, node, key, text, size);
    return static_cast<int>(STORE_OK);
  });
}

int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key) {
  if (count == nullptr) return STORE_E_BAD_ARGUMENT;
  return WithOpenTree(path, [&](OpenTree& f) {
    ParsedKey parsed;
    const int result = parsed.Parse(key);
    if (result != STORE_OK) return result;
    *count = f.document.Count(parsed);
    return static_cast<int>(STORE_OK);
  });
}

int StoreDataUpdateCheck(int* updated, const wchar_t* path) {
  if (updated == nullptr) return STORE_E_BAD_ARGUMENT;
  return WithOpenTree(path, [&](OpenTree& f) { return f.backing->UpdateCheck(updated); });
}

int StoreExportText(const wchar_t* path, char* buffer, size_t capacity, size_t* length) {
  if (length == nullptr) return STORE_E_BAD_ARGUMENT;
  return WithOpenTree(path, [&](OpenTree& f) {
    const std::string text = f.document.Serialize();
    *length = text.size();
    if (buffer == nullptr || capacity <= text.size()) return static_cast<int>(STORE_E_TOO_LONG);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(STORE_OK);
  });
}

int StoreCheckFile(const wchar_t* path, StoreParseError* error) {
  StoreParseError local;
  if (error == nullptr) error = &local;
  *error = StoreParseError{STORE_OK, 0, 0, ""};
  try {
    OpenTree file;
    std::string disk;
    int result = keytreestore::PathToDisk(path, &disk);
    if (result == STORE_OK) result = keytreestore::MakeBacking(disk, &file.backing);
    if (result == STORE_OK) result = keytreestore::LoadTree(file, error);
    if (result != STORE_OK && error->result == STORE_OK) {
      error->result = result;
      std::snprintf(error->text, sizeof error->text, "%s", StoreResultText(result));
    }
    return result;
  } catch (const std::bad_alloc&) {
    error->result = STORE_E_NO_MEMORY;
    return STORE_E_NO_MEMORY;
  }
}

const char* StoreResultText(int result) {
  switch (result) {
    case STORE_OK:
      return "success";
    case STORE_E_NOT_OPEN:
      return "the settings file is not open";
    case STORE_E_NOT_FOUND:
      return "no setting under that key";
    case STORE_E_BAD_KEY:
      return "malformed key";
    case STORE_E_NO_FILE:
      return "no such file";
    case STORE_E_PARSE:
      return "not a well-formed settings file";
    case STORE_E_IO:
      return "reading or writing the file failed";
    case STORE_E_TOO_LONG:
      return "value, key or path too long";
    case STORE_E_BAD_ARGUMENT:
      return "null or empty argument";
    case STORE_E_NO_MEMORY:
      return "out of memory";
    case 201:
      return "the object is not in the right open state";
    default:
      return "unknown result code";
  }
}

}  // extern "C"
