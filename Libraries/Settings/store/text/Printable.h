// Texts from outside (paths, endpoints, answers of a cluster) as a failure note
// shows them, so that a note printed on a terminal can never hold a control
// sequence.
#ifndef DICOMSETTINGS_STORE_TEXT_PRINTABLE_H
#define DICOMSETTINGS_STORE_TEXT_PRINTABLE_H

#include <cstddef>
#include <string>

namespace keytreestore {

// Longest path a note shows, in bytes.
constexpr size_t kShownPath = 160;

// text as a failure note may show it: each byte of a control character (C0, DEL,
// C1) or of bytes that are not UTF-8 as "\xNN", and at most most bytes of it,
// cut at a character boundary and marked "...".
std::string Printable(const std::string& text, size_t most = kShownPath);

// Notes "<what> <path>: <the system's text for error>" ("open /x: Permission
// denied"), the path shown as Printable shows it.
void NoteSystemFailure(const char* what, const std::string& path, int error);

}  // namespace keytreestore

#endif
