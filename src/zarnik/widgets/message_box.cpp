#include "widgets/message_box.h"

#include <QAbstractButton>
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
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButton defaultButton,
                                             const QList<QPair<QMessageBox::StandardButton, QString>>& labels) {
  TMessageBoxHook& hook = MessageBoxHook();
  if (!hook.Answers.empty()) {
    ++hook.Shown;
    hook.LastText = text;
    hook.LastCaption = caption;
    hook.LastButtons = buttons;
    hook.LastIcon = icon;
    hook.LastDefault = defaultButton;
    const QMessageBox::StandardButton answer = hook.Answers.front();
    hook.Answers.pop_front();
    return answer;
  }
  QMessageBox box(icon, caption, text, buttons, owner);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  for (const auto& [button, label] : labels)
    if (QAbstractButton* b = box.button(button)) b->setText(label);
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
