#pragma once

#include <cstddef>
#include <string>

// Replaces a file whole, so that a reader or a crash sees either the old file
// or the new one, never a mixture:
//
// 1. the target is `path`, or, if `path` is a symbolic link, the file its
//    chain of links ends in: the links stay and their file is replaced;
// 2. a temporary file with a unique name "<target>.tmp.XXXXXX" is created
//    beside the target with O_EXCL (mkstemp), so it never follows a link
//    planted there and two programs saving the same file never share one;
// 3. the bytes are written, fsync'ed, and the file gets the target's
//    permissions (a new target: 0666 less the umask);
// 4. it is renamed over the target and the directory is fsync'ed.
//
// On failure the temporary file is removed, the target is left as it was,
// false is returned and errno says why.
bool WriteFileAtomically(const char* path, const void* data, size_t size);

// The file a save of `path` replaces (step 1 above).
std::string SaveTarget(const char* path);

// Whether `candidate` names `path`'s save target or one of its temporary
// files ("<target>.tmp" and "<target>.tmp.XXXXXX"), after resolving links
// and including hard links.
bool IsSaveTargetOrTemporary(const char* candidate, const char* path);
