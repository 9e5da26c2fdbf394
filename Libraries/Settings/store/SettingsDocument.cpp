// The in-memory tree of a settings file, on pugixml.
#include "SettingsDocument.h"

#include <cstring>

#include "Utf8.h"

namespace keytreestore {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments |
                                   pugi::parse_declaration | pugi::parse_pi |
                                   pugi::parse_doctype | pugi::parse_ws_pcdata_single;

bool NameIs(pugi::xml_node node, const KeyStep& step) {
  const char* name = node.name();
  return std::strncmp(name, step.name, step.length) == 0 && name[step.length] == '\0';
}

// The index-th child element named as step, or a null node; *seen counts the
// same-named children passed on the way.
pugi::xml_node NthChild(pugi::xml_node parent, const KeyStep& step, int* seen) {
  int n = 0;
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && NameIs(child, step)) {
      if (n == step.index) {
        *seen = n;
        return child;
      }
      ++n;
    }
  }
  *seen = n;
  return pugi::xml_node();
}

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

}  // namespace

SettingsDocument::SettingsDocument() : doc_(new pugi::xml_document) {}

void DescribeParseFault(const std::string& bytes, size_t offset, const char* what,
                        StoreParseError* error) {
  if (error == nullptr) return;
  error->result = STORE_E_PARSE;
  error->line = 1;
  error->column = 1;
  if (offset > bytes.size()) offset = bytes.size();
  for (size_t i = 0; i < offset; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\n') {
      ++error->line;
      error->column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++error->column;
    }
  }
  std::snprintf(error->text, sizeof error->text, "%s", what);
}

int SettingsDocument::Parse(const std::string& bytes, StoreParseError* error) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) {
    DescribeParseFault(bytes, nul, "NUL byte in file", error);
    return STORE_E_PARSE;
  }
  const size_t bad = FindInvalidUtf8(bytes.data(), bytes.size());
  if (bad != bytes.size()) {
    DescribeParseFault(bytes, bad, "invalid UTF-8", error);
    return STORE_E_PARSE;
  }
  std::unique_ptr<pugi::xml_document> fresh(new pugi::xml_document);
  const pugi::xml_parse_result parsed =
      fresh->load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    DescribeParseFault(bytes, static_cast<size_t>(parsed.offset), parsed.description(), error);
    return STORE_E_PARSE;
  }
  int elements = 0;
  for (pugi::xml_node child = fresh->first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) ++elements;
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) elements = 2;
  }
  if (elements != 1) {
    DescribeParseFault(bytes, bytes.size(),
                       elements == 0 ? "no document element" : "more than one document element",
                       error);
    return STORE_E_PARSE;
  }
  doc_.swap(fresh);
  if (error != nullptr) *error = StoreParseError{STORE_OK, 0, 0, ""};
  return STORE_OK;
}

pugi::xml_node SettingsDocument::Find(const ParsedKey& key) const {
  pugi::xml_node node = doc_->document_element();
  int seen;
  for (size_t i = 0; i < key.size() && node; ++i) node = NthChild(node, key[i], &seen);
  return node;
}

pugi::xml_node SettingsDocument::FindOrCreate(const ParsedKey& key) {
  pugi::xml_node node = doc_->document_element();
  for (size_t i = 0; i < key.size() && node; ++i) {
    int seen;
    pugi::xml_node next = NthChild(node, key[i], &seen);
    if (!next) {
      const std::string name(key[i].name, key[i].length);
      for (; seen <= key[i].index && node; ++seen) next = node.append_child(name.c_str());
    }
    node = next;
  }
  return node;
}

int SettingsDocument::Count(const ParsedKey& key) const {
  pugi::xml_node parent = doc_->document_element();
  int seen;
  for (size_t i = 0; i + 1 < key.size() && parent; ++i) parent = NthChild(parent, key[i], &seen);
  if (!parent) return 0;
  const KeyStep& last = key[key.size() - 1];
  int count = 0;
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && NameIs(child, last)) ++count;
  }
  return count;
}

std::string SettingsDocument::Serialize() const {
  StringWriter writer;
  doc_->save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
  return std::move(writer.out);
}

int ReadNodeText(pugi::xml_node node, wchar_t* buffer) {
  const char* text = node.text().get();
  const long n = Utf8ToWide(text, std::strlen(text), buffer, STORE_VALUE_BUFFER_LENGTH);
  if (n < 0) {
    buffer[0] = L'\0';
    return STORE_E_TOO_LONG;
  }
  return STORE_OK;
}

}  // namespace keytreestore
