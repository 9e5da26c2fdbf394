// Real etcd members for the tests: started on free loopback ports with data
// folders in a temporary directory, and killed with the fixture whatever the
// outcome of the test.
#ifndef DICOMSETTINGS_TESTS_ETCDCLUSTER_H
#define DICOMSETTINGS_TESTS_ETCDCLUSTER_H

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "TempDir.h"

// A socket bound to a free loopback port, and that port in *port.
inline int BoundLoopbackSocket(int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  *port = ntohs(address.sin_port);
  return fd;
}

// A loopback port no one listens on now.
inline int FreePort() {
  int port = 0;
  close(BoundLoopbackSocket(&port));
  return port;
}

class EtcdCluster {
 public:
  // members etcd processes forming one cluster; extra: more arguments for each
  // (TLS files); etcdctlTls: etcdctl's TLS options, for "https" clients.
  explicit EtcdCluster(int members, const std::vector<std::string>& extra = {},
                       const std::string& etcdctlTls = "")
      : scheme_(etcdctlTls.empty() ? "http://" : "https://"),
        etcdctlTls_(etcdctlTls),
        extra_(extra),
        members_(members) {
    std::string initial;
    for (int i = 0; i < members; ++i) {
      clientPorts_.push_back(FreePort());
      peerPorts_.push_back(FreePort());
      initial += (i ? ",m" : "m") + std::to_string(i) +
                 "=http://127.0.0.1:" + std::to_string(peerPorts_[i]);
    }
    initial_ = initial;
    // Every read of a prefix leaves a local copy: kept beside the members, never in
    // the machine's /var/cache/dicomsettings (unless a caller chose a folder).
    setenv("DICOMSETTINGS_CACHE_DIR", dir_.File("copies").c_str(), 0);
    for (int i = 0; i < members; ++i) Start(i);
    WaitHealthy();
  }
  EtcdCluster(const EtcdCluster&) = delete;
  EtcdCluster& operator=(const EtcdCluster&) = delete;

  void Start(int i) {
    const std::string client = scheme_ + "127.0.0.1:" + std::to_string(clientPorts_[i]);
    const std::string peer = "http://127.0.0.1:" + std::to_string(peerPorts_[i]);
    std::vector<std::string> args{
        "etcd", "--name=m" + std::to_string(i), "--data-dir=" + dir_.File("m" + std::to_string(i)),
        "--listen-client-urls=" + client, "--advertise-client-urls=" + client,
        "--listen-peer-urls=" + peer, "--initial-advertise-peer-urls=" + peer,
        "--initial-cluster=" + initial_,
        // Silent watch streams hear from their member this often.
        "--experimental-watch-progress-notify-interval=1s"};
    args.insert(args.end(), extra_.begin(), extra_.end());
    const std::string log = dir_.File("m" + std::to_string(i) + ".log");
    members_[i] = std::make_unique<ChildProcess>([&] {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // no member outlives a crashed test
      const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
      dup2(fd, 1);
      dup2(fd, 2);
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execvp("etcd", argv.data());
      return 127;
    });
  }
  void Kill(int i) { members_[i].reset(); }
  // SIGSTOP hangs member i, SIGCONT lets it go on.
  void Signal(int i, int signal) { members_[i]->Signal(signal); }
  // Waits (at most 20 s) until every running member answers a health check.
  bool WaitHealthy() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
      if (std::system(
              (Etcdctl() + "--command-timeout=1s endpoint health >/dev/null 2>&1").c_str()) == 0) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // "127.0.0.1:P1,127.0.0.1:P2" of the running members.
  std::string Endpoints(bool withScheme = false) const {
    std::string list;
    for (size_t i = 0; i < clientPorts_.size(); ++i) {
      if (!members_[i]) continue;
      list += (list.empty() ? "" : ",") + (withScheme ? scheme_ : "") +
              "127.0.0.1:" + std::to_string(clientPorts_[i]);
    }
    return list;
  }
  // The etcdctl command line for the running members, ending in a space.
  std::string Etcdctl() const {
    return "etcdctl " + etcdctlTls_ + " --endpoints=" + Endpoints(true) + " ";
  }
  std::string Endpoint(int i) const { return "127.0.0.1:" + std::to_string(clientPorts_[i]); }
  std::wstring Path(const std::string& prefix) const {
    const std::string path = "etcd://" + Endpoints() + "/" + prefix;
    return std::wstring(path.begin(), path.end());
  }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string scheme_;
  std::string etcdctlTls_;
  std::vector<std::string> extra_;
  std::vector<std::unique_ptr<ChildProcess>> members_;
  std::vector<int> clientPorts_;
  std::vector<int> peerPorts_;
  std::string initial_;
};

#endif
