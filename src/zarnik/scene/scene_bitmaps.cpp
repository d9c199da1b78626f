#include "scene/scene_bitmaps.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace {

QImage LoadBitmap(const char* name) {
  QImage image(QString(":/bitmaps/") + name);
  Q_ASSERT(!image.isNull());
  return image.convertToFormat(QImage::Format_RGB32);
}

// One letter on the pass's background, alone in the cell.
void DrawCell(QImage& cell, QChar letter, QColor background, QColor text, const QFont& font) {
  cell.fill(background);
  QPainter p(&cell);
  p.setFont(font);
  p.setPen(text);
  p.setBackground(background);
  p.setBackgroundMode(Qt::OpaqueMode);
  p.drawText(QRect(0, 0, SQUARE, SQUARE), Qt::AlignHCenter | Qt::AlignTop, QString(letter));
}

void Combine(QImage& target, QPoint at, const QImage& cell, QPainter::CompositionMode mode) {
  QPainter p(&target);
  p.setCompositionMode(mode);
  p.drawImage(at, cell);
}

}  // namespace

void TSceneBitmaps::Load() {
  for (int i = 0; i < 8; ++i) AxleBmp[i] = LoadBitmap("257");
  AxleBmp[8] = LoadBitmap("258");
  for (QImage& block : PlatBmp) block = LoadBitmap("256");
  LinkBmp[0] = LoadBitmap("259");
  LinkBmp[1] = LoadBitmap("260");
  LinkBmp[2] = LoadBitmap("261");
  BallBmp[0] = LoadBitmap("262");
  BallBmp[1] = LoadBitmap("263");
}

void TSceneBitmaps::DrawLabels(const QFont& font) {
  const QPoint axleAt(14, 12), platAt(38, 0);
  QImage cell(SQUARE, SQUARE, QImage::Format_RGB32);

  // Mask pass: black letter on white, ANDed in, clears the strokes.
  for (int i = 0; i < 4; ++i) {
    DrawCell(cell, QChar('A' + i), Qt::white, Qt::black, font);
    Combine(AxleBmp[i], axleAt, cell, QPainter::RasterOp_SourceAndDestination);
    Combine(AxleBmp[i + 4], axleAt, cell, QPainter::RasterOp_SourceAndDestination);
  }
  for (int i = 0; i < 2; ++i) {
    DrawCell(cell, QChar('E' + i), Qt::white, Qt::black, font);
    Combine(PlatBmp[i], platAt, cell, QPainter::RasterOp_SourceAndDestination);
    Combine(PlatBmp[i + 2], platAt, cell, QPainter::RasterOp_SourceAndDestination);
  }
  // Normal and selected passes: coloured letter on black, ORed into the cleared strokes.
  const QColor lightBlue(0, 0, 255), lightCyan(0, 255, 255);
  for (int pass = 0; pass < 2; ++pass) {
    const QColor colour = pass == 0 ? lightBlue : lightCyan;
    const int offset = pass == 0 ? 0 : 4;
    for (int i = 0; i < 4; ++i) {
      DrawCell(cell, QChar('A' + i), Qt::black, colour, font);
      Combine(AxleBmp[i + offset], axleAt, cell, QPainter::RasterOp_SourceOrDestination);
    }
    for (int i = 0; i < 2; ++i) {
      DrawCell(cell, QChar('E' + i), Qt::black, colour, font);
      Combine(PlatBmp[i + offset / 2], platAt, cell, QPainter::RasterOp_SourceOrDestination);
    }
  }
}

QFont MakeSimFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Bold);
  font.setStyleStrategy(QFont::NoAntialias);
  // The largest pixel size whose line (ascent + descent) still fits the cell.
  for (int size = SQUARE; size > 8; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= SQUARE) break;
  }
  return font;
}
