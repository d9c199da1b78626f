// The progress window on its own: its texts, its stop paths and the weight
// columns under their etched frames.
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "progress/ann_ga_dlg.h"

class AnnGaDlgTest : public QObject {
  Q_OBJECT

  QWidget Main;

 private slots:
  void texts() {
    TAnnGaDlg dlg(&Main);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("GA - Parameter"));
    QVERIFY(dlg.isVisible() && !dlg.isModal());
    for (int id = 301; id <= 364; ++id) {
      const bool exists = id <= 318 || (id >= 320 && id <= 344) || id >= 361;
      QVERIFY2((dlg.Control(id) != nullptr) == exists && dlg.Text(id).isEmpty(), qPrintable(QString::number(id)));
    }
    // A write replaces the whole text, literally; unknown ids are ignored.
    dlg.SetText(302, "12.500000");
    dlg.SetText(302, "  3.0");
    QCOMPARE(dlg.Text(302), QStringLiteral("  3.0"));
    dlg.SetText(308, "( <b>1 , 2 )");
    QCOMPARE(dlg.Control(308)->textFormat(), Qt::PlainText);
    dlg.SetText(319, "lost");
    dlg.SetText(302, static_cast<const char*>(nullptr));
    QCOMPARE(dlg.Text(302), QString());
  }

  // Button (click, Space, Return), keypad Enter, Escape, close box: each gives
  // exactly one stop each time and leaves the window open.
  void stopPaths() {
    for (int path = 0; path < 6; ++path) {
      TAnnGaDlg dlg(&Main);
      QSignalSpy stops(&dlg, &TAnnGaDlg::userStop);
      auto* button = dlg.findChild<QPushButton*>(QStringLiteral("ctl2"));
      QCOMPARE(button->text(), QStringLiteral("Abbrechen"));
      for (int n = 1; n <= 2; ++n) {
        switch (path) {
          case 0: QTest::mouseClick(button, Qt::LeftButton); break;
          case 1: QTest::keyClick(button, Qt::Key_Space); break;
          case 2: QTest::keyClick(button, Qt::Key_Return); break;
          case 3: QTest::keyClick(&dlg, Qt::Key_Enter, Qt::KeypadModifier); break;
          case 4: QTest::keyClick(&dlg, Qt::Key_Escape); break;
          default: QVERIFY(!dlg.close());
        }
        QVERIFY2(stops.count() == n && dlg.isVisible(), qPrintable(QString::number(path)));
      }
    }
  }

  // Each block's every other column lies under an etched frame that spans the
  // block's lines; the frames stand 40 dialog units apart.
  void weightColumnsUnderFrames() {
    TAnnGaDlg dlg(&Main);
    const QString text = QStringLiteral("  -12 +150   +0+1234-1234  +99  -99   +7   -7 +200 -200");
    const int blocks[3][4] = {{320, 330, 36, 3}, {331, 337, 196, 3}, {338, 344, 356, 2}};  // lines, first x, frames
    for (const auto& [first, last, firstX, frames] : blocks) {
      QLabel* line = dlg.Control(last);
      dlg.SetText(last, text);
      const QFontMetricsF fm(line->font());
      const int textLeft = line->x() + line->contentsRect().left();
      for (int column = 1; column < 2 * frames; column += 2) {
        const QString where = QStringLiteral("line %1, column %2").arg(last).arg(column);
        const double colLeft = textLeft + fm.horizontalAdvance(text.left(5 * column));
        const double colRight = textLeft + fm.horizontalAdvance(text.left(5 * column + 5));
        QFrame* frame = nullptr;
        for (QFrame* f : dlg.findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
          if (!qobject_cast<QLabel*>(f) && f->x() == dlg.MapDialogRect(firstX + 20 * (column - 1), 0, 1, 1).left())
            frame = f;
        QVERIFY2(frame, qPrintable(where));
        QCOMPARE(frame->geometry().top(), dlg.Control(first)->geometry().top());
        QCOMPARE(frame->geometry().bottom(), line->geometry().bottom());
        // The column starts on the frame's left edge, within its two-pixel line, and ends inside it.
        QVERIFY2(colLeft >= frame->x() - 0.5 && colLeft <= frame->x() + 2, qPrintable(where));
        QVERIFY2(frame->width() <= 2 || colRight <= frame->x() + frame->width(), qPrintable(where));
      }
    }
  }
};

QTEST_MAIN(AnnGaDlgTest)
#include "ann_ga_dlg_test.moc"
