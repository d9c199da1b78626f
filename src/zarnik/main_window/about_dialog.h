#pragma once

#include <QCoreApplication>
#include <QDialog>

// "Info zu Zarnik32": the modal About box, laid out in dialog units of its font.
class TAboutDlg : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(TAboutDlg)

 public:
  explicit TAboutDlg(QWidget* parent);

 private:
  QRect DialogRect(int x, int y, int w, int h) const;
  double UnitX = 1.0, UnitY = 1.0;  // pixels per dialog unit
};
