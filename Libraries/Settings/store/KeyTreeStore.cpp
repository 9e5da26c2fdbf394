// The store's C functions: argument checks, then the open tree under its lock;
// each call ends in FinishCall, which keeps a failure for StoreLastFailure.
#include "KeyTreeStore.h"

#include <cstring>
#include <new>

#include "HistoryRevert.h"
#include "LastFailure.h"
#include "OpenTrees.h"
#include "SourceChain.h"
#include "file/FileBacking.h"
#include "text/Utf8.h"
#include "text/XmlChar.h"
#include "util/FailureNote.h"

using keytreestore::FinishCall;
using keytreestore::OpenTree;
using keytreestore::OpenTreeTable;
using keytreestore::ParsedKey;

namespace {

// Runs fn, turning an allocation failure into STORE_E_NO_MEMORY, and ends the
// call (a failure is kept for StoreLastFailure).
template <class Fn>
int Call(const wchar_t* path, Fn fn) {
  int result;
  try {
    result = fn();
  } catch (const std::bad_alloc&) {
    result = STORE_E_NO_MEMORY;
  }
  return FinishCall(path, result);
}

// Runs fn with the open tree of path locked; results of bad paths and of paths
// that are not open come first.
template <class Fn>
int WithOpenTree(const wchar_t* path, Fn fn) {
  return Call(path, [&]() {
    if (path == nullptr || path[0] == L'\0') return static_cast<int>(STORE_E_BAD_ARGUMENT);
    std::shared_ptr<OpenTree> tree = OpenTreeTable::Instance().Find(path);
    if (!tree) return static_cast<int>(STORE_E_NOT_OPEN);
    std::lock_guard<std::mutex> guard(tree->mutex);
    return fn(*tree);
  });
}

// Copies text with its NUL into buffer (capacity bytes): false, nothing written,
// when it does not fit or there is no buffer.
bool CopyOut(const std::string& text, char* buffer, size_t capacity) {
  if (buffer == nullptr || capacity <= text.size()) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

extern "C" {

int StoreOpen(const wchar_t* path, int /*comInitFlag: no use on this platform*/) {
  return Call(path, [&]() { return OpenTreeTable::Instance().Open(path); });
}

int StoreCreate(const wchar_t* path) {
  return Call(path, [&]() { return OpenTreeTable::Instance().Create(path, false); });
}

int StoreCreateOver(const wchar_t* path) {
  return Call(path, [&]() { return OpenTreeTable::Instance().Create(path, true); });
}

int StoreCreateChild(const wchar_t* path, const wchar_t* parent) {
  if (parent == nullptr || parent[0] == L'\0') return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return Call(path, [&]() { return OpenTreeTable::Instance().Create(path, false, parent); });
}

int StoreClose(const wchar_t* path, int /*comInitFlag*/) {
  return Call(path, [&]() { return OpenTreeTable::Instance().Close(path); });
}

int StoreLoad(const wchar_t* path) {
  return WithOpenTree(path, [](OpenTree& f) { return keytreestore::LoadTree(f, nullptr); });
}

int StoreSave(const wchar_t* path) {
  return WithOpenTree(path, [](OpenTree& f) { return keytreestore::SaveTree(f); });
}

int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key) {
  if (buffer == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    pugi::xml_node node;
    const int result = keytreestore::LookupNode(f, key, &node);
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
    char text[keytreestore::kMaxValueUtf8];
    size_t size = 0;
    result = keytreestore::ValueToUtf8(value, text, &size);
    if (result != STORE_OK) return result;
    if (!f.backing->Holds(text, size) || (!node && !f.backing->HoldsNames(parsed))) {
      keytreestore::NoteFailure("the value holds a character %s cannot hold",
                                f.backing->EncodingName().c_str());
      return static_cast<int>(STORE_E_BAD_ARGUMENT);
    }
    bool refused = false;
    if (node) {
      pugi::xml_node area = node;
      while (area.parent() != f.document.Root()) area = area.parent();
      f.changes.KeepArea(f.document.Root(), area.name(), std::strlen(area.name()));
    } else {
      node = keytreestore::WritableNode(f, parsed, key, &refused);
    }
    if (refused) return static_cast<int>(STORE_E_BAD_KEY);
    if (!node || !node.text().set(text)) return static_cast<int>(STORE_E_NO_MEMORY);
    f.changes.Set(node, key, text, size);
    return static_cast<int>(STORE_OK);
  });
}

int StoreRemoveNode(const wchar_t* path, const wchar_t* key) {
  return WithOpenTree(path, [&](OpenTree& f) {
    ParsedKey parsed;
    const int result = parsed.Parse(key);
    return result != STORE_OK ? result : keytreestore::RemoveNode(f, parsed, key);
  });
}

int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key) {
  if (count == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    ParsedKey parsed;
    const int result = parsed.Parse(key);
    if (result != STORE_OK) return result;
    *count = keytreestore::CountNodes(f, parsed);
    return static_cast<int>(STORE_OK);
  });
}

int StoreDataUpdateCheck(int* updated, const wchar_t* path) {
  if (updated == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    // A whole watch has looked already: its flag is the answer, without a system call.
    if (f.watch && f.watch->Live()) {
      *updated = f.watch->Changed() ? 1 : 0;
      return static_cast<int>(STORE_OK);
    }
    return keytreestore::UpdateCheckChain(f, updated);
  });
}

int StoreWatch(const wchar_t* path, int* fd) {
  if (fd == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    int result = f.watch ? STORE_OK : keytreestore::TreeWatch::Start(f, &f.watch);
    if (result == STORE_OK) *fd = f.watch->fd();
    return result;
  });
}

int StoreGetRevision(const wchar_t* path, long long* revision) {
  if (revision == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    *revision = f.backing->KeptRevision();
    return static_cast<int>(STORE_OK);
  });
}

int StoreWaitForChange(const wchar_t* path, int timeoutMs, int* changed) {
  if (changed == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  std::shared_ptr<keytreestore::TreeWatch> watch;
  const int result = WithOpenTree(path, [&](OpenTree& f) {
    watch = f.watch;
    if (!watch) keytreestore::NoteFailure("the settings are not watched: StoreWatch first");
    return static_cast<int>(watch ? STORE_OK : STORE_E_BAD_ARGUMENT);
  });
  if (result != STORE_OK) return result;
  // Waited for without the tree's lock, which the watch's own check takes.
  *changed = watch->Wait(timeoutMs);
  return STORE_OK;
}

int StoreUnwatch(const wchar_t* path) {
  std::shared_ptr<keytreestore::TreeWatch> watch;
  // Stopped outside the tree's lock, which its thread may be waiting for.
  return WithOpenTree(path, [&](OpenTree& f) {
    watch.swap(f.watch);
    return static_cast<int>(STORE_OK);
  });
}

int StoreGetSource(wchar_t* buffer, size_t capacity, const wchar_t* path, int depth) {
  if (buffer == nullptr || capacity == 0) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    buffer[0] = L'\0';
    if (depth < 0 || static_cast<size_t>(depth) > f.parents.size()) {
      return static_cast<int>(STORE_E_NOT_FOUND);
    }
    const std::string& source = depth == 0 ? f.diskPath : f.parents[depth - 1]->path;
    if (keytreestore::Utf8ToWide(source.data(), source.size(), buffer, capacity) < 0) {
      buffer[0] = L'\0';
      return static_cast<int>(STORE_E_TOO_LONG);
    }
    return static_cast<int>(STORE_OK);
  });
}

int StoreGetOrigin(int* depth, const wchar_t* path, const wchar_t* key) {
  if (depth == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) { return keytreestore::LookupOrigin(f, key, depth); });
}

int StoreGetCopyStatus(const wchar_t* path, StoreCopyStatus* status) {
  if (status == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    // The first source of the chain read from a copy, if any is.
    f.backing->CopyStatus(status);
    for (size_t i = 0; i < f.parents.size() && status->served == 0; ++i) {
      f.parents[i]->backing->CopyStatus(status);
    }
    return static_cast<int>(STORE_OK);
  });
}

int StoreGetEncoding(const wchar_t* path, char* buffer, size_t capacity) {
  if (buffer == nullptr || capacity == 0) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    if (CopyOut(f.backing->EncodingName(), buffer, capacity)) return static_cast<int>(STORE_OK);
    buffer[0] = '\0';
    return static_cast<int>(STORE_E_TOO_LONG);
  });
}

int StoreReadFileText(const wchar_t* path, char* buffer, size_t capacity, size_t* length,
                      char* encoding, size_t encodingCapacity) {
  if (length == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return Call(path, [&]() {
    std::string disk;
    std::string text;
    std::string name;
    int result = keytreestore::PathToDisk(path, &disk);
    if (result == STORE_OK && keytreestore::NamesEtcd(path)) {
      keytreestore::NoteFailure("settings under an etcd prefix are no file");
      result = STORE_E_BAD_ARGUMENT;
    }
    if (result == STORE_OK) result = keytreestore::ReadFileText(disk, &text, &name);
    if (result != STORE_OK) return result;
    *length = text.size();
    const bool fits = buffer != nullptr && capacity > text.size() && encoding != nullptr &&
                      encodingCapacity > name.size();
    if (!fits) return static_cast<int>(STORE_E_TOO_LONG);
    CopyOut(text, buffer, capacity);
    CopyOut(name, encoding, encodingCapacity);
    return static_cast<int>(STORE_OK);
  });
}

int StoreSetEncoding(const wchar_t* path, const char* encoding) {
  if (encoding == nullptr || encoding[0] == '\0') return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    const int result = f.backing->SetEncoding(f.document, encoding);
    if (result == STORE_OK) f.chainKeys.Clear();
    return result;
  });
}

int StoreExportText(const wchar_t* path, char* buffer, size_t capacity, size_t* length) {
  if (length == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return WithOpenTree(path, [&](OpenTree& f) {
    const std::string text = f.document.Serialize();
    *length = text.size();
    return static_cast<int>(CopyOut(text, buffer, capacity) ? STORE_OK : STORE_E_TOO_LONG);
  });
}

int StoreSetChangeReason(const wchar_t* path, const wchar_t* reason) {
  return WithOpenTree(path, [&](OpenTree& f) {
    if (reason == nullptr || reason[0] == L'\0') {
      f.reason.reset();
      return static_cast<int>(STORE_OK);
    }
    char text[keytreestore::kMaxValueUtf8];
    size_t size = 0;
    const int result = keytreestore::ValueToUtf8(reason, text, &size);
    if (result == STORE_OK) f.reason = std::string(text, size);
    return result;
  });
}

int StoreReadHistory(const wchar_t* path, char* buffer, size_t capacity, size_t* length) {
  if (length == nullptr) return FinishCall(path, STORE_E_BAD_ARGUMENT);
  return Call(path, [&]() {
    std::string disk;
    std::unique_ptr<keytreestore::Backing> backing;
    keytreestore::History history;
    int result = keytreestore::PathToDisk(path, &disk);
    if (result == STORE_OK) result = keytreestore::MakeBacking(disk, &backing);
    if (result == STORE_OK) result = backing->ReadHistory(&history);
    if (result != STORE_OK) return result;
    const std::string text = keytreestore::HistoryToJson(history);
    *length = text.size();
    return static_cast<int>(CopyOut(text, buffer, capacity) ? STORE_OK : STORE_E_TOO_LONG);
  });
}

int StoreRevertTo(const wchar_t* path, long long id) {
  return WithOpenTree(path, [&](OpenTree& f) {
    const int result = keytreestore::RevertTo(f, id);
    f.chainKeys.Clear();
    return result;
  });
}

int StoreCheckFile(const wchar_t* path, StoreParseError* error) {
  StoreParseError local;
  if (error == nullptr) error = &local;
  *error = StoreParseError{STORE_OK, 0, 0, ""};
  const int result = Call(path, [&]() {
    OpenTree tree;
    int read = keytreestore::PathToDisk(path, &tree.diskPath);
    if (read == STORE_OK) read = keytreestore::LoadTree(tree, error);
    return read;
  });
  if (result != STORE_OK && error->result == STORE_OK) {
    error->result = result;
    keytreestore::DescribeLastFailure(path, error->text, sizeof error->text);
  }
  return result;
}

int StoreLastFailure(const wchar_t* path, StoreFailure* failure) {
  if (failure == nullptr) return STORE_E_BAD_ARGUMENT;
  failure->result = keytreestore::DescribeLastFailure(path, failure->text, sizeof failure->text);
  return STORE_OK;
}

const char* StoreResultText(int result) {
  switch (result) {
    case STORE_OK:
      return "success";
    case STORE_E_NOT_OPEN:
      return "the settings are not open";
    case STORE_E_NOT_FOUND:
      return "no setting under that key";
    case STORE_E_BAD_KEY:
      return "malformed key";
    case STORE_E_NO_FILE:
      return "no settings there: no such file, or nothing under the etcd prefix";
    case STORE_E_PARSE:
      return "not a well-formed settings file";
    case STORE_E_IO:
      return "reading or writing the settings failed";
    case STORE_E_TOO_LONG:
      return "value, key or path too long";
    case STORE_E_BAD_ARGUMENT:
      return "invalid argument: null or empty, a malformed path, or a character XML cannot hold";
    case STORE_E_NO_MEMORY:
      return "out of memory";
    default:
      return "unknown result code";
  }
}

}  // extern "C"
