#include "widgets/picture_saving.h"

#include <QCoreApplication>
#include <QEvent>

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"

void SavePictureAs(QWidget* owner, const std::function<bool(const QString&)>& save) {
  QString path = ZarnikSaveFileName(owner, QStringLiteral("Bild speichern"), QStringLiteral("PNG-Bild (*.png)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  if (save(path)) return;
  QWidget* main = owner->parentWidget();
  const QString caption = main != nullptr ? main->windowTitle() : owner->windowTitle();
  ZarnikMessageBox(owner, FileMessage(IDS_CANNOT_SAVE, QFileInfo(path).fileName()), caption, QMessageBox::Ok,
                   QMessageBox::Warning);
}

TPictureWindow::TPictureWindow(QWidget* owner) : QWidget(owner, Qt::Window) {}

void TPictureWindow::SetPicture(QWidget* picture, QWidget* choice) {
  Picture = picture;
  auto* save = new QPushButton(QStringLiteral("Bild speichern..."), this);
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

bool TPictureWindow::SavePicture(const QString& path) const {
  // A change just made (a new range, another training shown) lays the picture
  // out again at the next event: first that, or its labels are the old ones' width.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  return Picture->grab().save(path, "PNG");
}

void TPictureWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) {
    hide();
    emit visibilityChanged();
  }
}
