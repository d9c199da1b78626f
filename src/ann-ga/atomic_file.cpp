#include "atomic_file.h"

#include <cstdio>
#include <string>

bool WriteFileAtomically(const char* path, const void* data, size_t size) {
  // Same directory, so the rename cannot cross file systems.
  const std::string temp = std::string(path) + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = ok && std::fflush(f) == 0;
  ok = (std::fclose(f) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}
