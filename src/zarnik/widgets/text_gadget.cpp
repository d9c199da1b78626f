#include "widgets/text_gadget.h"

#include <QPainter>

#include <algorithm>

TTextGadget::TTextGadget(int id, int chars, QWidget* parent)
    : QFrame(parent), GadgetId(id), Chars(chars) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  if (Chars > 0) {
    setFixedWidth(sizeHint().width());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  } else {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
}

void TTextGadget::SetText(const QString& text) {
  if (text == Content) return;
  Content = text;
  UpdateAccessibleName();
  update();
}

void TTextGadget::SetMarks(const QList<TMark>& marks) {
  QStringList names;
  for (const TMark& m : marks) names << m.Name;
  if (names == MarkNames()) return;  // the same marks: nothing to repaint
  Marks = marks;
  UpdateAccessibleName();
  update();
}

QStringList TTextGadget::MarkNames() const {
  QStringList names;
  for (const TMark& m : Marks) names << m.Name;
  return names;
}

int TTextGadget::MarksWidth() const {
  int width = 0;
  for (const TMark& m : Marks) width += m.Picture.width() + Margin;
  return width;
}

void TTextGadget::UpdateAccessibleName() {
  // A screen reader reads the field's name: the text without its padding, "A: 90.0°", then the marks.
  setAccessibleName((QStringList{Content.simplified()} + MarkNames()).join(QStringLiteral(", ")));
}

void TTextGadget::FitText(const QString& widest) {
  FitWidth = fontMetrics().horizontalAdvance(widest) + 2 * (frameWidth() + Margin);
  if (Chars == 0) return;
  // The fitted width whenever the bar has room; a frame narrower than all
  // fields together may still squeeze them down to their width in characters.
  setMinimumWidth(minimumSizeHint().width());
  setMaximumWidth(sizeHint().width());
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TTextGadget::sizeHint() const {
  const QFontMetrics fm = fontMetrics();
  const int w = std::max(Chars * fm.averageCharWidth() + 2 * (frameWidth() + Margin), FitWidth);
  return {w, fm.height() + 2 * (frameWidth() + Margin)};
}

QSize TTextGadget::minimumSizeHint() const {
  if (Chars == 0) return QSize(0, sizeHint().height());
  return {Chars * fontMetrics().averageCharWidth() + 2 * (frameWidth() + Margin), sizeHint().height()};
}

void TTextGadget::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  const QRect r = contentsRect().adjusted(Margin, 0, -Margin, 0);
  const QRect text = r.adjusted(0, 0, -MarksWidth(), 0);
  int x = text.right() + 1;
  for (const TMark& m : Marks) {
    x += Margin;
    p.drawPixmap(x, r.center().y() - m.Picture.height() / 2, m.Picture);
    x += m.Picture.width();
  }
  p.setClipRect(text);
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Content);
}
