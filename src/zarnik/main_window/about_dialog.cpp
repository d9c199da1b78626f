#include "main_window/about_dialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <cmath>

TAboutDlg::TAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("Info zu Zarnik32"));
  // A dialog unit is a quarter of the average character width across and an
  // eighth of the character height down.
  const QFontMetrics fm(font());
  UnitX = fm.averageCharWidth() / 4.0;
  UnitY = fm.height() / 8.0;

  struct Line {
    int y;
    const char* text;
  };
  static constexpr Line Lines[] = {
      {5, "Zarnik32"},
      {15, "Version 99.01 ( Win95/NT )"},
      {35, QT_TR_NOOP("Ein Roboterarm, gesteuert von")},
      {45, QT_TR_NOOP("neuronalen Netzen, trainiert durch")},
      {55, QT_TR_NOOP("einen genetischen Algorithmus.")},
  };
  for (const Line& line : Lines) {
    auto* label = new QLabel(tr(line.text), this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(DialogRect(20, line.y, 150, 10));
  }

  auto* rule = new QFrame(this);
  rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  const QRect r = DialogRect(20, 75, 150, 1);
  rule->setGeometry(r.x(), r.y(), r.width(), 2);

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  ok->setGeometry(DialogRect(68, 100, 55, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(DialogRect(0, 0, 190, 120).size());
  setModal(true);
}

QRect TAboutDlg::DialogRect(int x, int y, int w, int h) const {
  auto px = [](double units, double unit) { return static_cast<int>(std::lround(units * unit)); };
  return QRect(px(x, UnitX), px(y, UnitY), px(w, UnitX), px(h, UnitY));
}
