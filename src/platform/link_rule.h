#pragma once

#include <sys/types.h>

#include <cerrno>
#include <string>

// Which symbolic links a program may follow when it writes a file. In a
// sticky, world-writable directory such as /tmp anybody may plant a link
// under a name another user is going to write; Linux's protected_symlinks
// therefore follows a link there only if it belongs to the user or to the
// directory's owner. The programs resolve the links of the files they write
// themselves (so that the link stays and its file is replaced), which
// bypasses the kernel's check: this is the same rule, applied whether or not
// the kernel's switch is on.

// errno when a link on the way is one that must not be followed.
inline constexpr int UntrustedLink = ENOLINK;

// The rule itself: a link owned by `linkOwner` in a directory owned by
// `dirOwner` with mode `dirMode`, followed on behalf of `user`.
bool MayFollowLink(uid_t linkOwner, uid_t dirOwner, mode_t dirMode, uid_t user);

// The file a write of `path` goes to: `path` itself, or, if it is a symbolic
// link, the file its chain of links ends in. False with errno UntrustedLink if
// a link on the way may not be followed, ELOOP for a loop.
bool ResolveForWriting(const char* path, std::string& target);

// "dir/name" -> "dir", "name" -> ".", "/name" -> "/"; and the name.
std::string DirectoryOf(const std::string& path);
std::string NameOf(const std::string& path);
