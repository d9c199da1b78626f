#pragma once

#include <cerrno>
#include <cstdio>
#include <string>

// Opening the files the programs read or append to. A FIFO, socket, device or
// directory in their place would block the program or feed it without end, so
// they are opened without blocking and refused at once unless they are a
// regular file.

// errno after refusing a file that is not a regular one.
inline constexpr int NotRegularFile = ENODEV;

// Opens `path` for reading; -1 with errno set if that fails or if it is not a
// regular file (errno NotRegularFile, also for a directory).
int OpenRegularForReading(const char* path);
// The same for appending (and reading back its end): created if missing,
// with mode 0666 less the umask; links followed only as link_rule.h allows
// (errno UntrustedLink).
int OpenRegularForAppend(const char* path);
// As stdio streams; nullptr with errno set.
FILE* OpenRegularStream(const char* path, bool append);
// Reads a regular file whole into `bytes`, at most `limit` bytes; false with
// errno (EFBIG if it holds more).
bool ReadRegularFile(const char* path, std::string& bytes, long long limit);
