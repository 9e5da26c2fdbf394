// Builds the benchmark settings files by walking every section's key table.
#include "FixtureFiles.h"

#include <cstdio>
#include <fstream>
#include <pugixml.hpp>
#include <random>
#include <stdexcept>
#include <unordered_map>

#include "SiteText.h"

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
        0, open != std::wstring::npos};
    if (step.entry) step.index = std::stoi(part.substr(open + 1));
    steps.push_back(std::move(step));
    at = end == std::wstring::npos ? key.size() : end;
  }
  return steps;
}

std::string AsciiValue(ValueKind kind, size_t serial) {
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

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

class Writer {
 public:
  Writer(int factor, FixtureStyle style, Fixture* fixture)
      : factor_(factor), site_(style != FixtureStyle::Ascii), fixture_(fixture) {
    if (site_) {
      pugi::xml_node declaration = document_.append_child(pugi::node_declaration);
      declaration.append_attribute("version") = "1.0";
      declaration.append_attribute("encoding") = "UTF-8";
    }
    root_ = document_.append_child("Settings");
  }

  // The values of a section (index 0) or of entry `index` of a list.
  void Values(const std::wstring& prefix, const ValueField* values, int count, int index,
              bool addressed) {
    for (int v = 0; v < count; ++v) Add(prefix + values[v].key, values[v].kind, index, addressed);
  }

  void Lists(const std::wstring& prefix, const ListField* lists, int count, bool addressed) {
    for (int l = 0; l < count; ++l) {
      const ElementSchema& element = lists[l].element();
      for (int i = 0; i < lists[l].capacity * factor_; ++i) {
        const std::wstring node = prefix + lists[l].key + L"[" + std::to_wstring(i) + L"]";
        const bool read = addressed && i < lists[l].capacity;
        Values(node, element.values, element.valueCount, i, read);
        Lists(node, element.lists, element.listCount, read);
      }
    }
  }

  // Writes the file: two-space indentation and line feeds, or tabs and CRLF.
  void Save(const std::string& path, FixtureStyle style) {
    StringWriter text;
    document_.save(text, style == FixtureStyle::Editor ? "\t" : "  ");
    std::string bytes;
    for (const char c : text.out) {
      if (c == '\n' && style == FixtureStyle::Editor) bytes += '\r';
      bytes += c;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
      throw std::runtime_error("cannot write " + path);
    }
    fixture_->bytes = bytes.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (static_cast<unsigned char>(bytes[i]) >= 0x80) ++fixture_->multiByteBytes;
    }
  }

 private:
  // Sets a key's value, creating its nodes; nodes are found by key prefix, so
  // a list of any length is written in linear time.
  void Add(const std::wstring& text, ValueKind kind, int index, bool addressed) {
    FixtureKey key{text, SplitKey(text), kind, addressed};
    pugi::xml_node node = root_;
    std::string prefix;
    for (const KeyStep& step : key.steps) {
      const bool area = prefix.empty();
      prefix += "/" + step.name + "[" + std::to_string(step.index) + "]";
      auto found = nodes_.find(prefix);
      if (found == nodes_.end()) {
        Comment(node, step, area);
        found = nodes_.emplace(prefix, node.append_child(step.name.c_str())).first;
      }
      node = found->second;
    }
    const size_t serial = fixture_->keys.size();
    std::string value =
        site_ && kind == ValueKind::String ? SiteStringValue(text, index, serial) : std::string();
    if (value.empty()) value = AsciiValue(kind, serial);
    node.text().set(value.c_str());
    fixture_->keys.push_back(std::move(key));
  }

  // The comment a site has before a new area or list entry under parent.
  void Comment(pugi::xml_node parent, const KeyStep& step, bool area) {
    if (!site_) return;
    const std::string text = area         ? AreaComment(step.name)
                             : step.entry ? EntryComment(step.name, step.index)
                                          : std::string();
    if (!text.empty()) parent.append_child(pugi::node_comment).set_value(text.c_str());
  }

  int factor_;
  bool site_;
  Fixture* fixture_;
  pugi::xml_document document_;
  pugi::xml_node root_;
  std::unordered_map<std::string, pugi::xml_node> nodes_;
};

}  // namespace

Fixture WriteFixture(const std::string& path, int factor, FixtureStyle style) {
  Fixture fixture;
  fixture.path = path;
  fixture.widePath.assign(path.begin(), path.end());
  Writer writer(factor, style, &fixture);
  int count = 0;
  const SectionSchema* const* sections = DicomAccessLibraryCpp::AllSections(&count);
  for (int s = 0; s < count; ++s) {
    writer.Values(L"", sections[s]->values, sections[s]->valueCount, 0, true);
    writer.Lists(L"", sections[s]->lists, sections[s]->listCount, true);
  }
  writer.Save(path, style);
  return fixture;
}

std::string Describe(const Fixture& fixture) {
  char text[96];
  std::snprintf(
      text, sizeof text, "%zu values, %zu bytes, %.1f%% of them in multi-byte UTF-8",
      fixture.keys.size(), fixture.bytes,
      100.0 * static_cast<double>(fixture.multiByteBytes) / static_cast<double>(fixture.bytes));
  return text;
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
