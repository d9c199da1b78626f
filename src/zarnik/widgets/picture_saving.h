#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

class QCloseEvent;

// "Bild speichern...": asks for a PNG file, adds ".png" when the name has no
// suffix and calls `save` with the path. A failed save gets the designed file
// message under the main window's caption.
void SavePictureAs(QWidget* owner, const std::function<bool(const QString&)>& save);
// `picture` as a PNG file, written as every file of the program is; false if it cannot be.
bool WritePng(const QImage& picture, const QString& path);

// A window of its own that the main window owns and feeds: one picture over a
// "Bild speichern..." button. Closing only hides it.
class TPictureWindow : public QWidget {
  Q_OBJECT

 public:
  // The picture as a PNG file; false if it cannot be written.
  bool SavePicture(const QString& path) const;

 signals:
  // Shown or hidden by its own close box, so the menu's check mark can follow.
  void visibilityChanged();

 protected:
  explicit TPictureWindow(QWidget* owner);
  // Lays out `picture` (a child already) over the button; once, in the
  // derived window's constructor. `choice`, if any, goes left of the button.
  void SetPicture(QWidget* picture, QWidget* choice = nullptr);
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* Picture = nullptr;
};
