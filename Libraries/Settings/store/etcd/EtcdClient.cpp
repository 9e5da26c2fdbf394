// HTTP requests to etcd's JSON gateway, with endpoint failover and authentication.
#include "etcd/EtcdClient.h"

#include <curl/curl.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>

#include "KeyTreeStore.h"
#include "etcd/Base64.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// Answers larger than this are refused rather than held in memory.
constexpr size_t kMaxAnswerBytes = size_t{64} << 20;
constexpr char kAuthenticateApi[] = "auth/authenticate";
// How much of a text from elsewhere (etcd, libcurl) a reason shows.
constexpr size_t kShownText = 160;

size_t Collect(char* data, size_t size, size_t count, void* user) {
  std::string* out = static_cast<std::string*>(user);
  const size_t bytes = size * count;
  if (out->size() + bytes > kMaxAnswerBytes) return 0;  // curl ends the transfer
  out->append(data, bytes);
  return bytes;
}

// gRPC codes etcd gives for a member that cannot serve now: another may.
bool Transient(int code, const std::string& message) {
  return code == 14 || code == 4 || code == 10 || message.find("leader") != std::string::npos ||
         message.find("timed out") != std::string::npos;
}

std::string Dump(const nlohmann::json& request) {
  return request.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// What a transfer libcurl could not complete met; detail is its error buffer.
std::string TransferFailure(CURL* curl, CURLcode code, const char* detail) {
  const std::string said =
      Printable(detail[0] != '\0' ? detail : curl_easy_strerror(code), kShownText);
  switch (code) {
    case CURLE_COULDNT_CONNECT: {
      long error = 0;
      curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &error);
      char text[128];
      if (error == ECONNREFUSED) return "connection refused";
      if (error != 0) return std::string("cannot connect: ") + strerror_r(error, text, sizeof text);
      break;
    }
    case CURLE_COULDNT_RESOLVE_HOST:
      return "cannot resolve the host name";
    case CURLE_OPERATION_TIMEDOUT: {
      // The time to the start of the transfer is 0 until connected (TLS included).
      curl_off_t connected = 0;
      curl_easy_getinfo(curl, CURLINFO_PRETRANSFER_TIME_T, &connected);
      return connected > 0
                 ? "no answer within " + std::to_string(EtcdClient::kRequestTimeoutMs) + " ms"
                 : "no connection within " + std::to_string(EtcdClient::kConnectTimeoutMs) + " ms";
    }
    case CURLE_WRITE_ERROR:
      return "answer larger than 64 MiB";
    // The TLS failures the options set here can meet.
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CLIENTCERT:
      return "TLS: " + said;
    default:
      break;
  }
  return said;
}

// The start of a reason about the configured user's authentication.
std::string Authentication(const EtcdConfig& config) {
  return "authentication as user \"" + Printable(config.user, kShownText) + "\"";
}

}  // namespace

EtcdClient::EtcdClient(std::vector<std::string> endpoints, EtcdConfig config)
    : endpoints_(std::move(endpoints)), config_(std::move(config)), curl_(curl_easy_init()) {}

EtcdClient::~EtcdClient() {
  if (curl_ != nullptr) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

curl_slist* EtcdClient::SetUp(void* handle, const std::string& endpoint, const char* api,
                              const std::string& body, const std::string& token) const {
  CURL* curl = static_cast<CURL*>(handle);
  const std::string url =
      std::string(config_.Tls() ? "https://" : "http://") + endpoint + "/v3/" + api;
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
  // No "Expect: 100-continue" round trip before a larger body.
  headers = curl_slist_append(headers, "Expect:");
  if (!token.empty()) headers = curl_slist_append(headers, ("Authorization: " + token).c_str());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  if (!config_.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, config_.caFile.c_str());
  if (!config_.certFile.empty()) curl_easy_setopt(curl, CURLOPT_SSLCERT, config_.certFile.c_str());
  if (!config_.keyFile.empty()) curl_easy_setopt(curl, CURLOPT_SSLKEY, config_.keyFile.c_str());
  return headers;
}

int EtcdClient::FreshToken(const std::string& endpoint, std::string* token, std::string* why) {
  token->clear();
  if (config_.user.empty()) return STORE_OK;
  if (Authenticate(endpoint) != Outcome::kAnswered) {
    *why = why_;
    return STORE_E_IO;
  }
  token->swap(token_);
  return STORE_OK;
}

EtcdClient::Outcome EtcdClient::Post(const std::string& endpoint, const char* api,
                                     const std::string& body, nlohmann::json* response) {
  CURL* curl = static_cast<CURL*>(curl_);
  if (curl == nullptr) {
    why_ = "libcurl could not start (out of memory)";
    return Outcome::kUnreachable;
  }
  std::string answer;
  curl_slist* headers = SetUp(curl, endpoint, api, body, token_);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kRequestTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  char detail[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
  const CURLcode sent = curl_easy_perform(curl);
  // The handle must not keep pointers into this call's locals.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  curl_slist_free_all(headers);
  if (sent != CURLE_OK) {
    why_ = TransferFailure(curl, sent, detail);
    // What a member that takes TLS clients only does with a plain HTTP request.
    if (sent == CURLE_GOT_NOTHING && !config_.Tls()) why_ += " (TLS is not configured)";
    return Outcome::kUnreachable;
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  *response = nlohmann::json::parse(answer, nullptr, false);
  if (response->is_discarded() || !response->is_object()) {
    // Not quoted after a request that carried a password or token: it may repeat it.
    const std::string start =
        config_.user.empty() ? Printable(answer.substr(0, answer.find('\n')), kShownText) : "";
    why_ = "HTTP status " + std::to_string(status) + " without a JSON answer" +
           (start.empty() ? "" : ": " + start);
    return Outcome::kUnreachable;
  }
  if (status == 200) return Outcome::kAnswered;
  const int code = static_cast<int>(JsonInteger(*response, "code"));
  std::string message = JsonText(*response, "error");
  if (message.empty()) message = JsonText(*response, "message");
  why_ = message.empty() ? "HTTP status " + std::to_string(status) : Printable(message, kShownText);
  if (message.find("auth token") != std::string::npos) return Outcome::kBadToken;
  if (Transient(code, message) || status >= 500) return Outcome::kUnreachable;
  const bool authenticating = std::strcmp(api, kAuthenticateApi) == 0;
  why_ = (authenticating ? Authentication(config_) + " refused: " : "request refused: ") + why_;
  return Outcome::kRefused;
}

EtcdClient::Outcome EtcdClient::Authenticate(const std::string& endpoint) {
  token_.clear();
  const nlohmann::json request = {{"name", config_.user}, {"password", config_.password}};
  nlohmann::json response;
  const Outcome outcome = Post(endpoint, kAuthenticateApi, Dump(request), &response);
  if (outcome != Outcome::kAnswered) return outcome;
  token_ = JsonText(response, "token");
  if (!token_.empty()) return Outcome::kAnswered;
  why_ = Authentication(config_) + " gave no token";
  return Outcome::kRefused;
}

void EtcdClient::NoteFailures(const std::vector<std::string>& failures) const {
  for (size_t i = 0; i < endpoints_.size(); ++i) {
    const size_t index = (current_ + i) % endpoints_.size();
    if (failures[index].empty()) continue;
    NoteFailure("etcd %s: %s", endpoints_[index].c_str(), failures[index].c_str());
  }
}

int EtcdClient::Call(const char* api, const nlohmann::json& request, nlohmann::json* response) {
  const std::string body = Dump(request);
  const size_t n = endpoints_.size();
  std::vector<std::string> failures(n);  // what each endpoint met, noted when all failed
  bool renewed = false;
  reachedNone_ = false;
  Outcome outcome = Outcome::kUnreachable;
  for (size_t attempt = 0; attempt < 2 * n; ++attempt) {
    if (attempt == n) std::this_thread::sleep_for(std::chrono::milliseconds(kPauseBetweenRoundsMs));
    const size_t index = (current_ + attempt) % n;
    const std::string& endpoint = endpoints_[index];
    outcome = Outcome::kAnswered;
    if (!config_.user.empty() && token_.empty()) outcome = Authenticate(endpoint);
    if (outcome == Outcome::kAnswered) outcome = Post(endpoint, api, body, response);
    if (outcome == Outcome::kBadToken && !renewed) {
      // Tokens expire: one new one is asked for, then the request goes again.
      renewed = true;
      outcome = Authenticate(endpoint);
      if (outcome == Outcome::kAnswered) outcome = Post(endpoint, api, body, response);
    }
    if (outcome == Outcome::kAnswered) {
      current_ = index;
      return STORE_OK;
    }
    std::string& failure = failures[index];
    failure = failure.empty()   ? why_
              : failure == why_ ? failure + " (twice)"
                                : failure + ", then " + why_;
    if (outcome != Outcome::kUnreachable) break;
  }
  NoteFailures(failures);
  reachedNone_ = outcome == Outcome::kUnreachable;
  return STORE_E_IO;
}

bool DecodeKeyValue(const nlohmann::json& kv, std::string* key, std::string* value) {
  return DecodeBase64(JsonText(kv, "key"), key) && DecodeBase64(JsonText(kv, "value"), value);
}

std::string JsonText(const nlohmann::json& object, const char* name) {
  if (!object.is_object()) return std::string();
  const auto found = object.find(name);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

long long JsonInteger(const nlohmann::json& object, const char* name) {
  if (!object.is_object()) return 0;
  const auto found = object.find(name);
  if (found == object.end()) return 0;
  if (found->is_number_integer()) return found->get<long long>();
  if (!found->is_string()) return 0;
  const std::string& text = found->get_ref<const std::string&>();
  long long number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || number > (LLONG_MAX - 9) / 10) return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace keytreestore
