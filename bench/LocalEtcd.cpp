// Starting and stopping a local etcd member.
#include "LocalEtcd.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "EtcdClient.h"
#include "KeyTreeStore.h"

namespace bench {
namespace {

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace

LocalEtcd::LocalEtcd(const std::string& folder) {
  endpoint_ = "127.0.0.1:" + std::to_string(FreePort());
  const std::string clientUrl = "http://" + endpoint_;
  const std::string peerUrl = "http://127.0.0.1:" + std::to_string(FreePort());
  std::vector<std::string> args{"etcd",
                                "--data-dir=" + folder + "/etcd",
                                "--listen-client-urls=" + clientUrl,
                                "--advertise-client-urls=" + clientUrl,
                                "--listen-peer-urls=" + peerUrl,
                                "--initial-advertise-peer-urls=" + peerUrl,
                                "--initial-cluster=default=" + peerUrl};
  const std::string log = folder + "/etcd.log";
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    dup2(fd, 1);
    dup2(fd, 2);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execvp("etcd", argv.data());
    _exit(127);
  }
  keytreestore::EtcdClient client({endpoint_}, keytreestore::EtcdConfig());
  const nlohmann::json probe = {{"key", "AA=="}};
  nlohmann::json answer;
  for (int tries = 0; tries < 100 && !ready_; ++tries) {
    ready_ = client.Call("kv/range", probe, &answer) == STORE_OK;
    if (!ready_) usleep(100000);
  }
}

LocalEtcd::~LocalEtcd() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

}  // namespace bench
