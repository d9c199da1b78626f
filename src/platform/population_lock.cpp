#include "platform/population_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/atomic_file.h"

namespace {

// The process holding a flock() on the file `st`, from the kernel's table
// of locks; 0 if none is listed. `known`: whether the table could be read.
pid_t LockHolderOf(const struct stat& st, bool& known) {
  FILE* f = std::fopen("/proc/locks", "re");
  known = f != nullptr;
  if (!f) return 0;
  pid_t holder = 0;
  char line[256];
  while (holder == 0 && std::fgets(line, sizeof line, f)) {
    if (std::strstr(line, "->")) continue;  // a waiter, not a holder
    char type[16];
    int pid = 0;
    unsigned maj = 0, min = 0;
    unsigned long inode = 0;
    if (std::sscanf(line, "%*d: %15s %*s %*s %d %x:%x:%lu", type, &pid, &maj, &min, &inode) == 5 &&
        std::strcmp(type, "FLOCK") == 0 && maj == major(st.st_dev) && min == minor(st.st_dev) && inode == st.st_ino)
      holder = pid > 0 ? pid : -1;
  }
  std::fclose(f);
  return holder;
}

// The holder as the lock file says (written by it right after locking).
pid_t WrittenHolder(int fd) {
  char text[24] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  int pid = 0;
  return n > 0 && std::sscanf(text, "%d", &pid) == 1 && pid > 0 ? pid : -1;
}

int OpenLockFile(const std::string& path, int flags) {
  // Never through a link or into a FIFO planted under the lock's name.
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) {
    // A link or a directory in its place is no regular file, which says more
    // than "too many links" or a write error.
    if (errno == ELOOP || errno == EISDIR) errno = ENODEV;
    return -1;
  }
  struct stat st = {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = ENODEV;
    return -1;
  }
  return fd;
}

}  // namespace

std::string PopulationLockPath(const char* path) { return SaveTarget(path) + ".lock"; }

TPopulationLock::TPopulationLock(TPopulationLock&& other) noexcept { *this = std::move(other); }

TPopulationLock& TPopulationLock::operator=(TPopulationLock&& other) noexcept {
  if (this != &other) {
    Release();
    Fd = std::exchange(other.Fd, -1);
    Path = std::move(other.Path);
    HolderPid = other.HolderPid;
  }
  return *this;
}

bool TPopulationLock::Acquire(const char* path) {
  Release();
  HolderPid = 0;
  Path = PopulationLockPath(path);
  // A holder removes the file as it lets go; a lock taken on a file that was
  // removed meanwhile locks nothing, so it is taken again on the new one.
  for (int tries = 0; tries < 100; ++tries) {
    int fd = OpenLockFile(Path, O_RDWR | O_CREAT);
    if (fd < 0 && errno == EACCES) fd = OpenLockFile(Path, O_RDONLY);  // another user's: locking needs no writing
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno == EINTR ? EWOULDBLOCK : errno;
      if (error == EWOULDBLOCK) {
        struct stat st = {};
        bool known = false;
        HolderPid = ::fstat(fd, &st) == 0 ? LockHolderOf(st, known) : 0;
        if (HolderPid == 0) HolderPid = WrittenHolder(fd);
      }
      ::close(fd);
      errno = error;
      return false;
    }
    struct stat mine = {}, named = {};
    if (::fstat(fd, &mine) == 0 && ::stat(Path.c_str(), &named) == 0 && mine.st_dev == named.st_dev &&
        mine.st_ino == named.st_ino) {
      Fd = fd;
      // For the one who finds it locked where the kernel's table cannot be read.
      char text[24];
      const int n = std::snprintf(text, sizeof text, "%d\n", static_cast<int>(::getpid()));
      if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, text, static_cast<size_t>(n), 0);
      return true;
    }
    ::close(fd);
  }
  errno = EAGAIN;
  return false;
}

void TPopulationLock::Release() {
  if (Fd < 0) return;
  const int error = errno;
  ::unlink(Path.c_str());  // before the lock goes, so nobody locks a file about to vanish
  ::close(Fd);
  Fd = -1;
  errno = error;
}

pid_t PopulationLockHolder(const char* path) {
  const int fd = OpenLockFile(PopulationLockPath(path), O_RDONLY);
  if (fd < 0) return 0;  // no lock file: nobody works on it
  struct stat st = {};
  bool known = false;
  pid_t holder = ::fstat(fd, &st) == 0 ? LockHolderOf(st, known) : 0;
  // Without the kernel's table: a shared lock for a moment tells.
  if (!known && ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) holder = WrittenHolder(fd);
  ::close(fd);
  return holder;
}
