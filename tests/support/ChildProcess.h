// A child process for the tests: another program run with its standard output on
// a pipe, or a function run in a fork, killed or waited for.
#ifndef DICOMSETTINGS_TESTS_CHILDPROCESS_H
#define DICOMSETTINGS_TESTS_CHILDPROCESS_H

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

class ChildProcess {
 public:
  // Runs program with args; its standard output can be read with ReadOutput.
  ChildProcess(const std::string& program, const std::vector<std::string>& args) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(fds[1]);
    output_ = fds[0];
  }
  // Runs fn in a fork of this process; its result is the exit status.
  explicit ChildProcess(const std::function<int()>& fn) {
    pid_ = fork();
    if (pid_ == 0) _exit(fn());
  }
  ~ChildProcess() {
    if (pid_ > 0) Kill();
    if (output_ >= 0) close(output_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }

  // Appends what the child wrote, waiting at most timeoutMs for something new;
  // false at the end of its output.
  bool ReadOutput(std::string* out, int timeoutMs) {
    pollfd wait{output_, POLLIN, 0};
    if (poll(&wait, 1, timeoutMs) <= 0) return true;
    char chunk[4096];
    const ssize_t n = read(output_, chunk, sizeof chunk);
    if (n <= 0) return false;
    out->append(chunk, static_cast<size_t>(n));
    return true;
  }
  // Sends the child a signal.
  void Signal(int signal) { kill(pid_, signal); }
  // SIGKILL, then the child is reaped.
  void Kill() {
    kill(pid_, SIGKILL);
    Wait();
  }
  // The exit status, or 128 + the signal that ended the child.
  int Wait() {
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) {
      pid_ = -1;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int status_ = -1;
};

// Iterations of a test: the default, or the number in the environment variable
// name (scripts/stress sets them for the long runs).
inline int Iterations(const char* name, int fallback) {
  const char* value = std::getenv(name);
  const int n = value != nullptr ? std::atoi(value) : 0;
  return n > 0 ? n : fallback;
}

#endif
