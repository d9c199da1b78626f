#pragma once

#include <QString>

#include <deque>

class QWidget;

// Every file dialog of the program goes through here, so that a test can
// answer the next dialogs itself instead of leaving a modal dialog open.
// The answer is the chosen path, or an empty string when the user cancelled.
QString ZarnikOpenFileName(QWidget* owner, const QString& caption, const QString& filter);
QString ZarnikSaveFileName(QWidget* owner, const QString& caption, const QString& filter);

// Test hook. While Answers holds paths, a dialog is not shown: it is recorded
// and answered with the front entry ("" for a cancelled dialog).
struct TFileDialogHook {
  std::deque<QString> Answers;
  int Shown = 0;  // dialogs answered from Answers
  QString LastCaption, LastFilter;
};
TFileDialogHook& FileDialogHook();
