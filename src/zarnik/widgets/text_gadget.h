#pragma once

#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QString>

// One recessed, left-aligned text field of the status bar. A field with a
// width in characters keeps that width (or the width FitText asked for)
// whatever its text; a longer text is cut at the right edge, so the field
// shows what fits from the left.
class TTextGadget : public QFrame {
 public:
  // `chars` 0 makes a field that takes whatever width the bar gives it.
  TTextGadget(int id, int chars, QWidget* parent = nullptr);

  int Id() const { return GadgetId; }
  void SetText(const QString& text);
  // Widens the field, if need be, so that `widest` shows whole in its font.
  void FitText(const QString& widest);
  // Small pictures at the right end, each with the word a screen reader
  // reads after the text ("Pause"); they take no room while there are none.
  struct TMark {
    QPixmap Picture;
    QString Name;
  };
  void SetMarks(const QList<TMark>& marks);
  QStringList MarkNames() const;
  // Room for text inside border and margins, beside the marks.
  int TextWidth() const { return contentsRect().width() - 2 * Margin - MarksWidth(); }
  const QString& Text() const { return Content; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int Margin = 2;
  int MarksWidth() const;
  void UpdateAccessibleName();
  int GadgetId;
  int Chars;
  int FitWidth = 0;  // from FitText, in pixels with border and margins
  QString Content;
  QList<TMark> Marks;
};
