/*
 * KeyTreeStore: the settings store. It keeps XML settings files in memory as
 * trees of named elements, addressed by keys such as "/Service/Common/PduMaxLength",
 * and saves them without ever leaving a half-written file behind.
 *
 * A path is a file path, or "etcd://HOST:PORT[,HOST:PORT...]/PREFIX" for settings
 * kept under PREFIX in an etcd cluster: the same functions then read, save and
 * watch the cluster (endpoints are tried in order; a call that reaches none gives
 * STORE_E_IO within 2 x endpoints x 2 s (twice that with an etcd user, whose
 * token may be asked for first); TLS and user/password come from the
 * DICOMSETTINGS_ETCD_* environment variables, never from the path).
 *
 * Contract:
 *  - Files are known by their exact path text. StoreOpen parses a file the first
 *    time its path is opened and counts further opens of the same text; every
 *    open shares one in-memory tree. The last StoreClose drops the tree and any
 *    unsaved change.
 *  - A key is absolute from the document element: "/A/B[2]/C" is the first child
 *    "A" of the document element, then its third child named "B" (indices count
 *    from 0 among same-named siblings; no index means 0), then its first "C".
 *    A key holds at most 511 characters, a value text at most 511.
 *  - Every text in the API is wchar_t (UTF-32 on Linux); files are UTF-8.
 *  - Every function may be called from several threads at once.
 *  - Every function returns one of the STORE_* result codes below; 0 is success.
 *    StoreResultText gives an English text for each.
 */
#ifndef DICOMSETTINGS_KEYTREESTORE_H
#define DICOMSETTINGS_KEYTREESTORE_H

#include <stddef.h>
#include <wchar.h>

#if defined(KEYTREESTORE_BUILDING)
#define KEYTREESTORE_API __attribute__((visibility("default")))
#else
#define KEYTREESTORE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
  STORE_OK = 0,          /* success */
  STORE_E_NOT_OPEN = 1,  /* the path is not open in this process */
  STORE_E_NOT_FOUND = 2, /* the key names no node */
  STORE_E_BAD_KEY = 3,   /* the key is malformed: not absolute, an empty component, a bad index */
  STORE_E_NO_FILE = 4,   /* no file at the path */
  STORE_E_PARSE = 5,     /* the file is not a well-formed settings file */
  STORE_E_IO = 6,        /* reading or writing the file failed (permissions, full disk) */
  STORE_E_TOO_LONG = 7,  /* a value, key or path over its limit */
  STORE_E_BAD_ARGUMENT = 8, /* a null or empty argument */
  STORE_E_NO_MEMORY = 9     /* allocation failed */
};

/* Capacity, in wchar_t, of the buffer StoreGetValue writes: 511 characters and NUL. */
#define STORE_VALUE_BUFFER_LENGTH 512
/* Longest key and longest value text, in characters. */
#define STORE_MAX_KEY_LENGTH 511
#define STORE_MAX_VALUE_LENGTH 511
/* Longest path text the store accepts, in characters. */
#define STORE_MAX_PATH_LENGTH 4095

/* Opens a settings file (parses it on the first open of this path text). */
KEYTREESTORE_API int StoreOpen(const wchar_t* path, int comInitFlag);
/* Opens a path where no settings are kept yet as an empty tree (document element
 * "Settings"), counted as StoreOpen counts; nothing is kept until StoreSave.
 * STORE_E_IO when settings are kept there already or the path is open. */
KEYTREESTORE_API int StoreCreate(const wchar_t* path);
/* Gives back one open; the last one drops the tree and its unsaved changes. */
KEYTREESTORE_API int StoreClose(const wchar_t* path, int comInitFlag);
/* Re-reads the file, dropping unsaved changes; on failure the tree stays as it was. */
KEYTREESTORE_API int StoreLoad(const wchar_t* path);
/* Saves the tree crash-safely, merging what another process saved since. */
KEYTREESTORE_API int StoreSave(const wchar_t* path);
/* Copies the text of the node at key into buffer (STORE_VALUE_BUFFER_LENGTH wchar_t). */
KEYTREESTORE_API int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key);
/* Sets the text of the node at key, creating missing elements along the key. */
KEYTREESTORE_API int StoreSetValue(const wchar_t* path, const wchar_t* key, const wchar_t* value);
/* Counts the elements that key names: for "/A/B", the children named B of /A. */
KEYTREESTORE_API int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key);
/* Sets *updated to 1 when the file on disk is no longer the one last loaded or saved. */
KEYTREESTORE_API int StoreDataUpdateCheck(int* updated, const wchar_t* path);
/* Writes the open tree of path as the UTF-8 XML a save to a file writes, NUL
 * terminated, into buffer (capacity bytes); *length is the text's length without
 * the NUL. STORE_E_TOO_LONG, nothing written, when capacity is smaller than that
 * plus one; buffer may then be null to ask for the length. */
KEYTREESTORE_API int StoreExportText(const wchar_t* path, char* buffer, size_t capacity,
                                     size_t* length);
/* English text for a result code; never null. */
KEYTREESTORE_API const char* StoreResultText(int result);

/* Where a file failed to parse: line and column from 1, or 0 where the file gives none. */
typedef struct StoreParseError {
  int result;     /* STORE_OK when the file parses, else the code StoreOpen would give */
  int line;       /* 1-based line of the fault, 0 if unknown */
  int column;     /* 1-based column (in characters) of the fault, 0 if unknown */
  char text[128]; /* what is wrong, in English */
} StoreParseError;

/* Reads and checks a file without opening it: fills *error and returns error->result. */
KEYTREESTORE_API int StoreCheckFile(const wchar_t* path, StoreParseError* error);

#ifdef __cplusplus
}
#endif

#endif /* DICOMSETTINGS_KEYTREESTORE_H */
