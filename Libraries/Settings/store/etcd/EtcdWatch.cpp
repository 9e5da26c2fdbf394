// Streams of etcd watch results, resumed across members.
#include "etcd/EtcdWatch.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "KeyTreeStore.h"
#include "etcd/EtcdBacking.h"
#include "etcd/EtcdClient.h"
#include "etcd/EtcdConfig.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

using Clock = std::chrono::steady_clock;

// How much of a text from etcd a reason shows.
constexpr size_t kShownText = 160;
// A line longer than this (an event carrying a huge area) ends the stream.
constexpr size_t kMaxLineBytes = size_t{64} << 20;
// TCP keepalive on a stream: a member's host gone silent is left within
// kKeepIdleS + 9 probes x kKeepIntervalS, without a request to the cluster.
constexpr long kKeepIdleS = 5;
constexpr long kKeepIntervalS = 1;

long MsUntil(Clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now());
  return std::max<long>(0, static_cast<long>(ms.count()));
}

}  // namespace

struct EtcdWatch::Stream {
  EtcdPath path;
  std::unique_ptr<EtcdClient> client;  // asks for tokens
  nlohmann::json range;                // the settings' key range
  long long next = 0;                  // the revision to resume from; 0: now
  size_t endpoint = 0;
  unsigned failures = 0;  // opens that failed in a row
  bool lost = false;      // every endpoint failed in a row
  std::string why;        // what the last failure met
  // The transfer, while there is one.
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  std::string body;
  std::string pending;  // received, not yet a whole line
  bool created = false;
  std::string ending;          // why the answer ended the stream; empty: it did not
  bool compactedAway = false;  // it ended because its start revision was compacted
  Clock::time_point deadline;  // to be created, heard from, or tried again by
  Seen seen;
};

EtcdWatch::EtcdWatch() : multi_(curl_multi_init()) {}

EtcdWatch::~EtcdWatch() {
  for (auto& stream : streams_) Close(*stream, false);
  if (multi_ != nullptr) curl_multi_cleanup(static_cast<CURLM*>(multi_));
}

int EtcdWatch::Add(const std::string& path, long long from) {
  auto stream = std::make_unique<Stream>();
  EtcdConfig config;
  const int result = ConfigureEtcdPath(path, &stream->path, &config);
  if (result != STORE_OK) return result;
  stream->client = std::make_unique<EtcdClient>(stream->path.endpoints, std::move(config));
  stream->range = SettingsRange(stream->path.prefix + '/');
  stream->next = from;
  Stream& added = *stream;
  streams_.push_back(std::move(stream));
  Open(added);
  const size_t endpoints = added.path.endpoints.size();
  while (!added.created && added.failures < endpoints && multi_ != nullptr) Wait(nullptr, 0, -1);
  if (added.created) return STORE_OK;
  NoteFailure("cannot watch %s: %s", Printable(path).c_str(), added.why.c_str());
  Close(added, false);
  streams_.pop_back();
  return STORE_E_IO;
}

void EtcdWatch::Open(Stream& stream) {
  const std::string& endpoint = stream.path.endpoints[stream.endpoint];
  stream.deadline = Clock::now() + std::chrono::milliseconds(EtcdClient::kRequestTimeoutMs);
  std::string token;
  if (multi_ == nullptr || stream.client->FreshToken(endpoint, &token, &stream.why) != STORE_OK) {
    if (multi_ == nullptr) stream.why = "libcurl could not start (out of memory)";
    Close(stream, true);
    return;
  }
  nlohmann::json create = stream.range;
  create["progress_notify"] = true;
  if (stream.next > 0) create["start_revision"] = std::to_string(stream.next);
  stream.body = nlohmann::json{{"create_request", create}}.dump();
  stream.easy = curl_easy_init();
  if (stream.easy == nullptr) {
    stream.why = "libcurl could not start (out of memory)";
    Close(stream, true);
    return;
  }
  stream.headers = stream.client->SetUp(stream.easy, endpoint, "watch", stream.body, token);
  // Only while the member has a leader: one cut off from the others' majority ends
  // the stream rather than go on sending progress of a revision that stands still.
  stream.headers = curl_slist_append(stream.headers, "Grpc-Metadata-hasleader: true");
  curl_easy_setopt(stream.easy, CURLOPT_HTTPHEADER, stream.headers);
  curl_easy_setopt(stream.easy, CURLOPT_TCP_KEEPIDLE, kKeepIdleS);
  curl_easy_setopt(stream.easy, CURLOPT_TCP_KEEPINTVL, kKeepIntervalS);
  curl_easy_setopt(stream.easy, CURLOPT_WRITEFUNCTION, Receive);
  curl_easy_setopt(stream.easy, CURLOPT_WRITEDATA, &stream);
  curl_easy_setopt(stream.easy, CURLOPT_PRIVATE, &stream);
  curl_multi_add_handle(static_cast<CURLM*>(multi_), stream.easy);
}

void EtcdWatch::Close(Stream& stream, bool failed) {
  if (stream.easy != nullptr) {
    curl_multi_remove_handle(static_cast<CURLM*>(multi_), stream.easy);
    curl_easy_cleanup(stream.easy);
    stream.easy = nullptr;
  }
  curl_slist_free_all(stream.headers);
  stream.headers = nullptr;
  stream.pending.clear();
  stream.created = false;
  stream.ending.clear();
  stream.compactedAway = false;
  if (!failed) return;
  stream.endpoint = (stream.endpoint + 1) % stream.path.endpoints.size();
  ++stream.failures;
  stream.lost = stream.lost || stream.failures >= stream.path.endpoints.size();
  // The next endpoint is tried at once; after a whole round, after a pause.
  stream.deadline =
      Clock::now() + std::chrono::milliseconds(stream.failures % stream.path.endpoints.size() == 0
                                                   ? EtcdClient::kRequestTimeoutMs
                                                   : 0);
}

size_t EtcdWatch::Receive(char* data, size_t size, size_t count, void* user) {
  Stream& stream = *static_cast<Stream*>(user);
  const size_t bytes = size * count;
  stream.pending.append(data, bytes);
  size_t start = 0;
  for (size_t end; (end = stream.pending.find('\n', start)) != std::string::npos; start = end + 1) {
    if (!Read(stream, stream.pending.substr(start, end - start))) return 0;  // ends the transfer
  }
  stream.pending.erase(0, start);
  if (stream.pending.size() > kMaxLineBytes) {
    stream.ending = "a watch answer over 64 MiB";
    return 0;
  }
  // Heard from: a live stream.
  if (stream.created) {
    stream.deadline = Clock::now() + std::chrono::milliseconds(kSilentMs);
  }
  return bytes;
}

bool EtcdWatch::Read(Stream& stream, const std::string& line) {
  const nlohmann::json answer = nlohmann::json::parse(line, nullptr, false);
  const auto found = answer.is_object() ? answer.find("result") : answer.end();
  if (found == answer.end() || !found->is_object()) {
    const std::string error = answer.is_object() ? answer.value("error", nlohmann::json()).dump()
                                                 : std::string("not JSON");
    stream.ending = "the watch answered " + Printable(error, kShownText);
    return false;
  }
  const nlohmann::json& result = *found;
  if (result.value("canceled", false)) {
    const long long compacted = JsonInteger(result, "compact_revision");
    if (compacted > 0) {
      stream.seen.compacted = true;
      stream.compactedAway = true;
      stream.next = compacted;
    }
    stream.ending = "watch canceled: " + Printable(JsonText(result, "cancel_reason"), kShownText);
    return false;
  }
  if (result.value("created", false)) {
    stream.created = true;
    stream.failures = 0;
    stream.lost = false;
    return true;
  }
  const auto events = result.find("events");
  if (events == result.end() || !events->is_array() || events->empty()) {
    // A progress notification: every revision up to the header's was told.
    const long long revision = JsonInteger(result.value("header", nlohmann::json()), "revision");
    stream.next = std::max(stream.next, revision + 1);
    return true;
  }
  for (const auto& event : *events) {
    const long long mod = JsonInteger(event.value("kv", nlohmann::json()), "mod_revision");
    stream.seen.newestMod = std::max(stream.seen.newestMod, mod);
    stream.next = std::max(stream.next, mod + 1);
  }
  return true;
}

long EtcdWatch::Tend() {
  CURLM* multi = static_cast<CURLM*>(multi_);
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    Stream* stream = nullptr;
    curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &stream);
    // An end the answer asked for keeps its reason; a transfer's own end is libcurl's.
    stream->why = !stream->ending.empty()            ? stream->ending
                  : message->data.result == CURLE_OK ? "the member ended the watch"
                                                     : curl_easy_strerror(message->data.result);
    // A compacted start goes on at once, from the oldest revision kept.
    const bool compacted = stream->compactedAway;
    Close(*stream, !compacted);
    if (compacted) stream->deadline = Clock::now();
  }
  long wait = -1;
  const auto now = Clock::now();
  for (auto& stream : streams_) {
    if (stream->deadline <= now) {
      if (stream->easy != nullptr) {
        stream->why = stream->created ? "no word within " + std::to_string(kSilentMs) + " ms"
                                      : "no watch within " +
                                            std::to_string(EtcdClient::kRequestTimeoutMs) + " ms";
        Close(*stream, true);
      }
      if (stream->deadline <= now) Open(*stream);
    }
    const long ms = MsUntil(stream->deadline);
    wait = wait < 0 ? ms : std::min(wait, ms);
  }
  return wait;
}

void EtcdWatch::Wait(pollfd* fds, unsigned count, int timeoutMs) {
  CURLM* multi = static_cast<CURLM*>(multi_);
  if (multi == nullptr) return;
  long wait = Tend();
  if (timeoutMs >= 0 && (wait < 0 || timeoutMs < wait)) wait = timeoutMs;
  std::vector<curl_waitfd> extra(count);
  for (unsigned i = 0; i < count; ++i) extra[i] = {fds[i].fd, fds[i].events, 0};
  curl_multi_poll(multi, extra.data(), count, wait < 0 ? INT32_MAX : static_cast<int>(wait),
                  nullptr);
  for (unsigned i = 0; i < count; ++i) fds[i].revents = extra[i].revents;
  int running = 0;
  curl_multi_perform(multi, &running);
  Tend();
}

EtcdWatch::Seen EtcdWatch::Take(size_t i) {
  Seen seen = streams_[i]->seen;
  streams_[i]->seen = Seen{};
  return seen;
}

bool EtcdWatch::Live() const {
  return std::none_of(streams_.begin(), streams_.end(),
                      [](const std::unique_ptr<Stream>& stream) { return stream->lost; });
}

}  // namespace keytreestore
