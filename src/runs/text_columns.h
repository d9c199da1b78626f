#pragma once

#include <string>

// What the trainer's text tables share: their texts in the language shown and
// columns as wide as their heads.

// A marked text of a table (context "zarnik-train") in the language shown,
// UTF-8, living as long as the program; null keeps the German.
using TRankingTranslator = const char* (*)(const char* text);

inline const char* Shown(TRankingTranslator translate, const char* text) {
  return translate != nullptr ? translate(text) : text;
}

// A column's head, and its width as the German head has it: the column is as
// wide as that, wider if a translated head needs it.
struct TColumnHead {
  const char* text;
  int width;
};

// Characters, not bytes: a translated head may hold letters beyond ASCII.
int Utf8Length(const std::string& text);

// `text` filled with spaces to `width` characters: on the left (set to the
// right), or on the right when `left`.
std::string Padded(const std::string& text, int width, bool left = false);

// The head of `column` in the language shown, padded to the width it sets
// into `width`.
std::string ShownHead(const TColumnHead& column, TRankingTranslator translate, int& width, bool left = false);
