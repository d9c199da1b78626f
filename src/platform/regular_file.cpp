#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/link_rule.h"

namespace {

// O_NONBLOCK: a FIFO without a writer opens at once instead of waiting for
// one; a FIFO without a reader fails (ENXIO) instead of waiting. Once the file
// is known to be regular the flag is cleared again, though it means nothing
// for regular files.
int OpenRegular(const char* path, int flags) {
  const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) {
    if (errno == ENXIO || errno == EISDIR) errno = NotRegularFile;
    return -1;
  }
  struct stat st = {};
  const bool known = ::fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    const int error = known ? NotRegularFile : errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  const int status = ::fcntl(fd, F_GETFL);
  if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace

int OpenRegularForReading(const char* path) { return OpenRegular(path, O_RDONLY); }

int OpenRegularForAppend(const char* path) {
  // Links only as far as they may be followed; what they lead to is then
  // opened without following another one planted meanwhile.
  std::string target;
  if (!ResolveForWriting(path, target)) return -1;
  const int fd = OpenRegular(target.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW);
  if (fd < 0 && errno == ELOOP) errno = UntrustedLink;
  return fd;
}

FILE* OpenRegularStream(const char* path, bool append) {
  const int fd = append ? OpenRegularForAppend(path) : OpenRegularForReading(path);
  if (fd < 0) return nullptr;
  FILE* f = ::fdopen(fd, append ? "a+b" : "rb");
  if (!f) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return f;
}

bool ReadRegularFile(const char* path, std::string& bytes, long long limit) {
  const int fd = OpenRegularForReading(path);
  if (fd < 0) return false;
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || static_cast<long long>(bytes.size()) + n > limit) {
      const int error = n < 0 ? errno : (n == 0 ? 0 : EFBIG);
      ::close(fd);
      errno = error;
      return n == 0;
    }
    bytes.append(chunk, static_cast<size_t>(n));
  }
}
