#pragma once

#include <cstddef>

// Writes `size` bytes to "<path>.tmp" in the same directory, checks every write,
// the flush and the close, then renames it over `path`. On any failure the
// temporary file is removed, `path` is left as it was and false is returned.
bool WriteFileAtomically(const char* path, const void* data, size_t size);
