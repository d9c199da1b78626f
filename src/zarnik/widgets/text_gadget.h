#pragma once

#include <QFrame>
#include <QString>

// One recessed, left-aligned text field of the status bar. A field with a
// width in characters keeps that width whatever its text; a longer text is
// cut at the right edge, so the field shows what fits from the left.
class TTextGadget : public QFrame {
 public:
  // `chars` 0 makes a field that takes whatever width the bar gives it.
  TTextGadget(int id, int chars, QWidget* parent = nullptr);

  int Id() const { return GadgetId; }
  void SetText(const QString& text);
  const QString& Text() const { return Content; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int Margin = 2;
  int GadgetId;
  int Chars;
  QString Content;
};
