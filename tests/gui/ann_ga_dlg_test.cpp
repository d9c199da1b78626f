#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "ann_ga_dlg.h"

namespace {

QList<int> AllIds() {
  QList<int> ids;
  for (int id = 301; id <= 318; ++id) ids << id;
  for (int id = 320; id <= 344; ++id) ids << id;
  for (int id = 361; id <= 364; ++id) ids << id;
  return ids;
}

// The etched frame whose left edge is at `x` pixels.
QFrame* FrameAt(const TAnnGaDlg& dlg, int x) {
  for (QFrame* f : dlg.findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
    if (!qobject_cast<QLabel*>(f) && f->geometry().left() == x) return f;
  return nullptr;
}

}  // namespace

class AnnGaDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void freshWindow();
  void writesReplaceWholeText();
  void stopPaths_data();
  void stopPaths();
  void weightColumnsUnderFrames_data();
  void weightColumnsUnderFrames();

 private:
  QWidget Main;
};

void AnnGaDlgTest::freshWindow() {
  TAnnGaDlg dlg(&Main);
  QCOMPARE(dlg.windowTitle(), QStringLiteral("GA - Parameter"));
  QVERIFY(dlg.isVisible());
  QVERIFY(!dlg.isModal());
  QCOMPARE(dlg.parentWidget(), &Main);
  for (int id : AllIds()) {
    QVERIFY2(dlg.Control(id), qPrintable(QString::number(id)));
    QVERIFY2(dlg.Text(id).isEmpty(), qPrintable(QString::number(id)));
  }
  QCOMPARE(dlg.Control(319), nullptr);
  QCOMPARE(dlg.Control(2), nullptr);  // the button is no text target

  QCOMPARE(dlg.size(), dlg.MapDialogRect(0, 0, 423, 184).size());
  const QRect screen = dlg.screen()->availableGeometry();
  const QPoint centre = dlg.frameGeometry().center();
  QVERIFY2((centre - screen.center()).manhattanLength() <= 2,
           qPrintable(QStringLiteral("centred at %1,%2").arg(centre.x()).arg(centre.y())));
  for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    QVERIFY(dlg.rect().contains(w->geometry()));
}

void AnnGaDlgTest::writesReplaceWholeText() {
  TAnnGaDlg dlg(&Main);
  dlg.SetText(302, "12.500000");
  dlg.SetText(302, "3.0");
  QCOMPARE(dlg.Text(302), QStringLiteral("3.0"));
  dlg.SetText(302, QString());
  QCOMPARE(dlg.Text(302), QString());

  // The widest figure an int can give is shown whole in a value field.
  dlg.SetText(304, "-2147483648");
  QCOMPARE(dlg.Text(304), QStringLiteral("-2147483648"));
  const QLabel* value = dlg.Control(304);
  QVERIFY(QFontMetrics(value->font()).horizontalAdvance(value->text()) <= value->contentsRect().width());

  // Markup-like figures and leading blanks stay literal.
  dlg.SetText(308, "( <b>1 , 2 )");
  QCOMPARE(dlg.Control(308)->textFormat(), Qt::PlainText);
  dlg.SetText(320, "  -12 +150   +0");
  QCOMPARE(dlg.Text(320), QStringLiteral("  -12 +150   +0"));
  QCOMPARE(dlg.Text(321), QString());

  dlg.SetText(319, "lost");  // no such control: ignored
  dlg.SetText(301, static_cast<const char*>(nullptr));
  QCOMPARE(dlg.Text(301), QString());
}

void AnnGaDlgTest::stopPaths_data() {
  QTest::addColumn<QString>("path");
  QTest::newRow("button") << "button";
  QTest::newRow("space on button") << "space";
  QTest::newRow("return on button") << "return-button";
  QTest::newRow("keypad enter") << "enter";
  QTest::newRow("escape") << "escape";
  QTest::newRow("close box") << "close";
}

void AnnGaDlgTest::stopPaths() {
  QFETCH(QString, path);
  TAnnGaDlg dlg(&Main);
  QSignalSpy stops(&dlg, &TAnnGaDlg::userStop);
  auto* button = dlg.findChild<QPushButton*>(QStringLiteral("ctl2"));
  QVERIFY(button);
  QCOMPARE(button->text(), QStringLiteral("Abbrechen"));

  auto press = [&] {
    if (path == "button")
      QTest::mouseClick(button, Qt::LeftButton);
    else if (path == "space")
      QTest::keyClick(button, Qt::Key_Space);
    else if (path == "return-button")
      QTest::keyClick(button, Qt::Key_Return);
    else if (path == "enter")
      QTest::keyClick(&dlg, Qt::Key_Enter, Qt::KeypadModifier);
    else if (path == "escape")
      QTest::keyClick(&dlg, Qt::Key_Escape);
    else
      QVERIFY(!dlg.close());
  };

  press();
  QCOMPARE(stops.count(), 1);
  QVERIFY(dlg.isVisible());
  press();
  QCOMPARE(stops.count(), 2);
  QVERIFY(dlg.isVisible());
}

void AnnGaDlgTest::weightColumnsUnderFrames_data() {
  QTest::addColumn<int>("first");   // first and last line of the block
  QTest::addColumn<int>("last");
  QTest::addColumn<int>("frameX");  // dialog units
  QTest::addColumn<int>("column");  // 0-based column the frame outlines
  QTest::newRow("block 1, col 2") << 320 << 330 << 36 << 1;
  QTest::newRow("block 1, col 4") << 320 << 330 << 76 << 3;
  QTest::newRow("block 1, col 6") << 320 << 330 << 116 << 5;
  QTest::newRow("block 2, col 2") << 331 << 337 << 196 << 1;
  QTest::newRow("block 2, col 4") << 331 << 337 << 236 << 3;
  QTest::newRow("block 2, col 6") << 331 << 337 << 276 << 5;
  QTest::newRow("block 3, col 2") << 338 << 344 << 356 << 1;
  QTest::newRow("block 3, col 4") << 338 << 344 << 396 << 3;
}

void AnnGaDlgTest::weightColumnsUnderFrames() {
  QFETCH(int, first);
  QFETCH(int, last);
  QFETCH(int, frameX);
  QFETCH(int, column);
  TAnnGaDlg dlg(&Main);
  QLabel* line = dlg.Control(last);
  const QFontMetricsF pitch(line->font());
  QCOMPARE(pitch.horizontalAdvance(QLatin1Char('i')), pitch.horizontalAdvance(QLatin1Char('W')));

  const QString text = QStringLiteral("  -12 +150   +0+1234-1234  +99  -99   +7   -7 +200 -200");
  dlg.SetText(last, text);
  // Where the text layout puts the column, in the window's pixels.
  const QFontMetricsF fm(line->font());
  const int textLeft = line->x() + line->contentsRect().left();
  const double colLeft = textLeft + fm.horizontalAdvance(text.left(5 * column));
  const double colRight = textLeft + fm.horizontalAdvance(text.left(5 * column + 5));

  QFrame* frame = FrameAt(dlg, dlg.MapDialogRect(frameX, 0, 1, 1).left());
  QVERIFY(frame);
  // The frame spans the block's lines from top to bottom.
  QCOMPARE(frame->geometry().top(), dlg.Control(first)->geometry().top());
  QCOMPARE(frame->geometry().bottom(), line->geometry().bottom());
  // The column starts on the frame's left edge, within its two-pixel line.
  QVERIFY2(colLeft >= frame->geometry().left() - 0.5 && colLeft <= frame->geometry().left() + 2,
           qPrintable(QStringLiteral("column at %1, frame at %2").arg(colLeft).arg(frame->x())));
  if (frame->width() > 2) {
    QVERIFY2(colRight <= frame->x() + frame->width(),
             qPrintable(QStringLiteral("column ends %1, frame ends %2").arg(colRight).arg(frame->geometry().right())));
  }
}

QTEST_MAIN(AnnGaDlgTest)
#include "ann_ga_dlg_test.moc"
