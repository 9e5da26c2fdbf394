// Base64 (RFC 4648, with padding), the form etcd's JSON gateway gives keys and
// values in.
#ifndef DICOMSETTINGS_STORE_ETCD_BASE64_H
#define DICOMSETTINGS_STORE_ETCD_BASE64_H

#include <string>

namespace keytreestore {

std::string EncodeBase64(const std::string& bytes);

// False when text is not well-formed padded base64.
bool DecodeBase64(const std::string& text, std::string* bytes);

}  // namespace keytreestore

#endif
