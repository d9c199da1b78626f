#include "widgets/file_dialog.h"

#include <QFileDialog>
#include <QInputDialog>

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

QString ZarnikSaveFileName(QWidget* owner, const QString& caption, const QString& filter) {
  QString answer;
  if (Answered(caption, filter, answer)) return answer;
  return QFileDialog::getSaveFileName(owner, caption, QString(), filter);
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
  bool ok = false;
  text = QInputDialog::getText(owner, caption, label, QLineEdit::Normal, text, &ok);
  return ok;
}
