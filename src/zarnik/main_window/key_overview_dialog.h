#pragma once

// "?" > "Tastenbelegung": the dialog that lists every key of the program.

#include <QCoreApplication>
#include <QDialog>
#include <QList>
#include <QString>

class QTableWidget;

// One line of the key overview: the keys, as shown to the user, and the
// command they choose, as "Menu › Item".
struct TKeyLine {
  QString Keys;
  QString Command;
};

// "Tastenbelegung": a table of the program's keys, made from the lines its
// owner generates from the command table. Modeless; closing hides it.
class TKeyOverviewDlg : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(TKeyOverviewDlg)

 public:
  TKeyOverviewDlg(QWidget* parent, const QList<TKeyLine>& lines);

  QTableWidget* Table() const { return Lines; }

 private:
  QTableWidget* Lines = nullptr;
};
