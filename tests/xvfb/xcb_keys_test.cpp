// Keys as the X server delivers them (xdotool on Xvfb with openbox, Qt's xcb
// platform): offscreen key events cannot show how X11 hands keypad keys to shortcuts.
#include <QApplication>
#include <QProcess>
#include <QtTest>

#include "main_window/zarnik_window.h"
#include "../gui/zarnik_window_probe.h"
#include "widgets/text_gadget.h"

class XcbKeysTest : public QObject {
  Q_OBJECT

  TZarnikWindow* W = nullptr;

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    W = new TZarnikWindow;
    W->SetupWindow();
    W->show();
    W->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(W));
  }
  void cleanupTestCase() { delete W; }

  // Keypad and main keyboard + and - (US layout: + is Shift+=) step by half a degree.
  void rotationKeys() {
    TZarnikWindowProbe(W).SetTurnDegrees(6.0f);
    const std::pair<const char*, float> presses[] = {{"KP_Add", 6.5f}, {"KP_Add", 7.0f}, {"KP_Subtract", 6.5f},
                                                     {"plus", 7.0f},   {"minus", 6.5f},  {"minus", 6.0f}};
    for (const auto& [key, after] : presses) {
      QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(key)}), 0);
      QTRY_COMPARE_WITH_TIMEOUT(W->TurnDegrees(), after, 5000);
    }
    QCOMPARE(W->RotationField()->Text(), QString::fromLatin1("Rotation:      6.0\xB0"));
  }
};

QTEST_MAIN(XcbKeysTest)
#include "xcb_keys_test.moc"
