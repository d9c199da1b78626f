// Pixels of the scene picture: where links, claw, marks and blocks land, and the outline figures.
#include <QImage>
#include <QtTest>

#include "arm/arm_model.h"
#include "scene/scene_bitmaps.h"
#include "scene/scene_renderer.h"

namespace {

constexpr QRgb White = 0xFFFFFFFF, Black = 0xFF000000, Red = 0xFFFF0000;
constexpr QRgb LinkColour = 0xFF123456, ClawColour = 0xFF000077, HeldClawColour = 0xFF770000;
constexpr QRgb BlockColour = 0xFFC0C0C0;

QImage Plain(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// One colour per role, so that a pixel tells which part put it there.
TSceneBitmaps MarkerBitmaps() {
  TSceneBitmaps b;
  for (int i = 0; i < 9; ++i) b.AxleBmp[i] = Plain(51, 51, i < 8 ? Black : White);
  for (QImage& block : b.PlatBmp) block = Plain(101, 25, BlockColour);
  b.LinkBmp[0] = Plain(31, 181, LinkColour);
  b.LinkBmp[1] = Plain(51, 15, ClawColour);
  b.LinkBmp[2] = Plain(51, 15, HeldClawColour);
  for (int i = 0; i < 2; ++i) b.BallBmp[i] = Plain(57, 57, i ? White : Black);
  return b;
}

QRect Box(const QImage& image, QRgb colour, QRect area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == colour) box |= QRect(x, y, 1, 1);
  return box;
}

QRect Span(int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); }

}  // namespace

class SceneDrawingTest : public QObject {
  Q_OBJECT

  TArmModel Arm{nullptr};
  QImage Picture{SceneWidth, SceneHeight, QImage::Format_RGB32};

 private slots:
  void init() { Arm.SetStartPose(); }

  void linksAndClawInTheStartPose() {
    Arm.PlatDat[0] = {0, 443, 1};  // platform blocks stand on the bottom
    Arm.PlatDat[1] = {655, 218, 10};
    Render::DrawColoredModel(Picture, Arm, 0, MarkerBitmaps());
    // Link A: truncation moves column u = -15 onto -14 and every pixel with u > 0 a row lower.
    QCOMPARE(Box(Picture, LinkColour, Span(0, 243, 755, 467)), Span(364, 279, 393, 423));
    // The claw of D, with its red gripping edge in the last two rows.
    const QRect top = Span(0, 0, 755, 200);
    QCOMPARE(Box(Picture, ClawColour, top).united(Box(Picture, Red, top)), Span(172, 103, 221, 118));
    QCOMPARE(Box(Picture, Red, top), Span(172, 117, 221, 118));
    // Red mark 12 x 2 on the top of the lying ball at (50, 286).
    QCOMPARE(Box(Picture, Red, Span(0, 201, 755, 467)), Span(45, 286, 56, 287));
    QCOMPARE(Box(Picture, BlockColour, Span(0, 0, 120, 467)), Span(0, 443, 100, 467));
    QCOMPARE(Box(Picture, BlockColour, Span(600, 0, 755, 467)), Span(655, 218, 755, 467));
    Arm.SetStartPose();  // holding the ball: red line on F, the claw red-brown, the ball's far side on its axis
    Arm.BallState = 2;
    Arm.MoveState = 1;
    Render::DrawColoredModel(Picture, Arm, 0, MarkerBitmaps());
    QCOMPARE(Box(Picture, Red, Span(300, 250, 755, 467)), Span(655, 342, 755, 343));
    QCOMPARE(Box(Picture, HeldClawColour, Span(0, 0, 755, 200)), Span(172, 103, 221, 118));
    const QRect mark = Box(Picture, Red, Span(0, 0, 299, 250));
    QVERIFY(mark.top() >= 80 + 93 && mark.bottom() <= 80 + 95 && mark.left() >= 197 - 6 && mark.right() <= 197 + 7);
  }

  // Outlines: E one rectangle, right and bottom inclusive; the claw's red edge (222,119) to, not incl., (172,119).
  void outlineFigures() {
    Render::DrawOutLinesOnly(Picture, Arm, 0, MakeSimFont());
    QCOMPARE(Box(Picture, Black, Span(0, 343, 120, 467)), Span(0, 343, 100, 467));
    QCOMPARE(Box(Picture, Red, Span(0, 0, 755, 200)), Span(173, 119, 222, 119));
    QCOMPARE(Picture.pixel(172, 119), Black);
  }
};

QTEST_MAIN(SceneDrawingTest)
#include "scene_drawing_test.moc"
