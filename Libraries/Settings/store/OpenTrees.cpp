// Opening, loading and saving settings trees on behalf of the store's functions.
#include "OpenTrees.h"

#include "KeyTreeStore.h"
#include "SourceChain.h"
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
  std::unique_ptr<Backing> backing;
  SettingsDocument document;
  std::vector<std::unique_ptr<Source>> parents;
  int result = MakeBacking(f.diskPath, &backing);
  if (result == STORE_OK) result = backing->Load(document, error);
  if (result == STORE_OK) result = ReadParents(f.diskPath, document, &parents, error);
  if (result != STORE_OK) return result;
  f.backing.swap(backing);
  f.document.Swap(document);
  f.parents.swap(parents);
  f.chainKeys.Clear();
  f.changes.clear();
  if (f.watch) f.watch->Reloaded();
  return STORE_OK;
}

int SaveTree(OpenTree& f) {
  const int result = f.backing->Save(f.document, f.changes, f.reason);
  if (result != STORE_OK) return result;
  // The save may have taken in another writer's version: nodes resolved before
  // may be gone.
  f.chainKeys.Clear();
  f.changes.clear();
  return STORE_OK;
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
  tree->diskPath = std::move(disk);
  result = make(*tree);
  if (result != STORE_OK) return result;
  std::lock_guard<std::mutex> guard(mutex_);
  // Another thread opened the same path meanwhile: its tree is the one shared.
  if (countOpen()) return countExisting ? STORE_OK : OpenAlready(tree->diskPath);
  tree->opens = 1;
  trees_.emplace(std::wstring_view(tree->pathText), tree);
  return STORE_OK;
}

int OpenTreeTable::Open(const wchar_t* path) {
  return Add(path, true, [](OpenTree& f) { return LoadTree(f, nullptr); });
}

int OpenTreeTable::Create(const wchar_t* path, bool over, const wchar_t* parent) {
  std::string link;
  if (parent != nullptr) {
    const int result = PathToDisk(parent, &link);
    if (result != STORE_OK) return result;
  }
  return Add(path, false, [&](OpenTree& f) {
    int result = MakeBacking(f.diskPath, &f.backing);
    if (result == STORE_OK) result = f.backing->Create(f.document, over);
    if (result != STORE_OK || parent == nullptr) return result;
    if (!f.document.Root().append_attribute("extends").set_value(link.c_str())) {
      return static_cast<int>(STORE_E_NO_MEMORY);
    }
    return ReadParents(f.diskPath, f.document, &f.parents, nullptr);
  });
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
