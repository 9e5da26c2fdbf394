// HTTP requests to etcd's JSON gateway, with endpoint failover and authentication.
#include "etcd/EtcdClient.h"

#include <curl/curl.h>

#include <chrono>
#include <climits>
#include <thread>

#include "KeyTreeStore.h"
#include "etcd/Base64.h"

namespace keytreestore {
namespace {

// Answers larger than this are refused rather than held in memory.
constexpr size_t kMaxAnswerBytes = size_t{64} << 20;

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

}  // namespace

EtcdClient::EtcdClient(std::vector<std::string> endpoints, EtcdConfig config)
    : endpoints_(std::move(endpoints)), config_(std::move(config)), curl_(curl_easy_init()) {}

EtcdClient::~EtcdClient() {
  if (curl_ != nullptr) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

EtcdClient::Outcome EtcdClient::Post(const std::string& endpoint, const char* api,
                                     const std::string& body, nlohmann::json* response) {
  CURL* curl = static_cast<CURL*>(curl_);
  if (curl == nullptr) return Outcome::kUnreachable;
  const std::string url =
      std::string(config_.Tls() ? "https://" : "http://") + endpoint + "/v3/" + api;
  std::string answer;
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
  // No "Expect: 100-continue" round trip before a larger body.
  headers = curl_slist_append(headers, "Expect:");
  const std::string authorization = "Authorization: " + token_;
  if (!token_.empty()) headers = curl_slist_append(headers, authorization.c_str());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kRequestTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  if (!config_.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, config_.caFile.c_str());
  if (!config_.certFile.empty()) curl_easy_setopt(curl, CURLOPT_SSLCERT, config_.certFile.c_str());
  if (!config_.keyFile.empty()) curl_easy_setopt(curl, CURLOPT_SSLKEY, config_.keyFile.c_str());
  const CURLcode sent = curl_easy_perform(curl);
  // The handle must not keep pointers into this call's locals.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);
  curl_slist_free_all(headers);
  if (sent != CURLE_OK) return Outcome::kUnreachable;
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  *response = nlohmann::json::parse(answer, nullptr, false);
  if (response->is_discarded() || !response->is_object()) return Outcome::kUnreachable;
  if (status == 200) return Outcome::kAnswered;
  const int code = static_cast<int>(JsonInteger(*response, "code"));
  const std::string message = JsonText(*response, "error");
  if (message.find("auth token") != std::string::npos) return Outcome::kBadToken;
  return Transient(code, message) || status >= 500 ? Outcome::kUnreachable : Outcome::kRefused;
}

EtcdClient::Outcome EtcdClient::Authenticate(const std::string& endpoint) {
  token_.clear();
  const nlohmann::json request = {{"name", config_.user}, {"password", config_.password}};
  nlohmann::json response;
  const Outcome outcome = Post(endpoint, "auth/authenticate", Dump(request), &response);
  if (outcome != Outcome::kAnswered) return outcome;
  token_ = JsonText(response, "token");
  return token_.empty() ? Outcome::kRefused : Outcome::kAnswered;
}

int EtcdClient::Call(const char* api, const nlohmann::json& request, nlohmann::json* response) {
  const std::string body = Dump(request);
  const size_t n = endpoints_.size();
  bool renewed = false;
  for (size_t attempt = 0; attempt < 2 * n; ++attempt) {
    if (attempt == n) std::this_thread::sleep_for(std::chrono::milliseconds(kPauseBetweenRoundsMs));
    const std::string& endpoint = endpoints_[(current_ + attempt) % n];
    Outcome outcome = Outcome::kAnswered;
    if (!config_.user.empty() && token_.empty()) outcome = Authenticate(endpoint);
    if (outcome == Outcome::kAnswered) outcome = Post(endpoint, api, body, response);
    if (outcome == Outcome::kBadToken && !renewed) {
      // Tokens expire: one new one is asked for, then the request goes again.
      renewed = true;
      outcome = Authenticate(endpoint);
      if (outcome == Outcome::kAnswered) outcome = Post(endpoint, api, body, response);
    }
    if (outcome == Outcome::kAnswered) {
      current_ = (current_ + attempt) % n;
      return STORE_OK;
    }
    if (outcome != Outcome::kUnreachable) return STORE_E_IO;
  }
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
