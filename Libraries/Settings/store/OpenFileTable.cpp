// Opening, loading and saving settings files on behalf of the store's functions.
#include "OpenFileTable.h"

#include "KeyTreeStore.h"
#include "Utf8.h"

namespace keytreestore {
namespace {
constexpr int kSaveLockTimeoutMs = 10000;
}  // namespace

OpenFileTable& OpenFileTable::Instance() {
  static OpenFileTable table;
  return table;
}

int PathToDisk(const wchar_t* path, std::string* disk) {
  if (path == nullptr || path[0] == L'\0') return STORE_E_BAD_ARGUMENT;
  if (wcsnlen(path, STORE_MAX_PATH_LENGTH + 1) > STORE_MAX_PATH_LENGTH) return STORE_E_TOO_LONG;
  disk->clear();
  return AppendUtf8(*disk, path) ? STORE_OK : STORE_E_BAD_ARGUMENT;
}

int LoadFromDisk(OpenFile& f, StoreParseError* error) {
  std::string bytes;
  FileIdentity identity;
  int result = ReadWholeFile(f.diskPath, &bytes, &identity);
  if (result == STORE_OK) result = f.document.Parse(bytes, error);
  if (result == STORE_OK) {
    f.identity = identity;
    f.changes.clear();
  }
  return result;
}

int SaveToDisk(OpenFile& f) {
  const std::string target = ResolveLinks(f.diskPath);
  SaveLock lock;
  if (lock.Acquire(target, kSaveLockTimeoutMs) != STORE_OK) return STORE_E_IO;
  RemoveStaleTemporaries(target);
  // A file that cannot be looked at is not taken for a missing one: that would
  // save over another writer's version and drop the file's permission bits.
  FileIdentity onDisk;
  if (StatExisting(target, &onDisk) != STORE_OK) return STORE_E_IO;
  SettingsDocument merged;
  const bool merging = onDisk.exists && !onDisk.SameVersion(f.identity);
  if (merging) {
    // Another writer saved since this process loaded: start from its version and
    // put this process's own changes on top. The tree in memory changes only once
    // the merged version is safely on disk.
    std::string bytes;
    int result = ReadWholeFile(target, &bytes, &onDisk);
    if (result == STORE_OK) result = merged.Parse(bytes, nullptr);
    if (result != STORE_OK) return result;
    for (const auto& change : f.changes) {
      ParsedKey key;
      if (key.Parse(change.second.first.c_str()) != STORE_OK) continue;
      pugi::xml_node node = merged.FindOrCreate(key);
      if (!node || !node.text().set(change.second.second.c_str())) return STORE_E_NO_MEMORY;
    }
  }
  FileIdentity saved;
  const std::string bytes = (merging ? merged : f.document).Serialize();
  const int result = ReplaceFile(target, bytes, onDisk, &saved);
  if (result != STORE_OK) return result;
  if (merging) f.document.Swap(merged);
  f.identity = saved;
  f.changes.clear();
  return STORE_OK;
}

int OpenFileTable::Open(const wchar_t* path) {
  std::string disk;
  const int checked = PathToDisk(path, &disk);
  if (checked != STORE_OK) return checked;
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = files_.find(std::wstring_view(path));
  if (found != files_.end()) {
    ++found->second->opens;
    return STORE_OK;
  }
  auto file = std::make_shared<OpenFile>();
  file->pathText = path;
  file->diskPath = std::move(disk);
  const int loaded = LoadFromDisk(*file, nullptr);
  if (loaded != STORE_OK) return loaded;
  file->opens = 1;
  files_.emplace(std::wstring_view(file->pathText), file);
  return STORE_OK;
}

int OpenFileTable::Close(const wchar_t* path) {
  if (path == nullptr || path[0] == L'\0') return STORE_E_BAD_ARGUMENT;
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = files_.find(std::wstring_view(path));
  if (found == files_.end()) return STORE_E_NOT_OPEN;
  if (--found->second->opens == 0) files_.erase(found);
  return STORE_OK;
}

std::shared_ptr<OpenFile> OpenFileTable::Find(const wchar_t* path) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = files_.find(std::wstring_view(path));
  return found == files_.end() ? nullptr : found->second;
}

}  // namespace keytreestore
