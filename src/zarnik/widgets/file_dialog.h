#pragma once

#include <QString>

#include <deque>

class QWidget;

// Every file dialog of the program goes through here, so that a test can
// answer the next dialogs itself instead of leaving a modal dialog open.
// The answer is the chosen path, or an empty string when the user cancelled.
QString ZarnikOpenFileName(QWidget* owner, const QString& caption, const QString& filter);
QString ZarnikSaveFileName(QWidget* owner, const QString& caption, const QString& filter);

// A line of text asked for in a small dialog; false when the user cancelled.
bool ZarnikAskText(QWidget* owner, const QString& caption, const QString& label, QString& text);

// Test hook. While Answers holds paths, a dialog is not shown: it is recorded
// and answered with the front entry ("" for a cancelled dialog).
struct TFileDialogHook {
  std::deque<QString> Answers;
  int Shown = 0;  // dialogs answered from Answers
  // Answers of the text questions in order; a null QString cancels.
  std::deque<QString> Texts;
  QString LastCaption, LastFilter;
};
TFileDialogHook& FileDialogHook();
