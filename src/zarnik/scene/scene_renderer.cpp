#include "scene/scene_renderer.h"

#include <QPainter>

#include <cstdlib>
#include <cstring>

#include "scene/joint_frame.h"

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb LightRed = 0xFFFF0000;

// Direct access to the picture's pixels; writes outside it are dropped.
class TPixels {
 public:
  explicit TPixels(QImage& image)
      : Bits(reinterpret_cast<QRgb*>(image.bits())),
        Stride(image.bytesPerLine() / static_cast<int>(sizeof(QRgb))),
        Width(image.width()),
        Height(image.height()) {}

  void Set(int32_t x, int32_t y, QRgb colour) {
    if (Inside(x, y)) Bits[static_cast<ptrdiff_t>(y) * Stride + x] = colour;
  }
  // The two vertically adjacent pixels a forward-mapped source pixel covers.
  void SetPair(int32_t x, int32_t y, QRgb colour) {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(Width)) return;
    QRgb* column = Bits + x;
    if (static_cast<uint32_t>(y - 1) < static_cast<uint32_t>(Height))
      column[static_cast<ptrdiff_t>(y - 1) * Stride] = colour;
    if (static_cast<uint32_t>(y) < static_cast<uint32_t>(Height))
      column[static_cast<ptrdiff_t>(y) * Stride] = colour;
  }

  // 1:1 copy of `source` with its top-left corner at (x, y).
  void Copy(const QImage& source, int x, int y) { Blit(source, nullptr, x, y); }
  // Transparent sprite: the mask ANDed (1 keeps, 0 clears), then the picture ORed.
  void Sprite(const QImage& picture, const QImage& mask, int x, int y) { Blit(picture, &mask, x, y); }

  // The horizontal run x0..x1 of rows y and y + 1.
  void Bar2(int32_t x0, int32_t x1, int32_t y, QRgb colour) {
    for (int32_t row = y; row <= y + 1; ++row) {
      if (static_cast<uint32_t>(row) >= static_cast<uint32_t>(Height)) continue;
      const int32_t a = std::max(x0, 0), b = std::min(x1, Width - 1);
      QRgb* line = Bits + static_cast<ptrdiff_t>(row) * Stride;
      for (int32_t x = a; x <= b; ++x) line[x] = colour;
    }
  }

 private:
  bool Inside(int32_t x, int32_t y) const {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(Width) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(Height);
  }

  void Blit(const QImage& source, const QImage* mask, int x, int y) {
    const int x0 = std::max(x, 0), x1 = std::min(x + source.width(), Width);
    const int y0 = std::max(y, 0), y1 = std::min(y + source.height(), Height);
    if (x0 >= x1 || y0 >= y1) return;
    for (int row = y0; row < y1; ++row) {
      const QRgb* src = reinterpret_cast<const QRgb*>(source.constScanLine(row - y)) + (x0 - x);
      QRgb* dst = Bits + static_cast<ptrdiff_t>(row) * Stride + x0;
      if (mask == nullptr) {
        std::memcpy(dst, src, static_cast<size_t>(x1 - x0) * sizeof(QRgb));
        continue;
      }
      const QRgb* m = reinterpret_cast<const QRgb*>(mask->constScanLine(row - y)) + (x0 - x);
      for (int i = 0; i < x1 - x0; ++i) dst[i] = (dst[i] & m[i]) | src[i];
    }
  }

  QRgb* Bits;
  int Stride;
  int Width, Height;
};

// Red line, two pixels high, along the top of the platform the held ball goes to.
void DrawTargetLine(TPixels& pixels, const TArmModel& arm) {
  const TPlatData& t = arm.PlatDat[arm.MoveState];
  pixels.Bar2(t.x, t.x + PlatWidth - 1, t.y - 1, LightRed);
}

// Red mark on the top of the lying ball, where the claw has to take it.
void DrawBallTopMark(TPixels& pixels, const TArmModel& arm) {
  pixels.Bar2(arm.BallDat.x - 5, arm.BallDat.x + 6, arm.BallDat.y, LightRed);
}

// Red mark on the far side of the held ball, which has to meet the target line.
void DrawHeldBallMark(TPixels& pixels, const TJointFrame& claw) {
  for (int v = 94; v <= 95; ++v)
    for (int u = -5; u <= 6; ++u) pixels.Set(claw.X(u, v), claw.Y(u, v), LightRed);
}

void DrawLink(TPixels& pixels, const TJointFrame& frame, const QImage& bar) {
  float acrossX[31], acrossY[31];
  for (int u = -15; u <= 15; ++u) {
    acrossX[u + 15] = frame.AcrossX(u);
    acrossY[u + 15] = frame.AcrossY(u);
  }
  // Only rows 0..142 of the bar are used.
  for (int v = 20; v <= 162; ++v) {
    const QRgb* src = reinterpret_cast<const QRgb*>(bar.constScanLine(v - 20));
    const double alongX = frame.AlongX(v), alongY = frame.AlongY(v);
    for (int u = 0; u <= 30; ++u)
      pixels.SetPair(frame.X(alongX, acrossX[u]), frame.Y(alongY, acrossY[u]), src[u]);
  }
}

void DrawClaw(TPixels& pixels, const TJointFrame& frame, const QImage& claw, bool held) {
  float acrossX[51], acrossY[51];
  for (int u = -24; u <= 26; ++u) {
    acrossX[u + 24] = frame.AcrossX(u);
    acrossY[u + 24] = frame.AcrossY(u);
  }
  for (int v = 25; v <= 39; ++v) {
    const QRgb* src = reinterpret_cast<const QRgb*>(claw.constScanLine(v - 25));
    // The open claw's gripping edge is red.
    const bool edge = !held && v == 39;
    const double alongX = frame.AlongX(v), alongY = frame.AlongY(v);
    for (int u = 0; u <= 50; ++u)
      pixels.SetPair(frame.X(alongX, acrossX[u]), frame.Y(alongY, acrossY[u]),
                     edge ? LightRed : src[u]);
  }
}

// A line that includes its start and leaves out its end. Qt's flat-capped
// one-pixel line always leaves out the end with the larger coordinate along
// its major axis, whichever way it is drawn; a line running the other way is
// therefore moved one step back along itself, which keeps its pixels.
void LineTo(QPainter& p, QPoint from, QPoint to) {
  const int dx = to.x() - from.x(), dy = to.y() - from.y();
  const int major = std::max(std::abs(dx), std::abs(dy));
  if (major == 0) return;
  const bool forward = std::abs(dx) >= std::abs(dy) ? dx > 0 : dy > 0;
  if (forward) {
    p.drawLine(from, to);
    return;
  }
  const QPointF step(static_cast<double>(dx) / major, static_cast<double>(dy) / major);
  p.drawLine(QPointF(from) - step, QPointF(to) - step);
}

}  // namespace

namespace Render {

void DrawColoredModel(QImage& simulator, const TArmModel& arm, int32_t selection, const TSceneBitmaps& bitmaps) {
  simulator.fill(White);
  TPixels pixels(simulator);

  for (int i = 0; i < 2; ++i) {
    const bool selected = selection == 'E' + i;
    pixels.Copy(bitmaps.PlatBmp[selected ? i + 2 : i], arm.PlatDat[i].x, SceneHeight - BlockHeight);
    for (int j = 2; j <= arm.PlatDat[i].h; ++j)
      pixels.Copy(bitmaps.PlatBmp[4], arm.PlatDat[i].x, SceneHeight - BlockHeight * j);
  }

  const bool held = arm.BallState == 2;
  if (held) {
    DrawTargetLine(pixels, arm);
  } else {
    pixels.Sprite(bitmaps.BallBmp[0], bitmaps.BallBmp[1], arm.BallDat.x - 28, arm.BallDat.y);
    DrawBallTopMark(pixels, arm);
  }

  for (int i = 0; i < 4; ++i) {
    if (i < 3) {
      DrawLink(pixels, TJointFrame(arm, i, false), bitmaps.LinkBmp[0]);
    } else {
      const TJointFrame claw(arm, 3, true);
      if (held) {
        pixels.Sprite(bitmaps.BallBmp[0], bitmaps.BallBmp[1], arm.BallDat.x - 28, arm.BallDat.y);
        DrawHeldBallMark(pixels, claw);
      }
      DrawClaw(pixels, claw, bitmaps.LinkBmp[held ? 2 : 1], held);
    }
    const bool selected = selection == 'A' + i;
    pixels.Sprite(bitmaps.AxleBmp[selected ? i + 4 : i], bitmaps.AxleBmp[8], arm.AxleDat[i].x,
                  arm.AxleDat[i].y);
  }
}

void DrawOutLinesOnly(QImage& simulator, const TArmModel& arm, int32_t selection, const QFont& simFont) {
  simulator.fill(White);
  TPixels pixels(simulator);

  QPainter p(&simulator);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setBrush(Qt::NoBrush);
  p.setFont(simFont);
  p.setBackground(Qt::white);
  p.setBackgroundMode(Qt::OpaqueMode);  // each letter blanks its box
  const int ascent = p.fontMetrics().ascent();

  // One-pixel pens whose lines leave out their end point.
  const QPen black(QBrush(Qt::black), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  QPen red = black, white = black;
  red.setColor(QColor(255, 0, 0));
  white.setColor(Qt::white);
  p.setPen(black);

  // Figures given as (left, top, right, bottom) cover left..right-1, top..bottom-1;
  // a 1-pixel outline of QRect(x, y, w, h) covers x..x+w.
  auto figureRect = [](int l, int t, int r, int b) { return QRect(l, t, r - l - 1, b - t - 1); };
  auto letter = [&](int x, int y, char c, bool highlighted) {
    p.setPen(highlighted ? QColor(255, 0, 0) : QColor(Qt::black));
    p.drawText(QPoint(x, y + ascent), QString(QChar(c)));
    p.setPen(black);
  };
  auto ballCircle = [&] {
    p.drawEllipse(figureRect(arm.BallDat.x - 28, arm.BallDat.y, arm.BallDat.x + 29,
                             arm.BallDat.y + BallSize));
  };

  for (int i = 0; i < 2; ++i) {
    const TPlatData& plat = arm.PlatDat[i];
    letter(plat.x + 45, SceneHeight - BlockHeight, static_cast<char>('E' + i), selection == 'E' + i);
    p.drawRect(figureRect(plat.x, plat.y, plat.x + PlatWidth, SceneHeight));
  }

  const bool held = arm.BallState == 2;
  if (held) {
    DrawTargetLine(pixels, arm);
  } else {
    ballCircle();
    DrawBallTopMark(pixels, arm);
  }

  for (int i = 0; i < 4; ++i) {
    if (i < 3) {
      const TJointFrame f(arm, i, false);
      LineTo(p, {f.X(-15, 22), f.Y(-15, 22)}, {f.X(-15, 161), f.Y(-15, 161)});
      LineTo(p, {f.X(14, 22), f.Y(14, 22)}, {f.X(14, 161), f.Y(14, 161)});
    } else {
      const TJointFrame f(arm, 3, true);
      if (held) {
        ballCircle();
        DrawHeldBallMark(pixels, f);
      }
      // The open cup as one connected line; its bottom is the gripping edge.
      const QPoint cup[] = {{f.X(-6, 25), f.Y(-6, 25)},   {f.X(-25, 25), f.Y(-25, 25)},
                            {f.X(-25, 40), f.Y(-25, 40)}, {f.X(26, 40), f.Y(26, 40)},
                            {f.X(26, 25), f.Y(26, 25)},   {f.X(6, 25), f.Y(6, 25)}};
      for (int s = 0; s < 5; ++s) {
        p.setPen(s == 2 && !held ? red : black);
        LineTo(p, cup[s], cup[s + 1]);
      }
      p.setPen(black);
      if (held) {
        // Blank the top of the ball's circle inside the cup.
        p.setPen(white);
        LineTo(p, {f.X(-9, 38), f.Y(-9, 38)}, {f.X(11, 38), f.Y(11, 38)});
        LineTo(p, {f.X(-9, 39), f.Y(-9, 39)}, {f.X(11, 39), f.Y(11, 39)});
        p.setPen(black);
      }
    }
    const TAxleData& d = arm.AxleDat[i];
    letter(d.x + 18, d.y + 12, static_cast<char>('A' + i), selection == 'A' + i);
    p.drawEllipse(figureRect(d.x, d.y, d.x + 51, d.y + 51));
  }
}

}  // namespace Render
