#pragma once

// File-system faults on demand, and safety nets for code that would block for ever if it regressed.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

// While it lives, writes past `bytes` fail with EFBIG: the write failure root can make without mounting.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) : OldHandler(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &Old);
    rlimit limit = Old;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &Old);
    ::signal(SIGXFSZ, OldHandler);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  sighandler_t OldHandler;
  rlimit Old{};
};

// While it lives, `dir` is a disk of `bytes` (a tmpfs, in a mount namespace of this process's own, which the
// programs it starts share): a full disk on demand. Root only: Mounted() is false otherwise.
class TSmallDisk {
 public:
  TSmallDisk(const std::string& dir, size_t bytes) : Dir(dir) {
    const std::string size = "size=" + std::to_string(bytes);
    Done = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", dir.c_str(), "tmpfs", 0, size.c_str()) == 0;
  }
  ~TSmallDisk() {
    if (Done) ::umount2(Dir.c_str(), MNT_DETACH);
  }
  TSmallDisk(const TSmallDisk&) = delete;
  TSmallDisk& operator=(const TSmallDisk&) = delete;
  bool Mounted() const { return Done; }

 private:
  std::string Dir;
  bool Done = false;
};

// Runs `check` in a child that an alarm ends after `seconds`: 0 if it
// returned true, 1 if false, 1000 + the signal if ended (SIGALRM: blocked).
inline int InChildWithin(unsigned seconds, const std::function<bool()>& check) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(seconds);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// For a program that cannot fork safely (Qt): ends it, naming `what`, if still alive after `seconds`.
class TWatchdog {
 public:
  TWatchdog(const char* what, int seconds)
      : Thread([what, seconds](std::stop_token stop) {
          std::mutex mutex;
          std::condition_variable_any ended;
          std::unique_lock lock(mutex);
          if (ended.wait_for(lock, stop, std::chrono::seconds(seconds), [] { return false; }) || stop.stop_requested())
            return;
          std::fprintf(stderr, "FAIL: still waiting for %s after %d s\n", what, seconds);
          std::_Exit(1);
        }) {}

 private:
  std::jthread Thread;  // its end asks the wait to stop
};
