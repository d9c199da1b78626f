#include "runs/text_columns.h"

#include <algorithm>

int Utf8Length(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, int width, bool left) {
  const std::string fill(static_cast<size_t>(std::max(0, width - Utf8Length(text))), ' ');
  return left ? text + fill : fill + text;
}

std::string ShownHead(const TColumnHead& column, TRankingTranslator translate, int& width, bool left) {
  const std::string head = Shown(translate, column.text);
  width = std::max(column.width, Utf8Length(head));
  return Padded(head, width, left);
}
