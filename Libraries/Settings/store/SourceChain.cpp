// Reading the chain of sources an open tree extends, and resolving over it.
#include "SourceChain.h"

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <new>
#include <utility>

#include "KeyTreeStore.h"
#include "etcd/EtcdPath.h"
#include "file/FileVersion.h"
#include "text/Printable.h"
#include "tree/Overlay.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// Most key texts remembered over a chain: every spelling of every key of a large
// settings file, and no more however many are asked for.
constexpr size_t kMaxChainKeys = 16384;

// What a source is known by when looking for a cycle: a file by its real path
// where it exists (another spelling or a link to it is the same file).
std::string Identity(const std::string& path) {
  char resolved[PATH_MAX];
  if (IsEtcdPath(path) || realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

// Refuses the link of the settings at path: STORE_E_PARSE, noted and in *error.
int Malformed(const std::string& path, const char* link, const char* why, StoreParseError* error) {
  NoteFailure("%s: extends=\"%s\": %s", Printable(path).c_str(), Printable(link).c_str(), why);
  if (error != nullptr) {
    *error = StoreParseError{STORE_E_PARSE, 0, 0, ""};
    std::snprintf(error->text, sizeof error->text, "extends=\"%s\": %s",
                  Printable(link, 40).c_str(), why);
  }
  return STORE_E_PARSE;
}

// The path the link of the settings at child names, or the reason it is refused.
const char* ParentPath(const std::string& child, const std::string& link, std::string* parent) {
  size_t characters = 0;
  for (const char c : link) {
    if ((static_cast<unsigned char>(c) < 0x20) || c == 0x7F) return "a control character";
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  if (characters > STORE_MAX_PATH_LENGTH) return "longer than 4095 characters";
  if (IsEtcdPath(link) || link[0] == '/') {
    *parent = link;
  } else if (IsEtcdPath(child)) {
    return "a relative file path names no file under an etcd prefix";
  } else {
    *parent = DirectoryOf(child) + '/' + link;
  }
  return nullptr;
}

// f's trees, nearest first, into trees (kMaxStackedTrees long): their number.
size_t Stack(OpenTree& f, SettingsDocument** trees) {
  size_t count = 0;
  trees[count++] = &f.document;
  for (const auto& source : f.parents) trees[count++] = &source->document;
  return count;
}

}  // namespace

int ReadParents(const std::string& path, const SettingsDocument& document,
                std::vector<std::unique_ptr<Source>>* parents, StoreParseError* error) {
  std::vector<std::string> seen{Identity(path)};
  std::vector<std::unique_ptr<Source>> read;
  const SettingsDocument* current = &document;
  std::string currentPath = path;
  for (;;) {
    const std::string link = current->Root().attribute("extends").value();
    if (link.empty()) break;
    auto source = std::make_unique<Source>();
    if (const char* why = ParentPath(currentPath, link, &source->path)) {
      return Malformed(currentPath, link.c_str(), why, error);
    }
    std::string identity = Identity(source->path);
    for (const std::string& known : seen) {
      if (known == identity) return Malformed(currentPath, link.c_str(), "a cycle", error);
    }
    if (seen.size() == kMaxStackedTrees) {
      return Malformed(currentPath, link.c_str(), "more than 8 sources in one chain", error);
    }
    StoreParseError fault{STORE_OK, 0, 0, ""};
    int result = MakeBacking(source->path, &source->backing);
    if (result == STORE_OK) result = source->backing->Load(source->document, nullptr);
    if (result != STORE_OK) {
      // Where a source is malformed is found by reading it again, which only a
      // failure pays for. Its line and column are the source's, not those of the
      // settings checked: they go into the note with the source's path.
      if (result == STORE_E_PARSE) source->backing->Load(source->document, &fault);
      if (fault.line > 0) {
        NoteFailure("%s:%d:%d: %s", Printable(source->path).c_str(), fault.line, fault.column,
                    fault.text);
      }
      NoteFailure("%s extends it", Printable(currentPath).c_str());
      if (error != nullptr && result == STORE_E_PARSE) {
        *error =
            StoreParseError{STORE_E_PARSE, 0, 0, "a source these settings extend is malformed"};
      }
      return result;
    }
    seen.push_back(std::move(identity));
    current = &source->document;
    currentPath = source->path;
    read.push_back(std::move(source));
  }
  parents->swap(read);
  return STORE_OK;
}

int LookupNode(OpenTree& f, const wchar_t* text, pugi::xml_node* node) {
  if (f.parents.empty()) return f.document.Lookup(text, node);
  const size_t length = text != nullptr ? wcsnlen(text, STORE_MAX_KEY_LENGTH + 1) : 0;
  *node = length <= STORE_MAX_KEY_LENGTH ? f.chainKeys.Find(text, length) : pugi::xml_node();
  if (*node) return STORE_OK;
  ParsedKey key;
  const int result = key.Parse(text);
  if (result != STORE_OK) return result;
  SettingsDocument* trees[kMaxStackedTrees];
  *node = Overlay(trees, Stack(f, trees)).Find(key);
  if (!*node) return STORE_E_NOT_FOUND;
  try {
    f.chainKeys.Remember(text, length, *node, kMaxChainKeys);
  } catch (const std::bad_alloc&) {
    // The key is simply resolved again next time.
  }
  return STORE_OK;
}

int LookupOrigin(OpenTree& f, const wchar_t* text, int* depth) {
  ParsedKey key;
  const int result = key.Parse(text);
  if (result != STORE_OK) return result;
  SettingsDocument* trees[kMaxStackedTrees];
  size_t tree = 0;
  if (!Overlay(trees, Stack(f, trees)).Find(key, &tree)) return STORE_E_NOT_FOUND;
  *depth = static_cast<int>(tree);
  return STORE_OK;
}

int CountNodes(OpenTree& f, const ParsedKey& key) {
  if (f.parents.empty()) return f.document.Count(key);
  SettingsDocument* trees[kMaxStackedTrees];
  return Overlay(trees, Stack(f, trees)).Count(key);
}

pugi::xml_node WritableNode(OpenTree& f, const ParsedKey& key, const wchar_t* text, bool* refused) {
  f.changes.KeepArea(f.document.Root(), key[0].name, key[0].length);
  if (f.parents.empty()) return f.document.FindOrCreate(key, text, refused);
  // A node the tree holds itself is the one the key resolves to over the chain too.
  pugi::xml_node node = f.document.Find(key);
  if (node) return node;
  SettingsDocument* trees[kMaxStackedTrees];
  node = Overlay(trees, Stack(f, trees)).FindOrCreate(key, text, f.changes, refused);
  f.chainKeys.Clear();
  return node;
}

int RemoveNode(OpenTree& f, const ParsedKey& key, const wchar_t* text) {
  f.changes.KeepArea(f.document.Root(), key[0].name, key[0].length);
  if (!f.parents.empty()) {
    SettingsDocument* trees[kMaxStackedTrees];
    const Overlay overlay(trees, Stack(f, trees));
    size_t tree = 0;
    if (!overlay.Find(key, &tree)) return STORE_E_NOT_FOUND;
    bool refused = false;
    if (!overlay.TakeLists(key, f.changes, &refused)) {
      return refused ? STORE_E_BAD_KEY : STORE_E_NO_MEMORY;
    }
    f.chainKeys.Clear();
    if (!f.document.Find(key)) {
      NoteFailure("%s: that value comes from %s: it is removed there",
                  Printable(f.diskPath).c_str(), Printable(f.parents[tree - 1]->path).c_str());
    }
  }
  const pugi::xml_node node = f.document.Find(key);
  if (!node) return STORE_E_NOT_FOUND;
  f.changes.Remove(node, text);
  f.document.Remove(node);
  return STORE_OK;
}

int UpdateCheckChain(OpenTree& f, int* updated) {
  int result = f.backing->UpdateCheck(updated);
  for (size_t i = 0; i < f.parents.size() && result == STORE_OK && *updated == 0; ++i) {
    result = f.parents[i]->backing->UpdateCheck(updated);
  }
  return result;
}

}  // namespace keytreestore
