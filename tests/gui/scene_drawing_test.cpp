// Pixels of the scene picture: where links, claw, marks and blocks land in
// the coloured drawing, and the figure conventions of the outline drawing.
#include <QImage>
#include <QtTest>

#include <optional>

#include "arm_model.h"
#include "scene_bitmaps.h"
#include "scene_renderer.h"

namespace {

constexpr QRgb White = 0xFFFFFFFF, Black = 0xFF000000, Red = 0xFFFF0000;
constexpr QRgb LinkColour = 0xFF123456, ClawColour = 0xFF000077, HeldClawColour = 0xFF770000;
constexpr QRgb BlockColour = 0xFFC0C0C0;

QImage Plain(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// One colour per role, and sprites that leave the picture untouched, so that
// a pixel tells which part put it there.
TSceneBitmaps MarkerBitmaps() {
  TSceneBitmaps b;
  for (int i = 0; i < 8; ++i) b.AxleBmp[i] = Plain(51, 51, Black);
  b.AxleBmp[8] = Plain(51, 51, White);
  for (QImage& block : b.PlatBmp) block = Plain(101, 25, BlockColour);
  b.LinkBmp[0] = Plain(31, 181, LinkColour);
  b.LinkBmp[1] = Plain(51, 15, ClawColour);
  b.LinkBmp[2] = Plain(51, 15, HeldClawColour);
  b.BallBmp[0] = Plain(57, 57, Black);
  b.BallBmp[1] = Plain(57, 57, White);
  return b;
}

// Bounding box of the pixels of `colour` inside `area`.
QRect Box(const QImage& image, QRgb colour, QRect area) {
  std::optional<QRect> box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == colour) box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
  return box.value_or(QRect());
}

bool AnyPixel(const QImage& image, QRgb colour, QRect area) { return !Box(image, colour, area).isNull(); }

QRect Span(int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); }

}  // namespace

class SceneDrawingTest : public QObject {
  Q_OBJECT

 private:
  TArmModel Arm{nullptr};
  QImage Picture{SceneWidth, SceneHeight, QImage::Format_RGB32};

 private slots:
  void init() { Arm.SetStartPose(); }

  void linksAndClawInTheStartPose() {
    Render::DrawColoredModel(Picture, Arm, MarkerBitmaps());
    // Link A: truncation moves column u = -15 onto -14 and every pixel with u > 0 a row lower.
    QCOMPARE(Box(Picture, LinkColour, Span(0, 243, 755, 467)), Span(364, 279, 393, 423));
    // The claw of D, with its red gripping edge in the last two rows.
    const QRect top = Span(0, 0, 755, 200);
    QCOMPARE(Box(Picture, ClawColour, top).united(Box(Picture, Red, top)), Span(172, 103, 221, 118));
    QCOMPARE(Box(Picture, Red, top), Span(172, 117, 221, 118));
    // Red mark 12 x 2 on the top of the lying ball at (50, 286).
    QCOMPARE(Box(Picture, Red, Span(0, 201, 755, 467)), Span(45, 286, 56, 287));
  }

  void heldBallMarksTheTarget() {
    Arm.BallState = 2;
    Arm.MoveState = 1;
    Render::DrawColoredModel(Picture, Arm, MarkerBitmaps());
    // Red line on the top of F, no red edge on the claw, which turns red-brown.
    QCOMPARE(Box(Picture, Red, Span(300, 250, 755, 467)), Span(655, 342, 755, 343));
    QVERIFY(!AnyPixel(Picture, ClawColour, Picture.rect()));
    QCOMPARE(Box(Picture, HeldClawColour, Span(0, 0, 755, 200)), Span(172, 103, 221, 118));
    // The mark on the far side of the held ball lies on the claw's axis, 94 and 95 out.
    const QRect mark = Box(Picture, Red, Span(0, 0, 299, 250));
    QVERIFY(mark.top() >= 80 + 93 && mark.bottom() <= 80 + 95);
    QVERIFY(mark.left() >= 197 - 6 && mark.right() <= 197 + 7);
  }

  void platformBlocksStandOnTheBottom() {
    Arm.PlatDat[0] = {0, 443, 1};
    Arm.PlatDat[1] = {655, 218, 10};
    Render::DrawColoredModel(Picture, Arm, MarkerBitmaps());
    QCOMPARE(Box(Picture, BlockColour, Span(0, 0, 120, 467)), Span(0, 443, 100, 467));
    QCOMPARE(Box(Picture, BlockColour, Span(600, 0, 755, 467)), Span(655, 218, 755, 467));
  }

  void labelsMarkTheSelection() {
    TSceneBitmaps bitmaps;
    bitmaps.Load();
    bitmaps.DrawLabels(MakeSimFont());
    const QRgb blue = 0xFF0000FF, cyan = 0xFF00FFFF;
    auto joint = [&](int i) {
      return QRect(Arm.AxleDat[i].x + 14, Arm.AxleDat[i].y + 12, SQUARE, SQUARE);
    };
    const QRect plateE(38, 443, SQUARE, SQUARE);

    Render::DrawColoredModel(Picture, Arm, bitmaps);
    QVERIFY(!AnyPixel(Picture, cyan, Picture.rect()));
    for (int i = 0; i < 4; ++i) QVERIFY(AnyPixel(Picture, blue, joint(i)));
    QVERIFY(AnyPixel(Picture, blue, plateE));

    Arm.Selection = 'B';
    Render::DrawColoredModel(Picture, Arm, bitmaps);
    QVERIFY(AnyPixel(Picture, cyan, joint(1)) && !AnyPixel(Picture, blue, joint(1)));
    QCOMPARE(Box(Picture, cyan, Picture.rect()).united(joint(1)), joint(1));

    Arm.Selection = 'E';
    Render::DrawColoredModel(Picture, Arm, bitmaps);
    QVERIFY(AnyPixel(Picture, cyan, plateE) && !AnyPixel(Picture, blue, plateE));
    // A letter stays inside its cell, the rest of the picture keeps its greys.
    QCOMPARE(Box(Picture, cyan, Picture.rect()).united(plateE), plateE);
  }

  void spritesLeaveTheirOutsideAlone() {
    TSceneBitmaps bitmaps;
    bitmaps.Load();
    Render::DrawColoredModel(Picture, Arm, bitmaps);
    // Corners of the joint and ball squares lie outside their discs: still white.
    QCOMPARE(Picture.pixel(353, 417), White);
    QCOMPARE(Picture.pixel(353 + 50, 417 + 50 - 1), White);
    QCOMPARE(Picture.pixel(50 - 28, 286), White);
    // Their centres are drawn.
    QVERIFY(Picture.pixel(353 + 25, 417 + 25) != White);
    QVERIFY(Picture.pixel(50, 286 + 28) != White);
  }

  void partsOutsideThePictureAreClipped() {
    // The arm laid over to the left, out of the picture: no crash, nothing wraps round.
    Arm.UpdateAxleData(0, 90.0f, false);
    Render::DrawColoredModel(Picture, Arm, MarkerBitmaps());
    QVERIFY(Arm.AxleDat[3].x < 0);
    QVERIFY(!AnyPixel(Picture, LinkColour, Span(700, 0, 755, 467)));
  }

  void outlineFigures() {
    const QFont font = MakeSimFont();
    Render::DrawOutLinesOnly(Picture, Arm, font);
    // Platform E: one rectangle over its whole height, right and bottom exclusive.
    QCOMPARE(Box(Picture, Black, Span(0, 343, 120, 467)), Span(0, 343, 100, 467));
    QCOMPARE(Picture.pixel(0, 342), White);
    QCOMPARE(Picture.pixel(100, 342), White);
    QCOMPARE(Picture.pixel(0, 343), Black);
    QCOMPARE(Picture.pixel(100, 343), Black);
    QCOMPARE(Picture.pixel(100, 467), Black);
    QCOMPARE(Picture.pixel(101, 400), White);
    // Joint A's circle covers x 353..403 and y 417..467.
    QCOMPARE(Box(Picture, Black, Span(340, 417, 420, 467)), Span(353, 417, 403, 467));
    QCOMPARE(Picture.pixel(378, 417), Black);
    QCOMPARE(Picture.pixel(378, 416), White);
    // The ball's circle and its red top mark.
    QCOMPARE(Box(Picture, Black, Span(15, 250, 90, 342)), Span(22, 286, 78, 342));
    QCOMPARE(Box(Picture, Red, Span(0, 250, 755, 467)), Span(45, 286, 56, 287));
    // The open claw's bottom edge runs from P(-25, 40) = (222, 119) up to, not
    // including, P(26, 40) = (172, 119), which the next, black line starts from.
    QCOMPARE(Box(Picture, Red, Span(0, 0, 755, 200)), Span(173, 119, 222, 119));
    QCOMPARE(Picture.pixel(172, 119), Black);
    // The link sides of A at u = -15 and u = 14: truncation puts both at 14 from the axis.
    QCOMPARE(Picture.pixel(363, 350), White);
    QCOMPARE(Picture.pixel(364, 350), Black);
    QCOMPARE(Picture.pixel(392, 350), Black);
    QCOMPARE(Picture.pixel(378, 350), White);
    QCOMPARE(Picture.pixel(393, 350), White);
    QVERIFY(!AnyPixel(Picture, Red, Span(0, 120, 755, 285)));
  }

  void outlineLettersAndHeldBall() {
    const QFont font = MakeSimFont();
    Arm.Selection = 'C';
    Render::DrawOutLinesOnly(Picture, Arm, font);
    const QRect cellC(Arm.AxleDat[2].x + 18, Arm.AxleDat[2].y + 12, SQUARE, SQUARE);
    QVERIFY(AnyPixel(Picture, Red, cellC));
    const QRect cellA(Arm.AxleDat[0].x + 18, Arm.AxleDat[0].y + 12, SQUARE, SQUARE);
    QVERIFY(AnyPixel(Picture, Black, cellA) && !AnyPixel(Picture, Red, cellA));

    Arm.Selection = 0;
    Arm.BallState = 2;
    Arm.MoveState = 1;
    Arm.UpdateAxleData(3, 0.0f, false);  // carries the ball to the claw
    Render::DrawOutLinesOnly(Picture, Arm, font);
    QCOMPARE(Box(Picture, Red, Span(300, 250, 755, 467)), Span(655, 342, 755, 343));
    // No red claw edge; the white lines blank the top of the ball's circle in the cup.
    QVERIFY(!AnyPixel(Picture, Red, Span(150, 110, 240, 125)));
    QCOMPARE(Picture.pixel(197, 117), White);
    QCOMPARE(Picture.pixel(197, 118), White);
  }
};

QTEST_MAIN(SceneDrawingTest)
#include "scene_drawing_test.moc"
