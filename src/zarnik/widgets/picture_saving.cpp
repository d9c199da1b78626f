#include "widgets/picture_saving.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

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
