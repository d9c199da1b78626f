#pragma once

#include <charconv>
#include <string_view>
#include <system_error>
#include <vector>

// Reading the set's small text files: a field is a number only if all of it
// is, and a file is its lines only if every line ends.

template <class T>
bool ParseNumber(std::string_view text, T& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

// Empty for a text whose last line has no end: a torn file is refused.
inline std::vector<std::string_view> CompleteLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return {};
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}
