#include "platform/link_rule.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace {

constexpr int MaxLinks = 40;  // the kernel's own limit on a path's links

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MayFollowLink(uid_t linkOwner, uid_t dirOwner, mode_t dirMode, uid_t user) {
  const bool openToAll = (dirMode & S_ISVTX) && (dirMode & S_IWOTH);
  return !openToAll || linkOwner == user || linkOwner == dirOwner;
}

bool ResolveForWriting(const char* path, std::string& target) {
  // The programs never change their file-system user id, so it is the
  // effective one.
  const uid_t user = ::geteuid();
  std::string at = path;
  for (int i = 0; i < MaxLinks; ++i) {
    struct stat link = {};
    if (::lstat(at.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      target = at;  // also a missing file: it is created under this name
      return true;
    }
    const std::string dir = DirectoryOf(at);
    struct stat d = {};
    if (::stat(dir.c_str(), &d) != 0) return false;
    if (!MayFollowLink(link.st_uid, d.st_uid, d.st_mode, user)) {
      errno = UntrustedLink;
      return false;
    }
    char next[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), next, sizeof next - 1);
    if (n < 0) return false;
    next[n] = '\0';
    at = next[0] == '/' ? std::string(next) : dir + "/" + next;
  }
  errno = ELOOP;
  return false;
}
