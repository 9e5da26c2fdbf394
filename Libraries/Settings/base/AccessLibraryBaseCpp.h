// The access base and the four value proxies of the settings access library.
//
// CAccessLibraryBaseCpp owns the path of one settings file and whether this
// object holds it open in the store; Open, Close, Load, Save and
// GetDataUpdateCheck are each one guarded store call. 201 means the object was
// in the wrong open state and nothing was done; every other non-zero result is
// the store's own code (KeyTreeStore.h).
//
// A proxy stands for one setting: bound to a file path and a key, each read is one
// StoreGetValue and a conversion from text, each assignment of a value a
// conversion to text and one StoreSetValue. Nothing is cached. Failed or unbound
// reads give 99999 (IntProxy), 99999.0 (DoubleProxy), 0 (BoolProxy) or the empty
// string (StringProxy); writes report nothing.
//
// Bad input never corrupts data: a path over 259 characters or a null path
// leaves an object with an empty path (it names no file); a key over 511
// characters or a null key or path leaves a proxy unbound; a string write over
// 511 characters or of a null pointer changes nothing.
//
// Thread safety: an object must not be used by two threads at once; different
// objects may be used from different threads (the store is thread-safe).
#ifndef DICOMSETTINGS_ACCESSLIBRARYBASECPP_H
#define DICOMSETTINGS_ACCESSLIBRARYBASECPP_H

#include <string>

#include "DicomSettingsExport.h"
#include "SharedText.h"

namespace AccessLibraryBaseCpp {

// Result of Open, Close, Save, Load and Initialize in the wrong state.
constexpr int kWrongOpenState = 201;
// Longest path text an object keeps, and longest key, in characters.
constexpr int kMaxPathLength = 259;
constexpr int kMaxKeyLength = 511;
// Failure values of reads.
constexpr int kIntReadFailure = 99999;
constexpr double kDoubleReadFailure = 99999.0;

// English text for a result of this library: kWrongOpenState, or one of the
// store's codes (StoreResultText). Never null.
DICOMSETTINGS_API const char* ResultText(int result);

class DICOMSETTINGS_API CAccessLibraryBaseCpp {
 public:
  explicit CAccessLibraryBaseCpp(const wchar_t* path);
  CAccessLibraryBaseCpp(const wchar_t* path, int comInitFlag);
  // A copy of an open object takes its own open of the same path; if that fails
  // the copy starts closed.
  CAccessLibraryBaseCpp(const CAccessLibraryBaseCpp& other);
  // Closes the file if this object holds it open. Never saves.
  ~CAccessLibraryBaseCpp();
  // Closes what this object holds open, takes other's path and flags, and takes
  // its own open of that path if other is open. Self-assignment changes nothing.
  CAccessLibraryBaseCpp& operator=(const CAccessLibraryBaseCpp& other);

  int Open();
  int Close();
  int Save();
  int Load();
  // 1 when the file on disk is no longer the one last loaded or saved, else 0.
  int GetDataUpdateCheck();

  // Change notification for this object's settings (StoreWatch): *fd receives a
  // descriptor that becomes readable when another process changes them or a
  // source they extend, for the caller's poll loop; from then on
  // GetDataUpdateCheck answers from the watch. The watch is the path's, shared
  // by every object of the path, and ends with the last Close or with Unwatch.
  // 0; kWrongOpenState (*fd untouched) when the object is not open; the store's
  // code when the settings cannot be watched.
  int Watch(int* fd);
  // Waits at most timeoutMs milliseconds (-1: without end) for a change: *changed
  // 1 when one was seen since the last Load, else 0; reads the descriptor empty.
  // 0; kWrongOpenState when not open; the store's code (STORE_E_BAD_ARGUMENT when
  // the path is not watched).
  int WaitForChange(int timeoutMs, int* changed);
  // Stops the path's watch. 0; kWrongOpenState when not open.
  int Unwatch();

  // Whether this object holds its file open in the store.
  bool IsOpen() const { return m_openFlag != 0; }

 protected:
  int GetEnabled();
  wchar_t* GetFilePath();
  int GetComInitFlag();

 private:
  int FilePathCheck(const wchar_t* path);

  int m_openFlag;
  wchar_t m_filePath[kMaxPathLength + 1];
  int m_comInitFlag;
  int m_reserved;
};

// What the four proxies share: the binding (a path and a key) and the text-level
// store calls. The key is held as a shared head and a static tail, so that the
// proxies of a list element share the element's node key text.
//
// Assigning one proxy to another of its class (read-only or not) copies the
// stored text when the target is bound and the binding when it is not; it never
// goes through the source's converted value, so a source that cannot be read is
// never written as 99999, "FALSE" or an empty text.
class DICOMSETTINGS_API ProxyCore {
 public:
  bool IsBound() const noexcept { return static_cast<bool>(path_); }
  // The bound path, or null when unbound.
  const wchar_t* GetPath() const noexcept { return path_.c_str(); }
  // The bound key; empty when unbound.
  std::wstring GetKey() const;
  // Reads the stored text into buffer (512 wchar_t): the store's result, or
  // STORE_E_BAD_ARGUMENT without a store call when unbound.
  int ReadText(wchar_t* buffer) const;
  // Writes text under the bound key: the store's result, or STORE_E_BAD_ARGUMENT
  // without a store call when unbound.
  int WriteText(const wchar_t* text) const;

  // Binds to a shared path and the key head + tail (either may be null; the
  // tail is static text that outlives the proxy). Leaves the proxy unbound when
  // the path is null, the key empty, or the key over 511 characters.
  void BindShared(const SharedText& path, const SharedText& head, const wchar_t* tail);
  // Copies other's stored text into this proxy's key when this proxy is bound and
  // other's read succeeds; otherwise does nothing.
  void CopyValueFrom(const ProxyCore& other) const;

 protected:
  ProxyCore() noexcept = default;
  ProxyCore(const ProxyCore& other) = default;
  ~ProxyCore() = default;
  ProxyCore& operator=(const ProxyCore&) = delete;

  // Binds to own copies of key and path (the public Set...Proxy binders).
  void BindCopy(const wchar_t* key, const wchar_t* path);
  // Proxy assignment: a bound proxy copies other's stored text through the store
  // (nothing when other's read fails); an unbound one copies other's binding.
  void AssignFrom(const ProxyCore& other);
  // Reads into buffer; false when unbound or the store fails.
  bool Read(wchar_t* buffer) const { return ReadText(buffer) == 0; }

 private:
  // The whole key: the head itself, or head + tail composed in buffer (512).
  const wchar_t* ComposeKey(wchar_t* buffer) const;

  SharedText path_;
  SharedText keyHead_;
  const wchar_t* keyTail_ = nullptr;
};

class DICOMSETTINGS_API IntProxy : public ProxyCore {
 public:
  IntProxy() noexcept = default;
  IntProxy(const IntProxy& other) = default;
  ~IntProxy() = default;
  IntProxy& operator=(const IntProxy& other) {
    AssignFrom(other);
    return *this;
  }
  // Writes the value as "%d".
  IntProxy& operator=(int value);
  // Reads the value as _wtoi does, clamped to int; 99999 on failure.
  operator int() const;
  void SetIntProxy(const wchar_t* key, const wchar_t* path) { BindCopy(key, path); }
};

class DICOMSETTINGS_API DoubleProxy : public ProxyCore {
 public:
  DoubleProxy() noexcept = default;
  DoubleProxy(const DoubleProxy& other) = default;
  ~DoubleProxy() = default;
  DoubleProxy& operator=(const DoubleProxy& other) {
    AssignFrom(other);
    return *this;
  }
  // Writes the value as "%f" with a "." whatever the process locale.
  DoubleProxy& operator=(double value);
  // Reads as wcstod in the "C" locale; a "," with no "." is the decimal point.
  // 99999.0 on failure.
  operator double() const;
  void SetDoubleProxy(const wchar_t* key, const wchar_t* path) { BindCopy(key, path); }
};

class DICOMSETTINGS_API BoolProxy : public ProxyCore {
 public:
  BoolProxy() noexcept = default;
  BoolProxy(const BoolProxy& other) = default;
  ~BoolProxy() = default;
  BoolProxy& operator=(const BoolProxy& other) {
    AssignFrom(other);
    return *this;
  }
  // Writes "TRUE" for a non-zero value, else "FALSE".
  BoolProxy& operator=(int value);
  // 1 when the stored text upper-cased is "TRUE", else 0 (also on failure).
  operator int() const;
  void SetBoolProxy(const wchar_t* key, const wchar_t* path) { BindCopy(key, path); }

 private:
  // Stores in *out a new[]-allocated copy of text with a-z upper-cased; the
  // caller releases it with delete[].
  static void StringToUpper(wchar_t** out, const wchar_t* text);
};

class DICOMSETTINGS_API StringProxy : public ProxyCore {
 public:
  StringProxy() noexcept = default;
  StringProxy(const StringProxy& other) = default;
  ~StringProxy() = default;
  StringProxy& operator=(const StringProxy& other) {
    AssignFrom(other);
    return *this;
  }
  // Writes the text; a text over 511 characters or a null pointer changes nothing.
  StringProxy& operator=(const std::wstring& value);
  StringProxy& operator=(const wchar_t* value);
  // The stored text; empty on failure.
  operator std::wstring() const;
  void SetStringProxy(const wchar_t* key, const wchar_t* path) { BindCopy(key, path); }
};

}  // namespace AccessLibraryBaseCpp

#endif
