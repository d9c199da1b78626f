#include "runs/set_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr TRgb Palette[] = {{31, 119, 180}, {255, 127, 14}, {44, 160, 44}, {214, 39, 40},   {148, 103, 189},
                            {140, 86, 75},  {227, 119, 194}, {127, 127, 127}, {188, 189, 34}, {23, 190, 207}};
constexpr TRgb Black{0, 0, 0}, Grey{200, 200, 200}, Dark{60, 60, 60}, GoalRed = GoalColor;

std::string Replace(std::string text, const std::string& value) {
  if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
  return text;
}

// A round step that gives some five to eight ticks over `range`.
double TickStep(double range) {
  const double raw = range / 6;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double f : {1.0, 2.0, 5.0})
    if (f * power >= raw) return f * power;
  return 10 * power;
}

// With '.', as the set's tables and lines have it in every language.
std::string Number(double value, double step) {
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

class TLayout {
 public:
  TLayout(const TSetPicture& p, const TDrawingTexts& t, int width, int height) : P(p), T(t) {
    D.width = width;
    D.height = height;
    Left = 80;
    Top = 50;
    Right = width - 210;
    Bottom = height - 60;
    for (const auto& line : P.places)
      for (const TPlacePoint& q : line) {
        MaxWork = std::max(MaxWork, static_cast<double>(q.work));
        MaxMean = std::max(MaxMean, q.mean);
      }
    if (P.goal) MaxMean = std::max(MaxMean, *P.goal);
    MaxMean = std::max(1.0, MaxMean * 1.1);
    MaxWork = std::max(100.0, MaxWork);
  }

  TDrawing Draw() {
    Text({D.width / 2.0, 30}, T.title, 0, 17, Black);
    Axes();
    if (!P.spread.empty()) Band();
    for (size_t k = 0; k < P.places.size(); ++k) PlaceLine(static_cast<int>(k));
    if (!P.spread.empty()) {
      TShape median = Polyline(Black, 3);
      for (const TSpreadPoint& s : P.spread) median.points.push_back(At(static_cast<double>(s.work), s.median));
      D.shapes.push_back(median);
    }
    if (P.goal) {
      TShape goal = Polyline(GoalRed, 2);
      goal.dashed = true;
      goal.points = {At(0, *P.goal), At(MaxWork, *P.goal)};
      D.shapes.push_back(goal);
    }
    for (const TPlaceMark& m : P.marks) D.shapes.push_back(Mark(m.from >= 0, At(static_cast<double>(m.work), m.mean),
                                                               PlaceColor(m.place)));
    Legend();
    return D;
  }

 private:
  TXY At(double work, double mean) const {
    return {Left + (Right - Left) * work / MaxWork, Bottom - (Bottom - Top) * mean / MaxMean};
  }
  static TShape Polyline(TRgb color, double width) {
    TShape s;
    s.color = color;
    s.width = width;
    return s;
  }
  void Text(TXY at, const std::string& text, int align, double size, TRgb color, bool upright = false) {
    TShape s;
    s.kind = TShape::TKind::Text;
    s.points = {at};
    s.text = text;
    s.align = align;
    s.size = size;
    s.color = color;
    s.upright = upright;
    D.shapes.push_back(s);
  }
  static TShape Mark(bool copy, TXY at, TRgb color) {
    TShape s;
    s.kind = copy ? TShape::TKind::Dot : TShape::TKind::Ring;
    s.points = {at};
    s.color = color;
    s.width = 2;
    s.radius = 5;
    return s;
  }

  void Axes() {
    const double stepX = TickStep(MaxWork), stepY = TickStep(MaxMean);
    for (double x = 0; x <= MaxWork + 1e-9; x += stepX) {
      TShape grid = Polyline(Grey, 1);
      grid.points = {At(x, 0), At(x, MaxMean)};
      D.shapes.push_back(grid);
      Text({At(x, 0).x, Bottom + 18}, Number(x, stepX), 0, 12, Dark);
    }
    for (double y = 0; y <= MaxMean + 1e-9; y += stepY) {
      TShape grid = Polyline(Grey, 1);
      grid.points = {At(0, y), At(MaxWork, y)};
      D.shapes.push_back(grid);
      Text({Left - 8, At(0, y).y + 4}, Number(y, stepY), 1, 12, Dark);
    }
    TShape frame = Polyline(Dark, 1);
    frame.points = {{Left, Top}, {Left, Bottom}, {Right, Bottom}};
    D.shapes.push_back(frame);
    Text({(Left + Right) / 2, Bottom + 44}, T.axisX, 0, 13, Black);
    Text({Left - 52, (Top + Bottom) / 2}, T.axisY, 0, 13, Black, true);
  }

  void Band() {
    TShape band;
    band.kind = TShape::TKind::Area;
    band.color = Black;
    band.opacity = 0.15;
    for (const TSpreadPoint& s : P.spread) band.points.push_back(At(static_cast<double>(s.work), s.high));
    for (auto s = P.spread.rbegin(); s != P.spread.rend(); ++s)
      band.points.push_back(At(static_cast<double>(s->work), s->low));
    D.shapes.push_back(band);
  }

  void PlaceLine(int k) {
    const auto& line = P.places[static_cast<size_t>(k)];
    if (line.empty()) return;
    TShape s = Polyline(PlaceColor(k), P.places.size() > 4 ? 1.5 : 2);
    s.run = true;
    if (P.places.size() > 4) s.opacity = 0.7;
    for (const TPlacePoint& q : line) s.points.push_back(At(static_cast<double>(q.work), q.mean));
    D.shapes.push_back(s);
  }

  // Right of the chart: each place while there are few, then what the other lines and marks mean.
  void Legend() {
    const double x = Right + 20;
    double y = Top + 10;
    const auto entry = [&](const TShape& sample, const std::string& text) {
      TShape s = sample;
      if (s.kind == TShape::TKind::Line || s.kind == TShape::TKind::Area)
        s.points = s.kind == TShape::TKind::Line
                       ? std::vector<TXY>{{x, y - 4}, {x + 24, y - 4}}
                       : std::vector<TXY>{{x, y - 10}, {x + 24, y - 10}, {x + 24, y + 2}, {x, y + 2}};
      else
        s.points = {{x + 12, y - 4}};
      D.shapes.push_back(s);
      Text({x + 32, y}, text, -1, 13, Black);
      y += 22;
    };
    if (static_cast<int>(P.places.size()) <= MaxNamedPlaces)
      for (size_t k = 0; k < P.places.size(); ++k)
        entry(Polyline(PlaceColor(static_cast<int>(k)), 2), Replace(T.place, std::to_string(k)));
    if (P.goal) {
      TShape goal = Polyline(GoalRed, 2);
      goal.dashed = true;
      entry(goal, Replace(T.goal, Number(*P.goal, 0.1)));
    }
    if (!P.spread.empty()) {
      entry(Polyline(Black, 3), T.median);
      TShape band;
      band.kind = TShape::TKind::Area;
      band.opacity = 0.15;
      entry(band, T.spread);
    }
    const bool restarts = std::any_of(P.marks.begin(), P.marks.end(), [](const TPlaceMark& m) { return m.from < 0; });
    const bool copies = std::any_of(P.marks.begin(), P.marks.end(), [](const TPlaceMark& m) { return m.from >= 0; });
    if (restarts) entry(Mark(false, {}, Dark), T.restart);
    if (copies) entry(Mark(true, {}, Dark), T.copy);
  }

  const TSetPicture& P;
  const TDrawingTexts& T;
  TDrawing D;
  double Left, Top, Right, Bottom;
  double MaxWork = 0, MaxMean = 0;
};

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Fixed(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

std::string Color(TRgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

std::string Points(const std::vector<TXY>& points) {
  std::string out;
  for (const TXY& p : points) out += (out.empty() ? "" : " ") + Fixed(p.x) + "," + Fixed(p.y);
  return out;
}

std::string Opacity(const char* what, double opacity) {
  char text[48] = "";
  if (opacity < 1) std::snprintf(text, sizeof text, " %s-opacity=\"%.2f\"", what, opacity);
  return text;
}

}  // namespace

TRgb PlaceColor(int place) { return Palette[place % static_cast<int>(std::size(Palette))]; }

TDrawing DrawSetPicture(const TSetPicture& picture, const TDrawingTexts& texts, int width, int height) {
  return TLayout(picture, texts, width, height).Draw();
}

std::string DrawingToSvg(const TDrawing& d) {
  const std::string w = std::to_string(d.width), h = std::to_string(d.height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
                    "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                    "\" font-family=\"DejaVu Sans, sans-serif\">\n<rect width=\"" + w + "\" height=\"" + h +
                    "\" fill=\"#ffffff\"/>\n";
  for (const TShape& s : d.shapes) {
    const std::string color = Color(s.color);
    switch (s.kind) {
      case TShape::TKind::Line: {
        const std::string stroke = "fill=\"none\" stroke=\"" + color + "\" stroke-width=\"" + Fixed(s.width) + "\"" +
                                   (s.dashed ? " stroke-dasharray=\"8,5\"" : "") + Opacity("stroke", s.opacity) +
                                   " stroke-linejoin=\"round\"";
        if (s.run) {
          std::string path;
          for (const TXY& p : s.points) path += (path.empty() ? "M" : " L") + Fixed(p.x) + "," + Fixed(p.y);
          out += "<path d=\"" + path + "\" " + stroke + "/>\n";
        } else {
          out += "<polyline points=\"" + Points(s.points) + "\" " + stroke + "/>\n";
        }
        break;
      }
      case TShape::TKind::Area:
        out += "<polygon points=\"" + Points(s.points) + "\" fill=\"" + color + "\"" + Opacity("fill", s.opacity) + "/>\n";
        break;
      case TShape::TKind::Ring:
      case TShape::TKind::Dot:
        out += "<circle cx=\"" + Fixed(s.points[0].x) + "\" cy=\"" + Fixed(s.points[0].y) + "\" r=\"" + Fixed(s.radius) +
               "\" " +
               (s.kind == TShape::TKind::Dot ? "fill=\"" + color + "\" stroke=\"none\""
                                             : "fill=\"#ffffff\" stroke=\"" + color + "\" stroke-width=\"" + Fixed(s.width) + "\"") +
               "/>\n";
        break;
      case TShape::TKind::Text: {
        const char* anchor = s.align < 0 ? "start" : s.align == 0 ? "middle" : "end";
        const std::string x = Fixed(s.points[0].x), y = Fixed(s.points[0].y);
        out += "<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + Fixed(s.size) + "\" text-anchor=\"" + anchor +
               "\" fill=\"" + color + "\"" + (s.upright ? " transform=\"rotate(-90 " + x + " " + y + ")\"" : "") + ">" +
               Escaped(s.text) + "</text>\n";
        break;
      }
    }
  }
  return out + "</svg>\n";
}
