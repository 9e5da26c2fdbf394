// Writing an area of the tree as lines and building it again from them.
#include "etcd/AreaText.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "KeyTreeStore.h"
#include "text/Utf8.h"

namespace keytreestore {
namespace {

bool HasChildElements(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) return true;
  }
  return false;
}

void AppendLine(const std::string& key, const char* value, std::string& out) {
  out += key;
  out += '=';
  for (const char* p = value; *p != '\0'; ++p) {
    if (*p == '\\') {
      out += "\\\\";
    } else if (*p == '\n') {
      out += "\\n";
    } else {
      out += *p;
    }
  }
  out += '\n';
}

void AppendElement(pugi::xml_node node, const std::string& key, std::string& out) {
  const char* text = node.text().get();
  if (!HasChildElements(node)) {
    if (!key.empty() || text[0] != '\0') AppendLine(key, text, out);
    return;
  }
  if (std::strspn(text, " \t\n\r") != std::strlen(text)) AppendLine(key, text, out);
  SiblingNames names;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const std::string name = names.Next(child);
    AppendElement(child, key.empty() ? name : key + '/' + name, out);
  }
}

// Undoes AppendLine's escapes and checks that XML can hold the value.
bool Unescape(const std::string& line, size_t from, std::string* value) {
  value->clear();
  for (size_t i = from; i < line.size(); ++i) {
    if (line[i] != '\\') {
      *value += line[i];
    } else if (i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == 'n')) {
      *value += line[++i] == 'n' ? '\n' : '\\';
    } else {
      return false;
    }
  }
  // The tree keeps line ends as line feeds, so a carriage return is refused too.
  bool invalid = false;
  return FindUnholdableUtf8(value->data(), value->size(), &invalid) == value->size() &&
         value->find('\r') == std::string::npos;
}

// The node key names, created where missing, one sibling at most per step.
int Place(SettingsDocument& document, const std::string& key, pugi::xml_node* node) {
  wchar_t wide[STORE_MAX_KEY_LENGTH + 2];
  ParsedKey parsed;
  if (Utf8ToWide(key.data(), key.size(), wide, sizeof wide / sizeof *wide) < 0 ||
      parsed.Parse(wide) != STORE_OK) {
    return STORE_E_PARSE;
  }
  bool refused = false;
  *node = document.FindOrCreate(parsed, &refused, 1);
  if (refused) return STORE_E_PARSE;
  return *node ? STORE_OK : STORE_E_NO_MEMORY;
}

}  // namespace

std::string AreaText(pugi::xml_node area) {
  std::string out;
  AppendElement(area, std::string(), out);
  return out;
}

long AreaIndex(const std::string& area) {
  const size_t open = area.find('[');
  return open == std::string::npos ? 0 : std::strtol(area.c_str() + open + 1, nullptr, 10);
}

int AddArea(SettingsDocument& document, const std::string& area, const std::string& text,
            std::string* fault) {
  const std::string base = '/' + area;
  pugi::xml_node node;
  int result = area.find('/') == std::string::npos ? Place(document, base, &node) : STORE_E_PARSE;
  if (result != STORE_OK) {
    *fault = "malformed area name or area out of order";
    return result;
  }
  std::string value;
  size_t start = 0;
  for (int line = 1; start < text.size(); ++line) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string content = text.substr(start, end - start);
    start = end + 1;
    if (!content.empty() && content.back() == '\r') content.pop_back();
    if (content.empty()) continue;
    const size_t equals = content.find('=');
    if (equals == std::string::npos || !Unescape(content, equals + 1, &value)) {
      *fault = "line " + std::to_string(line) + ": not Key=value with a valid value";
      return STORE_E_PARSE;
    }
    result = Place(document, equals == 0 ? base : base + '/' + content.substr(0, equals), &node);
    if (result == STORE_E_PARSE) {
      *fault = "line " + std::to_string(line) + ": malformed key or index out of order";
    }
    if (result != STORE_OK) return result;
    if ((!value.empty() || node.text().get()[0] != '\0') && !node.text().set(value.c_str())) {
      return STORE_E_NO_MEMORY;
    }
  }
  return STORE_OK;
}

}  // namespace keytreestore
