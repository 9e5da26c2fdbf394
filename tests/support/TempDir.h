// A temporary directory for one test, removed with everything in it afterwards,
// and small file helpers shared by the test programs.
#ifndef DICOMSETTINGS_TESTS_TEMPDIR_H
#define DICOMSETTINGS_TESTS_TEMPDIR_H

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/dicomsettings-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Path of a file inside the directory, as narrow and as wide text.
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::wstring WideFile(const std::string& name) const {
    const std::string narrow = File(name);
    return std::wstring(narrow.begin(), narrow.end());
  }

 private:
  std::string path_;
};

inline void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A minimal settings file holding body inside its document element.
inline std::string SettingsXml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>" + body + "</Settings>\n";
}

#endif
