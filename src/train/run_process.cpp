#include "train/run_process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/parent_death.h"

std::string SelfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "zarnik-train";
  path[n] = '\0';
  return path;
}

bool StartRunProcess(const std::string& exe, const TTrainOptions& o, uint64_t firstSeed, int k, std::optional<int> limit,
                     int threads, int lock, TRunProcess& child) {
  std::vector<std::string> args = {exe, "--run", std::to_string(k), "--seed", std::to_string(firstSeed), "--member",
                                   "--quiet", "--threads", std::to_string(threads)};
  if (limit) args.insert(args.end(), {"--until-generation", std::to_string(*limit)});
  args.insert(args.end(), {"--checkpoint", std::to_string(o.checkpoint > 0 ? o.checkpoint : DefaultRunCheckpoint)});
  args.push_back("--");
  args.push_back(o.file);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int toChild[2], fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) return false;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]), close(toChild[1]);
    return false;
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls until exec.
    EndWithParent(parent);
    signal(SIGPIPE, SIG_DFL);
    if (dup2(toChild[0], 0) < 0 || dup2(fromChild[1], 1) < 0 || (lock >= 0 && fcntl(lock, F_SETFD, 0) != 0)) _exit(127);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  if (pid < 0) {
    close(toChild[1]), close(fromChild[0]);
    return false;
  }
  child.pid = pid;
  child.answers = toChild[1];
  child.lines = fromChild[0];
  fcntl(child.lines, F_SETFL, O_NONBLOCK);
  return true;
}

void WriteAll(int fd, const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const ssize_t n = write(fd, text.data() + at, text.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the run is gone; its end tells
    at += static_cast<size_t>(n);
  }
}

