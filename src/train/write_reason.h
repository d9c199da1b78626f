#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "ann-ga/load_reason.h"
#include "history/learning_path.h"

// Why a file could not be written, for the trainer's one line on stderr,
// from the errno of the failed call.
const char* WriteReason(int error);
// Why a population file could not be loaded, with the sizes where the size
// was wrong: "falsche Größe (12 statt 199620 Bytes)".
std::string LoadFailure(TLoadError e, size_t size);
// The trainer's one line on stderr for a file that could not be loaded or written.
void ReportLoadFailure(const std::string& file, TLoadError e, size_t size);
void ReportWriteFailure(const std::string& file, int error);
// A new file's name that is taken (a file, a directory, a link, even a
// dangling one) is refused before any work, with the line on stderr; the
// write itself refuses one that appears later.
bool RefuseTaken(const std::string& file);

// The same for a small text file of a set (EILSEQ: damaged or foreign).
void ReportUnreadable(const std::string& file, int error);

// The same for a learning path that cannot be read.
void ReportPathFailure(const std::string& file, TPathError e);

class TPopulationLock;
// Takes FILE's lock, so nobody else trains or stores it while this command
// works on it; false, with the trainer's line on stderr, if that fails or
// FILE is marked read-only (the trainer cannot ask before replacing it).
bool TakeLock(const std::string& file, TPopulationLock& lock);

// Why a population cannot be trained: another program holds its lock
// (`holder`: its process id, -1 if it cannot be told).
std::string LockedReason(pid_t holder);
