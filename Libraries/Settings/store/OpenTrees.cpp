// Opening, loading and saving settings trees on behalf of the store's functions.
#include "OpenTrees.h"

#include "KeyTreeStore.h"
#include "text/Printable.h"
#include "text/Utf8.h"
#include "util/FailureNote.h"

namespace keytreestore {

OpenTreeTable& OpenTreeTable::Instance() {
  static OpenTreeTable table;
  return table;
}

int PathToDisk(const wchar_t* path, std::string* disk) {
  if (path == nullptr || path[0] == L'\0') {
    NoteFailure("no path given");
    return STORE_E_BAD_ARGUMENT;
  }
  if (wcsnlen(path, STORE_MAX_PATH_LENGTH + 1) > STORE_MAX_PATH_LENGTH) {
    NoteFailure("path longer than %d characters", STORE_MAX_PATH_LENGTH);
    return STORE_E_TOO_LONG;
  }
  disk->clear();
  if (AppendUtf8(*disk, path)) return STORE_OK;
  NoteFailure("the path holds a character UTF-8 cannot carry");
  return STORE_E_BAD_ARGUMENT;
}

int LoadTree(OpenTree& f, StoreParseError* error) {
  const int result = f.backing->Load(f.document, error);
  if (result == STORE_OK) f.changes.clear();
  return result;
}

int SaveTree(OpenTree& f) {
  const int result = f.backing->Save(f.document, f.changes);
  if (result == STORE_OK) f.changes.clear();
  return result;
}

namespace {
int OpenAlready(const std::string& path) {
  NoteFailure("%s is open in this process already", Printable(path).c_str());
  return STORE_E_IO;
}
}  // namespace

template <class Make>
int OpenTreeTable::Add(const wchar_t* path, bool countExisting, Make make) {
  std::string disk;
  int result = PathToDisk(path, &disk);
  if (result != STORE_OK) return result;
  const auto countOpen = [&]() {
    auto found = trees_.find(std::wstring_view(path));
    if (found == trees_.end()) return false;
    if (countExisting) ++found->second->opens;
    return true;
  };
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (countOpen()) return countExisting ? STORE_OK : OpenAlready(disk);
  }
  // Read without the table's lock: reaching a cluster may take seconds, and every
  // call on every other open path looks the table up.
  auto tree = std::make_shared<OpenTree>();
  tree->pathText = path;
  result = MakeBacking(disk, &tree->backing);
  if (result == STORE_OK) result = make(*tree);
  if (result != STORE_OK) return result;
  std::lock_guard<std::mutex> guard(mutex_);
  // Another thread opened the same path meanwhile: its tree is the one shared.
  if (countOpen()) return countExisting ? STORE_OK : OpenAlready(disk);
  tree->opens = 1;
  trees_.emplace(std::wstring_view(tree->pathText), tree);
  return STORE_OK;
}

int OpenTreeTable::Open(const wchar_t* path) {
  return Add(path, true, [](OpenTree& f) { return LoadTree(f, nullptr); });
}

int OpenTreeTable::Create(const wchar_t* path, bool over) {
  return Add(path, false, [over](OpenTree& f) { return f.backing->Create(f.document, over); });
}

int OpenTreeTable::Close(const wchar_t* path) {
  if (path == nullptr || path[0] == L'\0') return STORE_E_BAD_ARGUMENT;
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = trees_.find(std::wstring_view(path));
  if (found == trees_.end()) return STORE_E_NOT_OPEN;
  if (--found->second->opens == 0) trees_.erase(found);
  return STORE_OK;
}

std::shared_ptr<OpenTree> OpenTreeTable::Find(const wchar_t* path) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = trees_.find(std::wstring_view(path));
  return found == trees_.end() ? nullptr : found->second;
}

}  // namespace keytreestore
