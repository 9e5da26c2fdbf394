// Watches of the settings under etcd prefixes. Each is a long-lived POST to
// "/v3/watch" whose answer is a stream of JSON results, one a line; all of them
// go through one libcurl multi handle, so that one thread waits on every stream
// and on descriptors of its own at once.
//
// A stream starts from a given revision (the one its settings were read at, plus
// one), so that nothing saved after that read goes unseen. It is resumed from the
// revision after the last one it accounted for, on the next endpoint, when
//  - its connection ends or fails (a member stopped, killed or out of reach), or
//    the member ends it (one that lost its leader does: streams ask for that);
//  - it is not created within EtcdClient::kRequestTimeoutMs;
//  - it says nothing for kSilentMs. Streams ask for progress notifications,
//    which a member sends while nothing changes, at the interval its
//    --experimental-watch-progress-notify-interval sets: at kSilentMs / 2 or
//    less, a live stream is never resumed for its silence, and a member that
//    hangs is left within kSilentMs.
// When every endpoint failed in a row the stream counts as lost (Live() false)
// and is tried again every EtcdClient::kRequestTimeoutMs. A start revision the
// cluster compacted away is told (what changed since may be gone: the settings
// must be read anew) and the stream goes on from the oldest revision kept.
//
// Not thread safe: one thread at a time.
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDWATCH_H
#define DICOMSETTINGS_STORE_ETCD_ETCDWATCH_H

#include <poll.h>

#include <memory>
#include <string>
#include <vector>

namespace keytreestore {

class EtcdWatch {
 public:
  static constexpr long kSilentMs = 10000;

  // What a stream told since it was last asked.
  struct Seen {
    long long newestMod = 0;  // the newest modification revision of an event; 0: none
    bool compacted = false;   // revisions it was to tell of were compacted away
  };

  EtcdWatch();
  ~EtcdWatch();
  EtcdWatch(const EtcdWatch&) = delete;
  EtcdWatch& operator=(const EtcdWatch&) = delete;

  // Adds a stream of the settings under path (an etcd path, UTF-8) from revision
  // from on (0: from now on) and waits until a member created it: STORE_OK;
  // STORE_E_BAD_ARGUMENT (noted) for a malformed path; STORE_E_IO (noted) for an
  // unreadable configuration or when no endpoint created the stream within the
  // store's bound. On failure nothing was added.
  int Add(const std::string& path, long long from);

  // Waits at most timeoutMs (-1: without end) for a stream or for one of fds
  // (count of them, revents set as poll sets them), then reads what the streams
  // sent and resumes those that ended or fell silent.
  void Wait(pollfd* fds, unsigned count, int timeoutMs);

  // What stream i (in the order added) told since the last call.
  Seen Take(size_t i);

  // Whether no stream is lost.
  bool Live() const;

 private:
  struct Stream;
  // Starts stream's transfer on its current endpoint.
  void Open(Stream& stream);
  // Ends stream's transfer; a failure moves it on to the next endpoint.
  void Close(Stream& stream, bool failed);
  // Whether one line of a stream's answer leaves the stream open.
  static bool Read(Stream& stream, const std::string& line);
  static size_t Receive(char* data, size_t size, size_t count, void* user);
  // Resumes what ended, timed out or is due to be tried again; gives the ms to
  // the next deadline (-1: none).
  long Tend();

  void* multi_;  // the CURLM handle
  std::vector<std::unique_ptr<Stream>> streams_;
};

}  // namespace keytreestore

#endif
