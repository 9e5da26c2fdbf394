// The keys the tested sections must address, written out here rather than taken
// from the key tables, and readers that read every proxy of a section member by
// member in field order (the stand-in store records each read with its key).
#ifndef DICOMSETTINGS_TESTS_SECTIONKEYS_H
#define DICOMSETTINGS_TESTS_SECTIONKEYS_H

#include <initializer_list>
#include <string>
#include <vector>

#include "CDicomErrorSetting.h"
#include "CEchoScuSetting.h"
#include "CStorageScuSetting.h"

namespace section_keys {

using namespace DicomAccessLibraryCpp;
using Keys = std::vector<std::wstring>;

inline void Read(const IntProxy& p) {
  static_cast<void>(static_cast<int>(p));
}
inline void Read(const StringProxy& p) {
  static_cast<void>(static_cast<std::wstring>(p));
}
template <class... P>
void ReadEach(const P&... proxies) {
  (Read(proxies), ...);
}

template <class Syntax>
void ReadSyntax(const Syntax& entry) {
  Read(entry.AbstractSyntax);
  for (const CTransferSyntax& transfer : entry.TransferSyntax) Read(transfer.SyntaxValue);
}

inline std::wstring Node(const std::wstring& list, int index) {
  return list + L"[" + std::to_wstring(index) + L"]";
}

// Keys of one syntax entry at node: its abstract syntax, then each transfer syntax.
inline Keys SyntaxKeys(const std::wstring& node, int transfers) {
  Keys keys{node + L"/AbstractSyntax"};
  for (int j = 0; j < transfers; ++j) {
    keys.push_back(Node(node + L"/TransferSyntax", j) + L"/SyntaxValue");
  }
  return keys;
}

// root + each leaf, then `entries` syntax entries of `transfers` transfer syntaxes.
inline Keys TaskKeys(const std::wstring& root, std::initializer_list<const wchar_t*> leaves,
                     int entries, int transfers) {
  Keys keys;
  for (const wchar_t* leaf : leaves) keys.push_back(root + leaf);
  for (int i = 0; i < entries; ++i) {
    for (const std::wstring& key : SyntaxKeys(Node(root + L"/Syntax", i), transfers)) {
      keys.push_back(key);
    }
  }
  return keys;
}

inline void ReadAll(const CEchoScuSetting& s) {
  ReadEach(s.TaskCount, s.RequestFolder, s.WorkFolder, s.ResFolder, s.DailyFolder, s.ClientAeTitle);
  ReadSyntax(s.Syntax[0]);
}

inline Keys EchoKeys() {
  return TaskKeys(L"/EchoScu",
                  {L"/TaskCount", L"/Folder/RequestFolder", L"/Folder/WorkFolder",
                   L"/Folder/ResFolder", L"/Folder/DailyFolder", L"/ClientAeTitle"},
                  1, 1);
}

inline void ReadAll(const CStorageScuSetting& s) {
  ReadEach(s.TaskCount, s.RequestFolder, s.WorkFolder, s.ResFolder, s.DailyFolder,
           s.SystemTagConvPath, s.UserTagConvPath, s.EncodeTagConvPath);
  for (const auto& entry : s.Syntax) ReadSyntax(entry);
}

inline Keys StorageKeys() {
  return TaskKeys(L"/StorageScu",
                  {L"/TaskCount", L"/Folder/RequestFolder", L"/Folder/WorkFolder",
                   L"/Folder/ResFolder", L"/Folder/DailyFolder", L"/ConvertPath/SystemTagConvPath",
                   L"/ConvertPath/UserTagConvPath", L"/ConvertPath/EncodeTagConvPath"},
                  4, 4);
}

inline void ReadAll(const CDicomErrorSetting& s) {
  for (const auto& entry : s.DicomError)
    ReadEach(entry.InsideError, entry.OutsideError, entry.ErrorInfo);
}

inline Keys ErrorKeys() {
  Keys keys;
  for (int i = 0; i < 300; ++i) {
    for (const wchar_t* field : {L"/InsideError", L"/OutsideError", L"/ErrorInfo"}) {
      keys.push_back(Node(L"/DicomErrorSetting/DicomError", i) + field);
    }
  }
  return keys;
}

}  // namespace section_keys

#endif
