#include "widgets/picture_saving.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/atomic_file.h"
#include "arm/string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"

void SavePictureAs(QWidget* owner, const std::function<bool(const QString&)>& save) {
  const QString path =
      ZarnikSaveFileName(owner, TPictureWindow::tr("Bild speichern"), TPictureWindow::tr("PNG-Bild (*.png)"), QStringLiteral(".png"));
  if (path.isEmpty()) return;
  if (save(path)) return;
  QWidget* main = owner->parentWidget();
  const QString caption = main != nullptr ? main->windowTitle() : owner->windowTitle();
  ZarnikMessageBox(owner, FileMessage(IDS_CANNOT_SAVE, QFileInfo(path).fileName()), caption, QMessageBox::Ok,
                   QMessageBox::Warning);
}

TPictureWindow::TPictureWindow(QWidget* owner) : QWidget(owner, Qt::Window) {}

void TPictureWindow::SetPicture(QWidget* picture, QWidget* choice) {
  Picture = picture;
  auto* save = new QPushButton(tr("Bild speichern..."), this);
  connect(save, &QPushButton::clicked, this,
          [this] { SavePictureAs(this, [this](const QString& path) { return SavePicture(path); }); });

  auto* buttons = new QHBoxLayout;
  if (choice != nullptr) buttons->addWidget(choice);
  buttons->addStretch(1);
  buttons->addWidget(save);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Picture, 1);
  column->addLayout(buttons);
}

bool WritePng(const QImage& picture, const QString& path) {
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return false;
  // As every file of the program: never into a FIFO or through an untrusted link, replaced only when whole.
  const QByteArray file = QFile::encodeName(path);
  return CheckWritable(file.constData(), true) == 0 && WriteFileAtomically(file.constData(), png.constData(), size_t(png.size()));
}

bool TPictureWindow::SavePicture(const QString& path) const {
  // A change just made (a new range, another training shown) lays the picture
  // out again at the next event: first that, or its labels are the old ones' width.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  return WritePng(Picture->grab().toImage(), path);
}

void TPictureWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) {
    hide();
    emit visibilityChanged();
  }
}
