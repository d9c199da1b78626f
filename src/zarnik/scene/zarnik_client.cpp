#include "scene/zarnik_client.h"

#include <QImage>
#include <QPainter>

#include "arm/arm_model.h"

TZarnikClient::TZarnikClient(QWidget* parent, const QImage* bitmap)
    : QFrame(parent), Background(bitmap) {
  // The sunken client edge.
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  // Every paint covers the whole area with the picture.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TZarnikClient::sizeHint() const {
  return QSize(SceneWidth, SceneHeight) + QSize(2 * frameWidth(), 2 * frameWidth());
}

void TZarnikClient::ShowPicture() {
  if (isVisible())
    repaint();
  else
    update();
}

void TZarnikClient::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  const QRect area = contentsRect();
  if (area.size() == Background->size())
    p.drawImage(area.topLeft(), *Background);
  else
    p.drawImage(area, *Background);  // stretched, aspect ratio not kept
}

void TZarnikClient::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  // The existing picture follows the new size; the scene is not rebuilt.
  // Qt paints a resized widget right after the layout pass, so update() is enough.
  update();
}
