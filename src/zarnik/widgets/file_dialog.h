#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

class QWidget;

// Every file dialog of the program goes through here, so that a test can
// answer the next dialogs itself instead of leaving a modal dialog open.
// The answer is the chosen path, or an empty string when the user cancelled.
QString ZarnikOpenFileName(QWidget* owner, const QString& caption, const QString& filter);

// A file to be written: a name without suffix gets `suffix` (e.g. ".mp4").
// If that file, or one of the files `companions` names beside it (the history
// of a population), is there already, the user is asked once whether to
// replace them; "Nein" is a cancelled dialog. The question covers the name
// the user did not type too, so it is asked here rather than by the dialog.
QString ZarnikSaveFileName(QWidget* owner, const QString& caption, const QString& filter,
                           const QString& suffix = QString(),
                           const std::function<QStringList(const QString&)>& companions = {});

// The question asked before `existing` (file names) are replaced.
QString ReplaceQuestion(const QStringList& existing);

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
