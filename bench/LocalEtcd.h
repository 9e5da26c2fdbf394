// One etcd member on free loopback ports with its data in a given folder, for
// the etcd benchmark and the etcd stress run; killed with its owner.
#ifndef DICOMSETTINGS_BENCH_LOCALETCD_H
#define DICOMSETTINGS_BENCH_LOCALETCD_H

#include <sys/types.h>

#include <string>

namespace bench {

class LocalEtcd {
 public:
  // Starts the member and waits (at most 10 s) until it answers.
  explicit LocalEtcd(const std::string& folder);
  ~LocalEtcd();
  LocalEtcd(const LocalEtcd&) = delete;
  LocalEtcd& operator=(const LocalEtcd&) = delete;

  bool ready() const { return ready_; }
  // "127.0.0.1:PORT" of its clients.
  const std::string& endpoint() const { return endpoint_; }

 private:
  pid_t pid_ = -1;
  std::string endpoint_;
  bool ready_ = false;
};

}  // namespace bench

#endif
