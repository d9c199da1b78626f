#pragma once

#include <string>
#include <vector>

#include "runs/set_picture.h"

// The set's picture laid out as shapes in pixels, once, for every way it is
// written: as SVG text here, through a painter for PNG.
struct TRgb {
  unsigned char r = 0, g = 0, b = 0;
};
struct TXY {
  double x = 0, y = 0;
};

// The colours of the places, the goal's, and up to how many places the legend names.
TRgb PlaceColor(int place);
inline constexpr TRgb GoalColor{170, 0, 0};
inline constexpr int MaxNamedPlaces = 12;

struct TShape {
  enum class TKind { Line, Area, Ring, Dot, Text } kind = TKind::Line;
  std::vector<TXY> points;  // a line's or an area's corners; a ring's, dot's or text's place
  TRgb color;
  double width = 1;    // of a line or ring
  double radius = 4;   // of a ring or dot
  double opacity = 1;
  bool dashed = false;
  bool run = false;  // the line of a place (its own path in the SVG)
  std::string text;  // UTF-8, at the baseline
  int align = -1;    // -1 left, 0 centre, 1 right of its place
  double size = 13;  // font size in pixels
  bool upright = false;  // turned a quarter left (the y axis's title)
};

struct TDrawing {
  int width = 0, height = 0;
  std::vector<TShape> shapes;  // in painting order, over a white ground
};

// The picture's words, translated by the program that draws it.
struct TDrawingTexts {
  std::string title, axisX, axisY;
  std::string place;   // with %1 for the place's number: "Lauf %1"
  std::string goal;    // with %1 for the goal
  std::string median, spread, restart, copy;
};

// It fits a 1280x1024 screen with room for the window around it.
inline constexpr int SetDrawingWidth = 1000;
inline constexpr int SetDrawingHeight = 640;

TDrawing DrawSetPicture(const TSetPicture& picture, const TDrawingTexts& texts, int width = SetDrawingWidth,
                        int height = SetDrawingHeight);

// The drawing as a standalone SVG file: each place's line one <path>, every
// other line a <polyline>.
std::string DrawingToSvg(const TDrawing& drawing);
