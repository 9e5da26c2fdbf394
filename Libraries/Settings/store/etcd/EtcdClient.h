// A connection to an etcd cluster through its v3 JSON gateway (libcurl and
// nlohmann/json): one reused HTTP connection, endpoints tried in order, TLS and
// user/password authentication as configured.
//
// Time bounds: connecting to an endpoint gives up after kConnectTimeoutMs, a
// request after kRequestTimeoutMs; a call tries every endpoint twice (with a
// short pause between the two rounds, for a cluster electing a new leader), so it
// ends within 2 x endpoints x kRequestTimeoutMs (plus the pause) whatever the
// cluster does; with a user configured an attempt may first ask for a token,
// which doubles that. No signal is used for timeouts.
//
// Not thread safe: one thread at a time (the open tree's lock is held).
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDCLIENT_H
#define DICOMSETTINGS_STORE_ETCD_ETCDCLIENT_H

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "etcd/EtcdConfig.h"
#include "etcd/EtcdPath.h"

struct curl_slist;

namespace keytreestore {

class EtcdClient {
 public:
  static constexpr long kConnectTimeoutMs = 500;
  static constexpr long kRequestTimeoutMs = 2000;
  static constexpr long kPauseBetweenRoundsMs = 250;

  EtcdClient(std::vector<std::string> endpoints, EtcdConfig config);
  ~EtcdClient();
  EtcdClient(const EtcdClient&) = delete;
  EtcdClient& operator=(const EtcdClient&) = delete;

  // POSTs request to "/v3/" + api ("kv/range", "kv/txn") and parses the answer:
  // STORE_OK with *response, or STORE_E_IO when no endpoint answers, the cluster
  // refuses the request (too large, too many operations, not permitted) or the
  // answer is not JSON. A failure notes what each endpoint tried met, once per
  // endpoint ("etcd 10.0.0.5:2379: connection refused (twice)"); a call that an
  // endpoint answers notes nothing.
  int Call(const char* api, const nlohmann::json& request, nlohmann::json* response);
  // Whether the last Call failed because no endpoint answered at all (none could
  // be reached, or none answered in time), rather than one that answered refusing.
  bool ReachedNone() const { return reachedNone_; }

  // For a transfer made apart from Call (a watch's stream): sets handle (a CURL
  // easy handle) up for a POST of body to "/v3/" + api at endpoint, TLS as
  // configured, with the JSON and authorization headers (token, when not empty),
  // no signals and the connection bound. body must outlive the transfer. Gives
  // the header list, which the caller frees after the transfer.
  curl_slist* SetUp(void* handle, const std::string& endpoint, const char* api,
                    const std::string& body, const std::string& token) const;
  // A new token from endpoint for a transfer made apart from Call: STORE_OK (an
  // empty token without a user configured), or STORE_E_IO with what the attempt
  // met in *why.
  int FreshToken(const std::string& endpoint, std::string* token, std::string* why);

 private:
  enum class Outcome { kAnswered, kRefused, kUnreachable, kBadToken };
  // One request to one endpoint; anything but kAnswered leaves the reason in why_.
  Outcome Post(const std::string& endpoint, const char* api, const std::string& body,
               nlohmann::json* response);
  Outcome Authenticate(const std::string& endpoint);
  // Notes failures[i], what endpoint i met, for each endpoint tried.
  void NoteFailures(const std::vector<std::string>& failures) const;

  std::vector<std::string> endpoints_;
  EtcdConfig config_;
  bool reachedNone_ = false;
  void* curl_;          // the CURL easy handle, kept for its connection
  size_t current_ = 0;  // the endpoint that answered last
  std::string token_;   // the authentication token, when a user is configured
  std::string why_;     // what the last attempt that failed met, for a person
};

// Key and value of a JSON gateway answer's "kvs" entry, decoded; false when the
// entry is not well-formed base64.
bool DecodeKeyValue(const nlohmann::json& kv, std::string* key, std::string* value);

// A string field of an answer; empty when it is missing or not a string.
std::string JsonText(const nlohmann::json& object, const char* name);

// An int64 field of an answer ("revision": "12"); 0 when it is missing.
long long JsonInteger(const nlohmann::json& object, const char* name);

}  // namespace keytreestore

#endif
