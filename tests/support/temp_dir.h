#pragma once

// A fresh directory per test, removed with everything in it afterwards.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct TTempDir {
  fs::path Dir = [] {
    char pattern[] = "/tmp/zarnik-test-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    return fs::path(pattern);
  }();
  ~TTempDir() { fs::remove_all(Dir); }
  fs::path operator/(const std::string& name) const { return Dir / name; }
};

inline std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The names in `d`, sorted.
inline std::vector<std::string> Listing(const fs::path& d) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
  std::ranges::sort(names);
  return names;
}
