#include "widgets/file_dialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QTimer>

#include <algorithm>

#include "widgets/message_box.h"

namespace {

bool Answered(const QString& caption, const QString& filter, QString& answer) {
  TFileDialogHook& hook = FileDialogHook();
  if (hook.Answers.empty()) return false;
  ++hook.Shown;
  hook.LastCaption = caption;
  hook.LastFilter = filter;
  answer = hook.Answers.front();
  hook.Answers.pop_front();
  return true;
}

// There in any form: a file, a FIFO, a dangling link.
bool Exists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

}  // namespace

TFileDialogHook& FileDialogHook() {
  static TFileDialogHook hook;
  return hook;
}

QString ZarnikOpenFileName(QWidget* owner, const QString& caption, const QString& filter) {
  QString answer;
  if (Answered(caption, filter, answer)) return answer;
  return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
}

QString ReplaceQuestion(const QStringList& existing) {
  QStringList quoted;
  for (const QString& name : existing) quoted << QLatin1Char('\'') + name + QLatin1Char('\'');
  if (quoted.size() == 1)
    return QCoreApplication::translate("TFileDialog", "Datei %1 ist schon vorhanden. Ersetzen?").arg(quoted.front());
  const QString last = quoted.takeLast();
  return QCoreApplication::translate("TFileDialog", "Dateien %1 und %2 sind schon vorhanden. Ersetzen?")
      .arg(quoted.join(QStringLiteral(", ")), last);
}

QString ZarnikSaveFileName(QWidget* owner, const QString& caption, const QString& filter, const QString& suffix,
                           const std::function<QStringList(const QString&)>& companions) {
  QString path;
  if (!Answered(caption, filter, path))
    path = QFileDialog::getSaveFileName(owner, caption, QString(), filter, nullptr, QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return path;
  if (!suffix.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += suffix;

  QStringList files{path};
  if (companions) files << companions(path);
  QStringList existing;
  for (const QString& file : files)
    if (Exists(file)) existing << QFileInfo(file).fileName();
  if (existing.isEmpty()) return path;
  QWidget* main = owner->window()->parentWidget() != nullptr ? owner->window()->parentWidget() : owner->window();
  const QMessageBox::StandardButton answer =
      ZarnikMessageBox(owner, ReplaceQuestion(existing), main->windowTitle(), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::Information);
  return answer == QMessageBox::Yes ? path : QString();
}

bool ZarnikAskText(QWidget* owner, const QString& caption, const QString& label, QString& text) {
  TFileDialogHook& hook = FileDialogHook();
  if (!hook.Texts.empty()) {
    ++hook.Shown;
    hook.LastCaption = caption;
    text = hook.Texts.front();
    hook.Texts.pop_front();
    return !text.isNull();
  }
  QInputDialog dialog(owner);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(label);
  dialog.setTextValue(text);
  // Wide enough for its whole title beside a window manager's buttons: a
  // short label would leave "Neue Population" cut to "Neue P…lation".
  // (The dialog lays itself out as it is shown: the width is set after that.)
  const int wide = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(caption) + 160;
  QTimer::singleShot(0, &dialog, [&dialog, wide] {
    dialog.setMinimumWidth(std::max(dialog.width(), wide));
    dialog.resize(std::max(dialog.width(), wide), dialog.height());
  });
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.textValue();
  return true;
}
