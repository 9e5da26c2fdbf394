/*
 * KeyTreeStore: the settings store. It keeps XML settings files in memory as
 * trees of named elements, addressed by keys such as "/Service/Common/PduMaxLength",
 * and saves them without ever leaving a half-written file behind.
 *
 * A path is a file path, or "etcd://HOST:PORT[,HOST:PORT...]/PREFIX" for settings
 * kept under PREFIX in an etcd cluster: the same functions then read, save and
 * check the cluster for changes (endpoints are tried in order; a call that reaches none gives
 * STORE_E_IO within 2 x endpoints x 2 s (twice that with an etcd user, whose
 * token may be asked for first); TLS and user/password come from the
 * DICOMSETTINGS_ETCD_* environment variables, never from the path).
 *
 * Contract:
 *  - Settings are known by their exact path text. StoreOpen reads a file or a
 *    prefix the first time its path is opened and counts further opens of the
 *    same text; every open shares one in-memory tree. The last StoreClose drops
 *    the tree and any unsaved change.
 *  - A key is absolute from the document element: "/A/B[2]/C" is the first child
 *    "A" of the document element, then its third child named "B" (indices count
 *    from 0 among same-named siblings; no index means 0), then its first "C".
 *    A key holds at most 511 characters, a value text at most 511.
 *  - Every text in the API is wchar_t (UTF-32 on Linux); files are UTF-8, and
 *    so are the texts of StoreFailure and StoreParseError.
 *  - Every function may be called from several threads at once.
 *  - Every function returns one of the STORE_* result codes below; 0 is success.
 *    StoreResultText gives an English text for each, StoreLastFailure the detail
 *    of a failed call (which file or endpoint, and the system's own reason).
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
  STORE_E_NO_FILE = 4,   /* no file at the path, or nothing under the etcd prefix */
  STORE_E_PARSE = 5,     /* the file (or a kept area) is not well-formed settings */
  STORE_E_IO = 6,        /* reading or writing failed: the file system, or the etcd cluster */
  STORE_E_TOO_LONG = 7,  /* a value, key or path over its limit */
  STORE_E_BAD_ARGUMENT = 8, /* a null or empty argument, a malformed path, a character XML
                               cannot hold */
  STORE_E_NO_MEMORY = 9     /* allocation failed */
};

/* Capacity, in wchar_t, of the buffer StoreGetValue writes: 511 characters and NUL. */
#define STORE_VALUE_BUFFER_LENGTH 512
/* Longest key and longest value text, in characters. */
#define STORE_MAX_KEY_LENGTH 511
#define STORE_MAX_VALUE_LENGTH 511
/* Longest path text the store accepts, in characters. */
#define STORE_MAX_PATH_LENGTH 4095

/* Every function returns STORE_OK or the STORE_* code that says why not. On any
 * failure the settings kept (file or prefix) are as they were, and so is the open
 * tree unless a function says otherwise. Every function that names a path keeps
 * its failure for StoreLastFailure.
 *
 * Opening and closing. A path is opened once per caller that uses it; the opens
 * of one path text share one tree and are counted. */

/* Reads the settings at path into a tree (on the first open of this path text)
 * or counts one more open of the tree. STORE_E_NO_FILE when nothing is kept there,
 * STORE_E_PARSE when what is kept is malformed (StoreCheckFile says where),
 * STORE_E_IO when it cannot be read; on failure nothing is kept open. */
KEYTREESTORE_API int StoreOpen(const wchar_t* path, int comInitFlag);
/* Opens a path where no settings are kept yet as an empty tree (document element
 * "Settings"); nothing is written until StoreSave, which makes the file or the
 * prefix. STORE_E_IO when settings are kept there already, when the path is open
 * in this process, or when what is there cannot be looked at. Counted as StoreOpen
 * counts. */
KEYTREESTORE_API int StoreCreate(const wchar_t* path);
/* StoreCreate, but also where settings are kept already: they are read first
 * (what StoreOpen would give when they cannot be read, a malformed file or area
 * excepted), and the first StoreSave replaces them: a file whole, keeping its
 * permission bits and owner; under an etcd prefix each area the new tree holds
 * (areas it does not hold are left as they are). */
KEYTREESTORE_API int StoreCreateOver(const wchar_t* path);
/* StoreCreate for settings that extend those kept at parent (a file path, relative
 * to path's folder, or an etcd path): the parent's chain is read now (its failure is
 * the result), and the first StoreSave makes path with the link. See "Settings that
 * extend others" below. STORE_E_BAD_ARGUMENT for a null or empty parent. */
KEYTREESTORE_API int StoreCreateChild(const wchar_t* path, const wchar_t* parent);
/* Gives back one open; the last one drops the tree and its unsaved changes.
 * STORE_E_NOT_OPEN when the path is not open. */
KEYTREESTORE_API int StoreClose(const wchar_t* path, int comInitFlag);

/* Reading and writing. Every call below gives STORE_E_NOT_OPEN for a path that
 * is not open, and STORE_E_BAD_ARGUMENT for a null or empty path. */

/* Re-reads the settings, dropping unsaved changes; on failure (STORE_E_NO_FILE,
 * STORE_E_PARSE, STORE_E_IO) the tree stays as it was, unsaved changes included. */
KEYTREESTORE_API int StoreLoad(const wchar_t* path);
/* Saves the tree, all at once or not at all: a file through a temporary file
 * renamed over it, a prefix in one etcd transaction. When another process saved
 * since this one last loaded or saved, its version is the base and the values
 * set here since are put on top (the later save wins for a key both set), and
 * the tree becomes what was saved. STORE_E_IO when the settings cannot be
 * written (a file this process may not write is never replaced), STORE_E_PARSE
 * when the other process's version is malformed; on failure the tree and its
 * unsaved changes stay, for a later save. */
KEYTREESTORE_API int StoreSave(const wchar_t* path);
/* Copies the text of the node at key into buffer (STORE_VALUE_BUFFER_LENGTH
 * wchar_t, NUL terminated). STORE_E_NOT_FOUND when key names no node, and
 * STORE_E_BAD_KEY, STORE_E_TOO_LONG or STORE_E_BAD_ARGUMENT for a malformed, long
 * or null key: buffer is then untouched. STORE_E_TOO_LONG for a value over
 * STORE_MAX_VALUE_LENGTH characters: buffer then holds an empty text. */
KEYTREESTORE_API int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key);
/* Sets the text of the node at key, creating missing elements along the key (and
 * empty same-named siblings up to an index). STORE_E_BAD_ARGUMENT for a null value
 * or one with a character XML 1.0 cannot hold, STORE_E_TOO_LONG for a value over
 * STORE_MAX_VALUE_LENGTH characters, STORE_E_BAD_KEY for a malformed key or an
 * index more than 100,000 beyond the siblings there are: the tree is then
 * unchanged. Nothing is kept until StoreSave. */
KEYTREESTORE_API int StoreSetValue(const wchar_t* path, const wchar_t* key, const wchar_t* value);
/* Removes the node key names, with everything below it; later same-named siblings
 * move up one index ("/A/B[1]" removed, the former "/A/B[2]" is "/A/B[1]"). A key
 * through a list that a source these settings extend gives first copies that list
 * whole into them (see "Settings that extend others"). STORE_E_NOT_FOUND when the
 * key names nothing, or a value a source gives (it is removed there): the tree is
 * then unchanged. Nothing is kept until StoreSave, which removes what the node
 * held from the file, or the area (its etcd key) when a whole area went. */
KEYTREESTORE_API int StoreRemoveNode(const wchar_t* path, const wchar_t* key);
/* Sets *count to the number of elements key names: for "/A/B", the children
 * named B of /A, 0 where /A does not exist. On failure (a malformed key) *count
 * is untouched. */
KEYTREESTORE_API int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key);
/* Sets *updated to 1 when the settings kept are no longer the version this
 * process last loaded or saved (changed, replaced or removed), else 0. On failure
 * (STORE_E_IO: the cluster cannot be asked) *updated is untouched. */
KEYTREESTORE_API int StoreDataUpdateCheck(int* updated, const wchar_t* path);
/* Writes the open tree of path as the UTF-8 XML a save to a file writes, NUL
 * terminated, into buffer (capacity bytes) and sets *length to the text's length
 * without the NUL. STORE_E_TOO_LONG, nothing written but *length set, when buffer
 * is null or capacity is smaller than *length plus one. */
KEYTREESTORE_API int StoreExportText(const wchar_t* path, char* buffer, size_t capacity,
                                     size_t* length);

/* Settings that extend others. Settings may name one source they extend: a file's
 * document element says extends="PATH" (an etcd path, or a file path relative to
 * the file's folder); under an etcd prefix the key PREFIX/.extends holds the path.
 * That source may extend another, up to 8 sources in one chain (the settings
 * opened included). StoreOpen and StoreLoad read the whole chain or nothing: a
 * source that cannot be read fails the open with its own result (its path in
 * StoreLastFailure's text); a link that makes a cycle, a longer chain, or a link
 * over STORE_MAX_PATH_LENGTH or with a control character is STORE_E_PARSE.
 *
 * Over a chain, a key resolves step by step:
 *  - a step without an index ("/EchoScu", "Folder") names one element: the value
 *    of a key is that of the nearest source holding it, an empty value included;
 *  - a step with an index, [0] included ("Syntax[0]", "DicomClient[3]"), names an
 *    entry of a list, and the list is taken whole from the nearest source holding
 *    any entry of it: the rest of the key is looked for there only;
 *  - StoreGetNodeCount counts the list its key names as the nearest source holding
 *    any entry of it does.
 * StoreSetValue writes into the settings opened only; a key through a list that
 * a farther source gives first copies that list whole into them. StoreSave saves
 * them alone, StoreDataUpdateCheck says 1 when any source changed, StoreLoad
 * re-reads every source. */

/* Copies into buffer (capacity wchar_t, NUL terminated) the path of the source at
 * depth in the chain of path: 0 the settings opened, 1 the source they extend, and
 * so on. STORE_E_NOT_FOUND beyond the last source, STORE_E_TOO_LONG when the path
 * does not fit: buffer then holds an empty text. */
KEYTREESTORE_API int StoreGetSource(wchar_t* buffer, size_t capacity, const wchar_t* path,
                                    int depth);
/* Sets *depth to the depth (as StoreGetSource counts) of the source that holds the
 * node key names. STORE_E_NOT_FOUND when none does; on failure *depth is untouched. */
KEYTREESTORE_API int StoreGetOrigin(int* depth, const wchar_t* path, const wchar_t* key);

/* Files in other encodings. A file that starts with a UTF-16 or UTF-32 byte-order
 * mark, or whose XML declaration names another encoding than UTF-8 (ISO-8859-1,
 * windows-1252, Shift_JIS, EUC-JP: any the C library's iconv knows), is read
 * decoded and saved back in the same encoding, with the same mark and
 * declaration. Such a file that does not decode, names an encoding this system
 * does not know, or whose mark contradicts its declaration is STORE_E_PARSE, with
 * its line and column. StoreSetValue refuses a value the file's encoding cannot
 * hold (STORE_E_BAD_ARGUMENT; never written as "?"). Settings under an etcd
 * prefix are UTF-8.
 *
 * Copies the name of the encoding the open settings of path are kept in ("UTF-8",
 * "Shift_JIS", "UTF-16") into buffer (capacity bytes, NUL terminated).
 * STORE_E_TOO_LONG when it does not fit: buffer then holds an empty text. */
KEYTREESTORE_API int StoreGetEncoding(const wchar_t* path, char* buffer, size_t capacity);
/* Reads the file at path (not open, or open: the file as it is on disk) and
 * writes its text decoded into UTF-8, NUL terminated, into buffer (capacity
 * bytes), its lines and characters as they stand in the file, sets *length to the
 * text's length and writes the encoding's name into encoding (encodingCapacity
 * bytes). STORE_E_TOO_LONG, *length set and nothing written, when either does not
 * fit; STORE_E_PARSE for bytes that do not decode; STORE_E_BAD_ARGUMENT for an
 * etcd path. */
KEYTREESTORE_API int StoreReadFileText(const wchar_t* path, char* buffer, size_t capacity,
                                       size_t* length, char* encoding, size_t encodingCapacity);
/* Keeps the open settings of path in the named encoding from the next StoreSave
 * on (UTF-16 and UTF-32 little-endian with a mark), the declaration saying so.
 * STORE_E_BAD_ARGUMENT for an encoding unknown here, one the settings' values
 * cannot all be written in, or any but UTF-8 under an etcd prefix: the tree is
 * then as it was. */
KEYTREESTORE_API int StoreSetEncoding(const wchar_t* path, const char* encoding);

/* The change history. Every StoreSave that changes a value keeps a record with
 * the settings: when (UTC, RFC 3339, milliseconds), the operating-system user and
 * uid, the host name, the program's name and process id, the reason (the last
 * StoreSetChangeReason of the path, else the environment variable
 * DICOMSETTINGS_CHANGE_REASON, else none) and every key whose value changed, with
 * its old and new text. Keys in records name an element's place among same-named
 * siblings as "[i]" from the second on ("/L/E/X" is the first entry's,
 * "/L/E[1]/X" the second's).
 *  - A file's records go to "<file>.history" beside it, one JSON object a line,
 *    written and flushed under the save lock before the new file is put in place:
 *    a save whose record cannot be written fails with STORE_E_IO and changes
 *    nothing. A damaged history is moved aside to "<file>.history.damaged-<time>"
 *    by the next save, which starts a new one.
 *  - An etcd prefix's records go under "PREFIX/.changes/<id>" in the save's own
 *    transaction, the newest id in "PREFIX/.changes".
 *  - The newest DICOMSETTINGS_HISTORY_LIMIT records are kept (default 1000; 0
 *    keeps none and writes none); older ones are dropped by the saves.
 * No record holds a password, token or key of the etcd configuration. */

/* Sets the reason recorded with the saves of the open path from now on (null or
 * empty: none, the environment's then). STORE_OK, STORE_E_NOT_OPEN,
 * STORE_E_TOO_LONG for a reason over 511 characters, STORE_E_BAD_ARGUMENT for a
 * character XML cannot hold. */
KEYTREESTORE_API int StoreSetChangeReason(const wchar_t* path, const wchar_t* reason);

/* The history kept with the settings at path (open or not) as JSON text, UTF-8:
 * {"records": [...], "faults": [...], "limit": N}. records, newest first, each
 * {"id", "time", "user", "uid", "host", "program", "pid", "reason" (null for
 * none), "changes": [{"key", "old", "new"}] (null for a key created or removed),
 * "saved"}: saved is false for a record of a save that did not take effect (the
 * process stopped between writing the record and putting the file in place).
 * "outside": true on the record after which the settings were changed by other
 * means than the store. faults: the lines of a damaged history file, each
 * {"line", "text"}. Writes the text with its NUL into buffer (capacity bytes) and
 * sets *length to its length; STORE_E_TOO_LONG, *length set and nothing written,
 * when it does not fit. A path with no history gives an empty list. */
KEYTREESTORE_API int StoreReadHistory(const wchar_t* path, char* buffer, size_t capacity,
                                      size_t* length);

/* Puts every value of the open settings of path that a record after record id
 * changed back to what it was just after record id, in memory (StoreSave then
 * keeps it as one save); keys created since are removed. STORE_OK;
 * STORE_E_NOT_FOUND, the tree as it was, for an id the history does not hold
 * (never written, or dropped as too old: StoreLastFailure says which);
 * STORE_E_NOT_OPEN; what reading the history gives. */
KEYTREESTORE_API int StoreRevertTo(const wchar_t* path, long long id);

/* Change notification, opt-in per open path: a process that calls none of these
 * starts no thread and opens nothing. StoreWatch starts a thread that watches
 * every source of the chain (the settings and those they extend):
 *  - a file through its folder (inotify): a save's rename, a write in place, a
 *    delete and a new file all show there;
 *  - an etcd prefix through a watch stream that starts at the revision after the
 *    one the settings were read at, so nothing saved since goes unseen. A stream
 *    whose member ends it, fails, or says nothing for 10 s (members send
 *    progress notifications while nothing changes, at the interval their
 *    --experimental-watch-progress-notify-interval sets: keep it at 5 s or less)
 *    goes on at the next endpoint from the last revision it told of. A start
 *    revision compacted away counts as a change: the caller's reload reads
 *    everything anew.
 * On a sign of change the thread compares with what the tree last read, under
 * the tree's lock: a save made by this process is never taken for another's.
 * While the watch is whole, StoreDataUpdateCheck answers from what it saw,
 * without a request or a system call, until StoreLoad reads the settings again;
 * while a cluster's every endpoint fails, it asks as without a watch (and gives
 * STORE_E_IO as then). The descriptor given becomes readable when a change is
 * seen (for the caller's poll; read it empty, or use StoreWaitForChange); a burst
 * of changes makes it readable once. STORE_OK; STORE_E_NOT_OPEN; STORE_E_IO
 * (StoreLastFailure says why) when a folder cannot be watched or no endpoint of a
 * cluster creates a watch. A load that changes the chain watches the new one.
 * The watch stops with StoreUnwatch or the last StoreClose. A child of fork()
 * holds no watch thread: it may only close what it inherited (a watched path's
 * descriptor stays open in it until then). */
KEYTREESTORE_API int StoreWatch(const wchar_t* path, int* fd);
/* The etcd revision the open settings of path were last loaded or saved at, in
 * *revision: what a watch goes on from. 0 for a file and for settings served from
 * a local copy. STORE_OK; STORE_E_NOT_OPEN. */
KEYTREESTORE_API int StoreGetRevision(const wchar_t* path, long long* revision);
/* Waits at most timeoutMs milliseconds (-1: without end) for a change of the
 * watched path: *changed 1 when one was seen since the last load, else 0.
 * STORE_E_BAD_ARGUMENT when the path is not watched. */
KEYTREESTORE_API int StoreWaitForChange(const wchar_t* path, int timeoutMs, int* changed);
KEYTREESTORE_API int StoreUnwatch(const wchar_t* path);

/* Which backing a path names: STORE_KIND_ETCD for a path that starts with
 * "etcd://" (well-formed or not), else STORE_KIND_FILE (a null path included). */
enum { STORE_KIND_FILE = 0, STORE_KIND_ETCD = 1 };
KEYTREESTORE_API int StorePathKind(const wchar_t* path);

/* Telling what went wrong. */

/* English text for a result code; never null. "unknown result code" for a code
 * that is none of the STORE_* codes. */
KEYTREESTORE_API const char* StoreResultText(int result);

/* What went wrong in a failed call. */
typedef struct StoreFailure {
  int result;     /* the failed call's result; STORE_OK when none is kept for the path */
  char text[512]; /* what went wrong, in English, UTF-8, NUL terminated: the file and the
                     system's reason, the etcd endpoint and what it answered, what is wrong
                     with a path; never a password, token or key. Empty with STORE_OK. */
} StoreFailure;

/* Fills *failure for the last call on this thread that failed and named path
 * (the same path text): the failure of a later call on the path replaces it; a
 * call on this thread that failed on another path does too. Returns STORE_OK, or
 * STORE_E_BAD_ARGUMENT for a null failure. */
KEYTREESTORE_API int StoreLastFailure(const wchar_t* path, StoreFailure* failure);

/* Where a file failed to parse: line and column from 1, or 0 where the file gives none. */
typedef struct StoreParseError {
  int result;     /* STORE_OK when the file parses, else the code StoreOpen would give */
  int line;       /* 1-based line of the fault, 0 if unknown */
  int column;     /* 1-based column (in characters) of the fault, 0 if unknown */
  char text[128]; /* what is wrong, in English */
} StoreParseError;

/* Reads and checks the settings at path without opening them: fills *error (when
 * not null) and returns error->result. Under an etcd prefix the text names the
 * malformed area and its line. */
KEYTREESTORE_API int StoreCheckFile(const wchar_t* path, StoreParseError* error);

/* Settings read from a local copy. Each successful read of an etcd prefix (an open,
 * a load) is kept in a local copy on this machine, in the
 * folder DICOMSETTINGS_CACHE_DIR names (by default /var/cache/dicomsettings where
 * this process may write it, else $XDG_CACHE_HOME/dicomsettings or
 * $HOME/.cache/dicomsettings). When StoreOpen or StoreLoad reaches no endpoint of
 * the cluster, the tree is read from that copy instead, provided neither it nor its
 * folder is a symbolic link, belongs to another user than this process's or root,
 * or may be written by group or others; a copy that is missing, ignored or does not
 * parse leaves the call failing with STORE_E_IO (StoreLastFailure says why a copy
 * was ignored). A refusal by the cluster (a wrong password) is never covered by a
 * copy. While a tree is read from a copy, StoreSave goes to the cluster (putting the
 * values set on top of the cluster's version) and fails with STORE_E_IO while it
 * cannot be reached, and StoreDataUpdateCheck says 0 while no endpoint answers and
 * 1 once one does, so that StoreLoad then takes the cluster's settings. */
typedef struct StoreCopyStatus {
  int served;         /* 1 when the open tree was read from a local copy, else 0 */
  long long revision; /* the etcd revision the copy holds; 0 when not served */
  char kept[32];      /* UTC time the copy was written, "2026-12-07T15:00:00Z"; empty when
                         not served */
} StoreCopyStatus;

/* Fills *status for the open tree of path, or for the first source of its chain
 * that was read from a copy (for files only, served = 0). STORE_OK;
 * STORE_E_BAD_ARGUMENT for a null or empty path or a null status, STORE_E_NOT_OPEN
 * for a path that is not open: *status is then untouched. */
KEYTREESTORE_API int StoreGetCopyStatus(const wchar_t* path, StoreCopyStatus* status);

#ifdef __cplusplus
}
#endif

#endif /* DICOMSETTINGS_KEYTREESTORE_H */
