#pragma once

#include <sys/types.h>

#include <string>

// Only one program at a time may train or store a population: two trainers
// on one file would save over each other's generations and double the
// history's rows, a window's Speichern would replace what a trainer is about
// to append to. Whoever trains or stores a population holds its lock for as
// long as it works on it.
//
// The lock is an advisory flock() on "<file>.lock" beside the population
// file (after its links), not on the population file itself: that file is
// replaced by a new one at every save, and a lock on the old one would not
// stop a program that opens the new one; and a population that does not
// exist yet has no file to lock. The kernel drops the lock when its holder
// ends, however it ends; the holder removes the lock file when it lets go
// (a killed one leaves it, harmless: it is only locked, never read). A
// descriptor inherited by a child keeps the lock while the child lives.
class TPopulationLock {
 public:
  TPopulationLock() = default;
  ~TPopulationLock() { Release(); }
  TPopulationLock(TPopulationLock&& other) noexcept;
  TPopulationLock& operator=(TPopulationLock&& other) noexcept;
  TPopulationLock(const TPopulationLock&) = delete;
  TPopulationLock& operator=(const TPopulationLock&) = delete;

  // Takes the lock of the population file `path` without waiting. False
  // with errno EWOULDBLOCK when another program holds it (Holder() says
  // which), or with the errno of the lock file that could not be made.
  bool Acquire(const char* path);
  // Lets go of it, removing the lock file; nothing if not held.
  void Release();

  // After Acquire failed with EWOULDBLOCK: the holder's process id; -1 if
  // it cannot be told.
  pid_t Holder() const { return HolderPid; }
  // The locked descriptor (close-on-exec), -1 if not held.
  int Descriptor() const { return Fd; }

 private:
  int Fd = -1;
  std::string Path;
  pid_t HolderPid = 0;
};

// Who holds the lock of the population file `path`, without taking it: 0 if
// nobody, the holder's process id, or -1 if it is held by a process that
// cannot be told.
pid_t PopulationLockHolder(const char* path);

// "<target>.lock" beside the population file's target.
std::string PopulationLockPath(const char* path);
inline constexpr size_t LockSuffixBytes = 5;  // ".lock"
