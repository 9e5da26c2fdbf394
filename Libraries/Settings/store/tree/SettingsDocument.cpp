// The in-memory tree of a settings file, on pugixml.
#include "tree/SettingsDocument.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <utility>

#include "text/DocumentText.h"
#include "text/Utf8.h"

namespace keytreestore {
namespace {

// parse_fragment keeps text outside the document element, so that it is refused
// rather than dropped by the next save. parse_embed_pcdata keeps an element's
// first text in the element itself rather than in a node of its own: half the
// nodes for a settings file, read and written alike through xml_text.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments |
                                   pugi::parse_declaration | pugi::parse_pi | pugi::parse_doctype |
                                   pugi::parse_ws_pcdata_single | pugi::parse_fragment |
                                   pugi::parse_embed_pcdata;

// Deepest element nesting a settings file may have: far beyond what a key of 511
// characters can reach, and shallow enough that the indented save stays small.
constexpr size_t kMaxDepth = 1000;

bool IsBlank(const char* text) {
  for (; *text != '\0'; ++text) {
    if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
  }
  return true;
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
  ParseBuffer copy;
  if (!copy.Reserve(bytes.size())) return STORE_E_NO_MEMORY;
  if (!bytes.empty()) std::memcpy(copy.data(), bytes.data(), bytes.size());
  copy.SetSize(bytes.size());
  Fault fault;
  const int result = ParseInPlace(std::move(copy), CheckDocumentText(bytes), &fault);
  if (result == STORE_E_PARSE) DescribeParseFault(bytes, fault.offset, fault.what, error);
  if (result == STORE_OK && error != nullptr) *error = StoreParseError{STORE_OK, 0, 0, ""};
  return result;
}

int SettingsDocument::Parse(ParseBuffer bytes, const TextCheck& characters) {
  Fault fault;
  return ParseInPlace(std::move(bytes), characters, &fault);
}

int SettingsDocument::ParseInPlace(ParseBuffer bytes, const TextCheck& characters, Fault* fault) {
  const size_t size = bytes.size();
  // pugixml takes a file's last byte for the end of the markup before it and does
  // not parse it: every file with a document element ends in '>' or white space,
  // and one that ends otherwise ends in text outside it, which would go unseen.
  const char last = size > 0 ? bytes.data()[size - 1] : '\n';
  const bool endsInText =
      last != '>' && last != ' ' && last != '\t' && last != '\n' && last != '\r';
  if (characters.fault != nullptr) {
    *fault = Fault{characters.offset, characters.fault};
    return STORE_E_PARSE;
  }
  std::unique_ptr<pugi::xml_document> fresh(new pugi::xml_document);
  // The tree takes the buffer over whatever the outcome; it parses where it lies.
  const pugi::xml_parse_result parsed =
      fresh->load_buffer_inplace_own(bytes.Release(), size, kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    *fault = Fault{static_cast<size_t>(parsed.offset), parsed.description()};
    return STORE_E_PARSE;
  }
  int elements = 0;
  for (pugi::xml_node child = fresh->first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) ++elements;
    const bool text = child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata;
    if (text && (child.type() == pugi::node_cdata || !IsBlank(child.value()))) {
      *fault =
          Fault{static_cast<size_t>(child.offset_debug()), "text outside the document element"};
      return STORE_E_PARSE;
    }
  }
  if (elements != 1) {
    *fault = Fault{size, elements == 0 ? "no document element" : "more than one document element"};
    return STORE_E_PARSE;
  }
  if (endsInText) {
    *fault = Fault{size - 1, "text outside the document element"};
    return STORE_E_PARSE;
  }
  // The tree is walked only where a line end needs rewriting or where the bytes
  // leave room for a node kMaxDepth levels below the document element: with n
  // elements open at once, the deepest node (an element's text) lies n levels
  // down.
  const bool lineEnds = characters.carriageReturnReference;
  const pugi::xml_node deep = lineEnds || characters.nesting >= kMaxDepth
                                  ? NormalizeTree(*fresh, kMaxDepth, lineEnds)
                                  : pugi::xml_node();
  if (deep) {
    *fault = Fault{static_cast<size_t>(deep.offset_debug()),
                   "elements nested more than 1000 levels deep"};
    return STORE_E_PARSE;
  }
  doc_.swap(fresh);
  index_.Clear();
  keys_.Clear();
  return STORE_OK;
}

pugi::xml_node SettingsDocument::Resolve(const ParsedKey& key, size_t steps) {
  pugi::xml_node node = doc_->document_element();
  int count;
  for (size_t i = 0; i < steps && node; ++i) {
    node = index_.Child(node, {key[i].name, key[i].length}, key[i].index, &count);
  }
  return node;
}

pugi::xml_node SettingsDocument::Find(const ParsedKey& key) {
  return Resolve(key, key.size());
}

pugi::xml_node SettingsDocument::Remembered(const wchar_t* text) const {
  const size_t length = text != nullptr ? wcsnlen(text, STORE_MAX_KEY_LENGTH + 1) : 0;
  if (length == 0 || length > STORE_MAX_KEY_LENGTH) return pugi::xml_node();
  return keys_.Find(text, length);
}

int SettingsDocument::Lookup(const wchar_t* text, pugi::xml_node* node) {
  *node = Remembered(text);
  if (*node) return STORE_OK;
  const size_t length = text != nullptr ? wcsnlen(text, STORE_MAX_KEY_LENGTH + 1) : 0;
  ParsedKey key;
  const int result = key.Parse(text);
  if (result != STORE_OK) return result;
  *node = Find(key);
  if (!*node) return STORE_E_NOT_FOUND;
  Remember(text, length, *node);
  return STORE_OK;
}

pugi::xml_node SettingsDocument::FindOrCreate(const ParsedKey& key, const wchar_t* text,
                                              bool* refused) {
  const size_t length = wcslen(text);  // the key parsed: at most 511 characters
  pugi::xml_node node = keys_.Find(text, length);
  if (node) return node;
  node = FindOrCreate(key, refused);
  if (node) Remember(text, length, node);
  return node;
}

void SettingsDocument::Remember(const wchar_t* text, size_t length, pugi::xml_node node) noexcept {
  // A key may be spelled several ways ("/A/B", "/A[0]/B[0]"), but a cache of many
  // times more keys than the tree has elements is not kept.
  const size_t limit = 4 * index_.Elements() + 4096;
  try {
    keys_.Remember(text, length, node, limit);
  } catch (const std::bad_alloc&) {
    // The key is simply resolved again next time.
  }
}

pugi::xml_node SettingsDocument::CreatePath(const ParsedKey& key, size_t steps, bool* refused) {
  return CreatePath(key, steps, refused, kMaxAppendedSiblings);
}

pugi::xml_node SettingsDocument::CreatePath(const ParsedKey& key, size_t steps, bool* refused,
                                            int maxAppended) {
  pugi::xml_node node = doc_->document_element();
  for (size_t i = 0; i < steps && node; ++i) {
    const KeyStep& step = key[i];
    int count;
    pugi::xml_node next = index_.Child(node, {step.name, step.length}, step.index, &count);
    if (!next && step.index - count >= maxAppended) {
      // "/A[2000000000]" would otherwise fill memory with empty elements.
      if (refused != nullptr) *refused = true;
      return pugi::xml_node();
    }
    if (!next) DropBlankText(node);
    for (; !next && count <= step.index; ++count) {
      const pugi::xml_node added = node.append_child(step.name);
      if (!added) return added;
      index_.Appended(node, added);
      if (count == step.index) next = added;
    }
    node = next;
  }
  return node;
}

pugi::xml_node SettingsDocument::AppendCopy(pugi::xml_node parent, pugi::xml_node node) {
  DropBlankText(parent);
  const pugi::xml_node copy = parent.append_copy(node);
  if (copy) index_.Appended(parent, copy);
  return copy;
}

void SettingsDocument::Remove(pugi::xml_node node) {
  node.parent().remove_child(node);
  index_.Clear();
  keys_.Clear();
}

void SettingsDocument::DropBlankText(pugi::xml_node parent) {
  // An element written as "<A>\n</A>" keeps its blank text as its only text, in the
  // element itself or in a child; once it gets child elements that text would only
  // misplace the indentation.
  if (!parent.first_child() && *parent.value() != '\0' && IsBlank(parent.value())) {
    parent.text().set("");
    return;
  }
  const pugi::xml_node only = parent.first_child();
  if (!only || only != parent.last_child() || only.type() != pugi::node_pcdata) return;
  if (IsBlank(only.value())) parent.remove_child(only);
}

int SettingsDocument::Count(const ParsedKey& key) {
  const pugi::xml_node parent = Resolve(key, key.size() - 1);
  if (!parent) return 0;
  const KeyStep& last = key[key.size() - 1];
  int count = 0;
  index_.Child(parent, {last.name, last.length}, 0, &count);
  return count;
}

int SettingsDocument::MakeEmpty() {
  return Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings />\n", nullptr);
}

std::string SettingsDocument::Serialize() const {
  StringWriter writer;
  doc_->save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
  return std::move(writer.out);
}

bool SettingsDocument::DeclareEncoding(const char* encoding) {
  pugi::xml_node declaration = doc_->first_child();
  if (declaration.type() != pugi::node_declaration) {
    declaration = doc_->prepend_child(pugi::node_declaration);
    if (!declaration || !declaration.append_attribute("version").set_value("1.0")) return false;
  }
  pugi::xml_attribute attribute = declaration.attribute("encoding");
  if (!attribute) attribute = declaration.append_attribute("encoding");
  return attribute && attribute.set_value(encoding);
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
