#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/link_rule.h"
#include "platform/regular_file.h"

namespace {

constexpr const char* TempSuffix = ".tmp";

std::atomic<bool> NamedOnly{false};

// Keeps errno across cleanup.
struct TKeepErrno {
  int Saved = errno;
  ~TKeepErrno() { errno = Saved; }
};

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
  const TKeepErrno keep;
  ::close(fd);
  return ok;
}

// "<target>.tmp." and six random letters, as mkstemp makes them.
// A writer holds its file locked until it is closed (or the writer dies), so
// that a temporary file nobody holds is known to be left over.
void HoldWhileWriting(int fd) { (void)::flock(fd, LOCK_EX | LOCK_NB); }

// "<target>.tmp.XXXXXX" files of this user that no writer holds.
void RemoveLeftTemporaries(const std::string& target) {
  const std::string prefix = NameOf(target) + TempSuffix + ".";
  DIR* dir = ::opendir(DirectoryOf(target).c_str());
  if (dir == nullptr) return;
  const int at = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    const int fd = ::openat(at, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st = {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1 &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      (void)::unlinkat(at, name.c_str(), 0);
    ::close(fd);
  }
  ::closedir(dir);
}

std::string TemporaryName(const std::string& target) {
  static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[6] = {};
  if (::getrandom(random, sizeof random, 0) != sizeof random) {
    const unsigned long mix = static_cast<unsigned long>(::getpid()) * 2654435761u ^ reinterpret_cast<uintptr_t>(&mix);
    std::memcpy(random, &mix, sizeof random);
  }
  std::string name = target + TempSuffix + ".";
  for (unsigned char r : random) name += Letters[r % (sizeof Letters - 1)];
  return name;
}

// Whether open's failure with O_TMPFILE means the file system has no
// unnamed files (old kernels take the flag for O_DIRECTORY: EISDIR).
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

bool InGroup(gid_t gid) {
  if (gid == ::getegid()) return true;
  gid_t groups[NGROUPS_MAX];
  const int n = ::getgroups(NGROUPS_MAX, groups);
  for (int i = 0; i < n; ++i)
    if (groups[i] == gid) return true;
  return false;
}

}  // namespace

void ForceNamedTemporaryFiles(bool on) { NamedOnly = on; }

mode_t CurrentUmask() {
  // umask() can only be read by setting it, which would race with other
  // threads creating files.
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

TFileReplacement::~TFileReplacement() { Discard(); }

void TFileReplacement::Discard() {
  const TKeepErrno keep;
  if (Fd >= 0) ::close(Fd);
  if (!Temporary.empty()) ::unlink(Temporary.c_str());
  Fd = -1;
  Temporary.clear();
}

bool TFileReplacement::Open(const char* path, bool named) {
  Discard();
  KeepsTemporary = named;
  if (!ResolveForWriting(path, TargetPath)) return false;
  const std::string dir = DirectoryOf(TargetPath);
  // Unnamed files are linked through /proc; without it they cannot be.
  if (!named && !NamedOnly && ::access("/proc/self/fd", X_OK) == 0) {
    Fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (Fd >= 0) return HoldWhileWriting(Fd), true;
    if (!NoUnnamedFiles(errno)) return false;
  }
  // Between making a named file and locking it, another save of the target
  // may take it for left over and remove it: then a new name is made.
  for (int tries = 0; tries < 100; ++tries) {
    Temporary = TargetPath + TempSuffix + ".XXXXXX";
    Fd = ::mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0) break;
    struct stat made = {}, named = {};
    if (::flock(Fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(Fd, &made) == 0 && ::stat(Temporary.c_str(), &named) == 0 &&
        made.st_ino == named.st_ino && made.st_dev == named.st_dev) {
      // mkstemp makes 0600; a new file is to get 0666 less the umask as any other.
      if (::fchmod(Fd, 0666 & ~CurrentUmask()) == 0) return true;
      break;
    }
    ::close(Fd);  // taken away meanwhile (or being taken): its remover unlinks it
    Fd = -1;
  }
  if (Fd < 0) Temporary.clear();  // mkstemp made nothing
  Discard();
  return false;
}

bool TFileReplacement::Write(const void* data, size_t size) { return Fd >= 0 && WriteAll(Fd, data, size); }

bool TFileReplacement::LinkUnder(const std::string& name) const {
  const std::string self = "/proc/self/fd/" + std::to_string(Fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != ENOENT) return false;
  // /proc gone meanwhile: the direct way, which needs privileges.
  return ::linkat(Fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

bool TFileReplacement::Commit() {
  if (Fd < 0) {
    errno = EBADF;
    return false;
  }
  struct stat old = {}, now = {};
  const bool replacing = ::stat(TargetPath.c_str(), &old) == 0;
  if (::fstat(Fd, &now) != 0) return Discard(), false;
  mode_t mode = now.st_mode & 07777;  // a new file: 0666 less the umask, as made
  if (replacing) {
    mode = old.st_mode & 07777;
    if (old.st_uid != now.st_uid || old.st_gid != now.st_gid) {
      if (::fchown(Fd, old.st_uid, old.st_gid) != 0) {
        // Not privileged: the new file is this user's; its group where it may.
        if (old.st_gid != now.st_gid && InGroup(old.st_gid)) (void)::fchown(Fd, static_cast<uid_t>(-1), old.st_gid);
        mode &= ~(S_ISUID | S_ISGID);
      }
    }
  }
  if (::fchmod(Fd, mode) != 0 || ::fsync(Fd) != 0) return Discard(), false;

  if (Temporary.empty()) {
    // A new target gets its name at once; an old one is replaced by renaming
    // a named link over it, the only moment a kill could leave a name behind.
    bool linked = !replacing && LinkUnder(TargetPath);
    if (!linked && (replacing || errno == EEXIST)) {
      for (int tries = 0; tries < 100 && !linked; ++tries) {
        Temporary = TemporaryName(TargetPath);
        linked = LinkUnder(Temporary);
        if (!linked) Temporary.clear();
        if (!linked && errno != EEXIST) break;
      }
      if (linked && ::rename(Temporary.c_str(), TargetPath.c_str()) != 0) return Discard(), false;
      Temporary.clear();
    }
    if (!linked) return Discard(), false;
  } else if (::rename(Temporary.c_str(), TargetPath.c_str()) != 0) {
    return Discard(), false;
  }
  Temporary.clear();
  if (!KeepsTemporary) RemoveLeftTemporaries(TargetPath);
  const bool closed = ::close(Fd) == 0;
  Fd = -1;
  return closed && SyncDirectory(DirectoryOf(TargetPath));
}

bool TFileReplacement::CommitNew() {
  if (Fd < 0) {
    errno = EBADF;
    return false;
  }
  // A new file keeps the mode it was made with: 0666 less the umask.
  if (::fsync(Fd) != 0) return Discard(), false;
  bool named = false;
  if (Temporary.empty()) {
    named = LinkUnder(TargetPath);  // fails with EEXIST where a name is
  } else {
    named = ::renameat2(AT_FDCWD, Temporary.c_str(), AT_FDCWD, TargetPath.c_str(), RENAME_NOREPLACE) == 0;
    if (named) Temporary.clear();
    // File systems without the flag still refuse to link over a name; then
    // the temporary name is removed once the file has its own.
    if (!named && (errno == EINVAL || errno == ENOSYS)) named = ::link(Temporary.c_str(), TargetPath.c_str()) == 0;
  }
  if (!named) return Discard(), false;
  if (!Temporary.empty()) (void)::unlink(Temporary.c_str());
  Temporary.clear();
  const bool closed = ::close(Fd) == 0;
  Fd = -1;
  return closed && SyncDirectory(DirectoryOf(TargetPath));
}

bool WriteFileAtomically(const char* path, const void* data, size_t size) {
  TFileReplacement file;
  return file.Open(path) && file.Write(data, size) && file.Commit();
}

bool WriteNewFileAtomically(const char* path, const void* data, size_t size) {
  TFileReplacement file;
  return file.Open(path) && file.Write(data, size) && file.CommitNew();
}

std::string SaveTarget(const char* path) {
  std::string target;
  return ResolveForWriting(path, target) ? target : std::string(path);
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
  // The six characters after "<target>.tmp.".
  return a.size() == temp.size() + 7 && a.compare(0, temp.size() + 1, temp + ".") == 0;
}

int CheckWritable(const char* path, bool replaced, size_t extraSuffix) {
  std::string target;
  if (!ResolveForWriting(path, target)) return errno;
  const std::string dir = DirectoryOf(target);
  struct stat d = {};
  if (::stat(dir.c_str(), &d) != 0) return errno;
  if (!S_ISDIR(d.st_mode)) return ENOTDIR;
  // Every name that will be written beside the target must fit.
  const long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  const size_t longest = NameOf(target).size() + std::max(extraSuffix, replaced ? TemporarySuffixBytes : 0);
  if ((nameMax > 0 && longest > static_cast<size_t>(nameMax)) || target.size() + longest >= PATH_MAX)
    return ENAMETOOLONG;
  struct stat st = {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return errno;
  if (exists && !S_ISREG(st.st_mode)) return NotRegularFile;
  // Appending writes the file itself; creating or replacing it, the directory.
  const bool intoFile = exists && !replaced;
  if (::faccessat(AT_FDCWD, intoFile ? target.c_str() : dir.c_str(), intoFile ? W_OK : W_OK | X_OK, AT_EACCESS) != 0)
    return errno;
  return 0;
}

bool IsWriteProtected(const char* path) {
  const std::string target = SaveTarget(path);
  struct stat st = {};
  if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // Root may write anything; only the mode tells what its owner meant.
  if (::geteuid() == 0) return (st.st_mode & 0222) == 0;
  return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

bool OwnerCanBeKept(const char* path) {
  struct stat st = {};
  if (::stat(SaveTarget(path).c_str(), &st) != 0) return true;
  if (::geteuid() == 0) return true;
  return st.st_uid == ::geteuid() && InGroup(st.st_gid);
}
