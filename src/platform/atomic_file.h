#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// Replaces a file whole, so that a reader, a crash or a kill sees either the
// old file or the new one, never a mixture, and nothing is left behind:
//
// 1. the target is `path`, or, if `path` is a symbolic link, the file its
//    chain of links ends in (links followed only as link_rule.h allows): the
//    links stay and their file is replaced;
// 2. the bytes go into an unnamed file in the target's directory (O_TMPFILE),
//    which vanishes by itself if the program dies before it is whole; where
//    the file system has no unnamed files, into "<target>.tmp.XXXXXX"
//    created exclusively (mkstemp), so it never follows a link planted there
//    and two programs saving the same file never share one;
// 3. the file gets the old file's mode, owner and group (a new target: 0666
//    less the umask) and is fsync'ed;
// 4. it gets the target's name (a new target: linked under it at once; an
//    old one: linked as "<target>.tmp.XXXXXX" and renamed over it), and the
//    directory is fsync'ed;
// 5. temporary files of this target that a killed writer left (between its
//    link and its rename, or halfway through a named one) are removed: each
//    writer holds a lock on its file while it works, so a file nobody holds
//    is left over. Not after a `named` Open, whose leftovers are a film's.
//
// On failure the temporary file is removed, the target is left as it was,
// false is returned and errno says why.
class TFileReplacement {
 public:
  TFileReplacement() = default;
  ~TFileReplacement();  // an uncommitted replacement is dropped
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;

  // Opens the file that will replace `path` (steps 1 and 2). `named`: always
  // through "<target>.tmp.XXXXXX", so that what a killed program wrote stays
  // readable there (a film, up to its last whole second).
  bool Open(const char* path, bool named = false);
  // The file being written, for writers that seek in it; -1 if none.
  int Descriptor() const { return Fd; }
  // Appends bytes to it.
  bool Write(const void* data, size_t size);
  // Steps 3 and 4. Only once; afterwards the replacement is closed.
  bool Commit();
  // Steps 3 and 4 for a file that must not be there yet: it gets the name
  // only if nothing has it, also when something appeared there since Open;
  // otherwise false with errno EEXIST, and what is there stays.
  bool CommitNew();
  // Drops what was written; the target stays as it was.
  void Discard();

  // The file being replaced (after the links).
  const std::string& Target() const { return TargetPath; }

 private:
  bool LinkUnder(const std::string& name) const;
  int Fd = -1;
  std::string TargetPath;
  std::string Temporary;  // named temporary file, or "" while unnamed
  bool KeepsTemporary = false;  // opened `named`: a killed writer's file stays readable
};

// The three steps in one, for bytes in memory.
bool WriteFileAtomically(const char* path, const void* data, size_t size);
// The same for a file that must not be there yet (CommitNew).
bool WriteNewFileAtomically(const char* path, const void* data, size_t size);

// The file a save of `path` replaces: its target after the links that may be
// followed (at an untrusted link: `path` itself, whose save then fails).
std::string SaveTarget(const char* path);

// Whether `candidate` names `path`'s save target or one of its temporary
// files ("<target>.tmp" and "<target>.tmp.XXXXXX"), after resolving links
// and including hard links.
bool IsSaveTargetOrTemporary(const char* candidate, const char* path);

// Length of the temporary name's suffix ".tmp.XXXXXX".
inline constexpr size_t TemporarySuffixBytes = 11;

// For every file a program is going to write, before it starts the work that
// leads to it: 0 if it can, else the errno its write would fail with.
// `replaced`: stored whole (needs a writable directory and room for the
// temporary name beside it); otherwise appended to (an existing file must be
// writable, a missing one creatable). `extraSuffix` bytes more must fit the
// name for files written beside it (a lock file, a history).
int CheckWritable(const char* path, bool replaced, size_t extraSuffix = 0);

// Whether the file at `path` (through a link followed) is marked read-only:
// not writable for this user, for root without any write bit. Programs that
// cannot ask never replace such a file.
bool IsWriteProtected(const char* path);

// Whether replacing the file at `path` can keep its owner and group; true
// for a missing file.
bool OwnerCanBeKept(const char* path);

// The umask without changing it.
mode_t CurrentUmask();

// For tests: store through named temporary files only, as on a file system
// without unnamed ones.
void ForceNamedTemporaryFiles(bool on);
