// Builds the benchmark settings files by walking every section's key table.
#include "FixtureFiles.h"

#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <stdexcept>
#include <unordered_map>

namespace bench {
namespace {

using DicomAccessLibraryCpp::ElementSchema;
using DicomAccessLibraryCpp::ListField;
using DicomAccessLibraryCpp::SectionSchema;
using DicomAccessLibraryCpp::ValueField;
using DicomAccessLibraryCpp::ValueKind;

std::vector<KeyStep> SplitKey(const std::wstring& key) {
  std::vector<KeyStep> steps;
  size_t at = 0;
  while (at < key.size()) {
    const size_t end = key.find(L'/', at + 1);
    const std::wstring part = key.substr(at + 1, end == std::wstring::npos ? end : end - at - 1);
    const size_t open = part.find(L'[');
    KeyStep step{
        std::string(part.begin(), part.begin() + (open == std::wstring::npos ? part.size() : open)),
        0};
    if (open != std::wstring::npos) step.index = std::stoi(part.substr(open + 1));
    steps.push_back(std::move(step));
    at = end == std::wstring::npos ? key.size() : end;
  }
  return steps;
}

std::string ValueText(ValueKind kind, size_t serial) {
  switch (kind) {
    case ValueKind::Integer:
      return std::to_string(serial % 4096);
    case ValueKind::FloatingPoint:
      return "30.000000";
    case ValueKind::Boolean:
      return serial % 2 == 0 ? "TRUE" : "FALSE";
    case ValueKind::String:
      break;
  }
  return "1.2.392.200036.9116.2." + std::to_string(serial);
}

class Writer {
 public:
  Writer(int factor, Fixture* fixture) : factor_(factor), fixture_(fixture) {
    root_ = document_.append_child("Settings");
  }

  void Values(const std::wstring& prefix, const ValueField* values, int count) {
    for (int v = 0; v < count; ++v) Add(prefix + values[v].key, values[v].kind);
  }

  void Lists(const std::wstring& prefix, const ListField* lists, int count) {
    for (int l = 0; l < count; ++l) {
      const ElementSchema& element = lists[l].element();
      for (int i = 0; i < lists[l].capacity * factor_; ++i) {
        const std::wstring node = prefix + lists[l].key + L"[" + std::to_wstring(i) + L"]";
        Values(node, element.values, element.valueCount);
        Lists(node, element.lists, element.listCount);
      }
    }
  }

  void Save(const std::string& path) {
    if (!document_.save_file(path.c_str(), "  ")) throw std::runtime_error("cannot write " + path);
  }

 private:
  // Sets a key's value, creating its nodes; nodes are found by key prefix, so
  // a list of any length is written in linear time.
  void Add(const std::wstring& text, ValueKind kind) {
    FixtureKey key{text, SplitKey(text), kind};
    pugi::xml_node node = root_;
    std::string prefix;
    for (const KeyStep& step : key.steps) {
      prefix += "/" + step.name + "[" + std::to_string(step.index) + "]";
      auto found = nodes_.find(prefix);
      if (found == nodes_.end()) {
        found = nodes_.emplace(prefix, node.append_child(step.name.c_str())).first;
      }
      node = found->second;
    }
    node.text().set(ValueText(kind, fixture_->keys.size()).c_str());
    fixture_->keys.push_back(std::move(key));
  }

  int factor_;
  Fixture* fixture_;
  pugi::xml_document document_;
  pugi::xml_node root_;
  std::unordered_map<std::string, pugi::xml_node> nodes_;
};

}  // namespace

Fixture WriteFixture(const std::string& path, int factor) {
  Fixture fixture;
  fixture.path = path;
  fixture.widePath.assign(path.begin(), path.end());
  Writer writer(factor, &fixture);
  int count = 0;
  const SectionSchema* const* sections = DicomAccessLibraryCpp::AllSections(&count);
  for (int s = 0; s < count; ++s) {
    writer.Values(L"", sections[s]->values, sections[s]->valueCount);
    writer.Lists(L"", sections[s]->lists, sections[s]->listCount);
  }
  writer.Save(path);
  fixture.bytes = static_cast<size_t>(std::filesystem::file_size(path));
  return fixture;
}

std::vector<const FixtureKey*> KeysOfKind(const Fixture& fixture, ValueKind kind, KeyOrder order) {
  std::vector<const FixtureKey*> keys;
  for (const FixtureKey& key : fixture.keys) {
    if (key.kind == kind) keys.push_back(&key);
  }
  if (order == KeyOrder::Document) return keys;
  std::mt19937 random(20261206);
  for (size_t i = keys.size(); i > 1; --i) {
    std::swap(keys[i - 1], keys[std::uniform_int_distribution<size_t>(0, i - 1)(random)]);
  }
  return keys;
}

const FixtureKey* LastListKey(const Fixture& fixture) {
  const FixtureKey* last = nullptr;
  for (const FixtureKey& key : fixture.keys) {
    if (key.kind == ValueKind::Integer &&
        key.text.rfind(L"/DicomErrorSetting/DicomError[", 0) == 0) {
      last = &key;
    }
  }
  if (last == nullptr) throw std::runtime_error("no error list in the fixture");
  return last;
}

}  // namespace bench
