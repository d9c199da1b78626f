#pragma once

#include <QDialog>

class QPlainTextEdit;

// Two learning-path entries side by side: the table of their takes and
// deliveries in each of the 100 episodes, in a fixed-width font, scrollable,
// as wide as its lines.
class TPathComparisonDlg : public QDialog {
  Q_OBJECT

 public:
  TPathComparisonDlg(QWidget* parent, const QString& table);

  QPlainTextEdit* Table() const { return Text; }

 private:
  QPlainTextEdit* Text;
};
