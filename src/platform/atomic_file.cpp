#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* TempSuffix = ".tmp";
constexpr int MaxLinks = 40;  // as the kernel's own limit on a path's links

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The umask without changing it: umask() can only be read by setting it,
// which would race with other threads creating files.
mode_t CurrentUmask() {
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
    if (found) return static_cast<mode_t>(mask);
  }
  return 022;
}

// Keeps the first error's errno across the cleanup that follows it.
bool Fail(int fd, const std::string& temp) {
  const int error = errno;
  if (fd >= 0) ::close(fd);
  if (!temp.empty()) ::unlink(temp.c_str());
  errno = error;
  return false;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a directory; the rename is done all the same.
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}

}  // namespace

std::string SaveTarget(const char* path) {
  std::string target = path;
  for (int i = 0; i < MaxLinks; ++i) {
    struct stat st = {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char link[PATH_MAX];
    const ssize_t n = ::readlink(target.c_str(), link, sizeof link - 1);
    if (n < 0) return target;
    link[n] = '\0';
    target = link[0] == '/' ? std::string(link) : DirectoryOf(target) + "/" + link;
  }
  return target;  // a loop of links: the open below fails on it
}

bool WriteFileAtomically(const char* path, const void* data, size_t size) {
  const std::string target = SaveTarget(path);
  std::string temp = target + TempSuffix + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return Fail(-1, "");

  struct stat st = {};
  const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (!WriteAll(fd, data, size) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) return Fail(fd, temp);
  if (::close(fd) != 0) return Fail(-1, temp);
  if (::rename(temp.c_str(), target.c_str()) != 0) return Fail(-1, temp);
  return SyncDirectory(DirectoryOf(target));
}

bool IsSaveTargetOrTemporary(const char* candidate, const char* path) {
  // Both as absolute paths of their resolved directory, which need not be
  // the same spelling for the same directory.
  const auto absolute = [](const std::string& file) {
    char dir[PATH_MAX];
    if (!::realpath(DirectoryOf(file).c_str(), dir)) return file;
    return std::string(dir) + "/" + NameOf(file);
  };
  const std::string a = absolute(SaveTarget(candidate));
  const std::string b = absolute(SaveTarget(path));
  if (a == b) return true;
  struct stat sa = {}, sb = {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino)
    return true;
  const std::string temp = b + TempSuffix;
  if (a == temp) return true;
  // mkstemp's six characters after "<target>.tmp.".
  return a.size() == temp.size() + 7 && a.compare(0, temp.size() + 1, temp + ".") == 0;
}
