#pragma once

#include <QMessageBox>
#include <QList>
#include <QPair>
#include <QString>

#include <deque>

class QWidget;

// Every message box and beep of the program goes through here, so that a test
// can answer the next boxes itself instead of leaving a modal box open.
// `defaultButton` and `labels` (a button's own text instead of the standard
// one) only where a question needs them.
QMessageBox::StandardButton ZarnikMessageBox(QWidget* owner, const QString& text,
                                             const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                             const QList<QPair<QMessageBox::StandardButton, QString>>& labels = {});
// A file message of the string table (load or save failed) with `fileName`
// in place of the designed 'Zarnik.dat'.
QString FileMessage(unsigned resId, const QString& fileName);
// The simple beep for a manual value at its bound.
void ZarnikBeep();

// Test hook. While Answers holds buttons, a box is not shown: it is recorded
// and answered with the front entry.
struct TMessageBoxHook {
  std::deque<QMessageBox::StandardButton> Answers;
  int Shown = 0;  // boxes answered from Answers
  int Beeps = 0;  // every ZarnikBeep, also outside tests
  QString LastText, LastCaption;
  QMessageBox::StandardButtons LastButtons;
  QMessageBox::Icon LastIcon = QMessageBox::NoIcon;
  QMessageBox::StandardButton LastDefault = QMessageBox::NoButton;
};
TMessageBoxHook& MessageBoxHook();
