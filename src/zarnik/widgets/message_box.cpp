#include "widgets/message_box.h"

#include <QApplication>

#include "translation/language.h"
#include "arm/string_table.h"

TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook hook;
  return hook;
}

QMessageBox::StandardButton ZarnikMessageBox(QWidget* owner, const QString& text,
                                             const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::Icon icon) {
  TMessageBoxHook& hook = MessageBoxHook();
  if (!hook.Answers.empty()) {
    ++hook.Shown;
    hook.LastText = text;
    hook.LastCaption = caption;
    hook.LastButtons = buttons;
    hook.LastIcon = icon;
    const QMessageBox::StandardButton answer = hook.Answers.front();
    hook.Answers.pop_front();
    return answer;
  }
  QMessageBox box(icon, caption, text, buttons, owner);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString FileMessage(unsigned resId, const QString& fileName) {
  char text[64];
  GetStr(resId, text, sizeof text);
  return CoreText("StringTable", text).replace(QLatin1String("Zarnik.dat"), fileName);
}

void ZarnikBeep() {
  ++MessageBoxHook().Beeps;
  QApplication::beep();
}
