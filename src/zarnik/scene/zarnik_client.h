#pragma once

#include <QFrame>

class QImage;

// The frame's client window: shows the scene picture, 1:1 when its client
// area has exactly the picture's size and stretched to fill it otherwise.
// The picture belongs to the main window.
class TZarnikClient : public QFrame {
 public:
  TZarnikClient(QWidget* parent, const QImage* bitmap);

  // Size of the area inside the sunken edge, where the picture goes.
  QSize ClientSize() const { return contentsRect().size(); }
  // Copies the picture to the screen now, not at the next paint event.
  void ShowPicture();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;   // EvPaint
  void resizeEvent(QResizeEvent* event) override;  // EvSize

 private:
  const QImage* Background;
};
