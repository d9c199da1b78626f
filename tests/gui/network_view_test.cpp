// The network view: what it draws of the best network, the node values it
// shows during drawn steps and training 2, and its menu command.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

#include "gui_test_support.h"
#include "main_window/zarnik_window.h"
#include "watching/network_view.h"
#include "widgets/file_dialog.h"
#include "world.h"

namespace {

// Every link of the feed-forward blocks of the program's network (11-3-3-4).
std::vector<std::pair<int, int>> BlockLinks() {
  std::vector<std::pair<int, int>> links;
  for (int s = 0; s < 11; ++s)
    for (int t = 11; t < 14; ++t) links.push_back({s, t});
  for (int s = 11; s < 14; ++s)
    for (int t = 14; t < 17; ++t) links.push_back({s, t});
  for (int s = 14; s < 17; ++s)
    for (int t = 17; t < 21; ++t) links.push_back({s, t});
  return links;
}

void ClearWeights(TANN& net) {
  for (int s = 0; s < net.getNodes(); ++s)
    for (int t = 0; t < net.getNodes(); ++t) net.setWeight(s, t, 0);
}

}  // namespace

class NetworkViewTest : public QObject {
  Q_OBJECT

 private:
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;

  TNetworkView* View() const { return W->NetView->View(); }
  TChromosom& Best() const { return W->AnnGaWorld->bestIndividual; }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));
  }

  void cleanupTestCase() { delete W; }

  void init() {
    ResetRunFlags(W);
    W->Dispatch(CM_SIMRESET);
    W->Dispatch(CM_TEMPMAXI);
  }

  // F8 opens and closes it in every mode, with the check mark following.
  void opensAndClosesByKey() {
    for (bool running : {false, true}) {
      W->StartANN = running;
      QApplication::setActiveWindow(W);
      QTest::keyClick(W, Qt::Key_F8);
      QVERIFY(W->NetView != nullptr && W->NetView->isVisible());
      W->UpdateCommands();
      QVERIFY(W->Action(CM_NETVIEW)->isEnabled());
      QVERIFY(W->Action(CM_NETVIEW)->isChecked());
      QTest::keyClick(W, Qt::Key_F8);
      QVERIFY(!W->NetView->isVisible());
      W->UpdateCommands();
      QVERIFY(!W->Action(CM_NETVIEW)->isChecked());
    }
    W->StartANN = false;
  }

  // One line per link in use, none for an absent one; the counts below are
  // of the 54 the shape allows (11·3 + 3·3 + 3·4).
  void drawsTheLinksInUse() {
    W->Dispatch(CM_NETVIEW);
    const auto links = BlockLinks();
    QCOMPARE(int(links.size()), 54);
    ClearWeights(Best());
    for (size_t k = 0; k < links.size(); ++k)
      Best().setWeight(links[k].first, links[k].second, k % 2 == 0 ? 150 : -40);
    // Five links absent: 49 left.
    for (int k : {0, 7, 33, 41, 53}) Best().setWeight(links[k].first, links[k].second, 0);
    W->Dispatch(CM_NETVIEW);  // closed
    W->Dispatch(CM_NETVIEW);  // and open again: takes the best as it is now
    const QImage shot = View()->grab().toImage();
    QCOMPARE(View()->LinesDrawn(), 49);
    QCOMPARE(View()->LinksInUse(), 49);
    QCOMPARE(View()->PossibleLinks(), 54);
    QVERIFY(!View()->HasValues());

    // A bigger window draws the same network bigger: still 49 lines.
    W->NetView->resize(1100, 800);
    QApplication::processEvents();
    const QImage big = View()->grab().toImage();
    QVERIFY(big.width() > shot.width() && big.height() > shot.height());
    QCOMPARE(View()->LinesDrawn(), 49);

    // The picture goes to the chosen file.
    FileDialogHook().Answers = {Dir.filePath(QStringLiteral("netz"))};
    auto* button = W->NetView->findChild<QPushButton*>();
    QVERIFY(button != nullptr && button->text() == QStringLiteral("Bild speichern..."));
    button->click();
    QImage saved(Dir.filePath(QStringLiteral("netz.png")));
    QCOMPARE(saved.size(), View()->size());
    W->Dispatch(CM_NETVIEW);
  }

  // Activation with a network worked by hand: the angle code of joint A
  // (input 7) passes through hidden nodes 11 and 14 unchanged to the output
  // of joint A, which turns by code × 0.002 degree a step. From the start
  // pose (code 180, angle 90.0) three steps of 0.36 degree bring A to 91.08,
  // whose code is -179; that turns A back by 0.358 to 90.722 (code 180), and
  // so on. Each drawn step shows the values of the step just made, and the
  // view paints at most once however many steps came between two dispatches.
  void valuesFollowActivation() {
    ClearWeights(Best());
    Best().setWeight(7, 11, 100);
    Best().setWeight(11, 14, 100);
    Best().setWeight(14, 17, 100);
    W->Dispatch(CM_NETVIEW);
    QApplication::processEvents();
    TWorld& world = *W->AnnGaWorld;
    ZarnikWindow = W;
    W->StartANN = true;
    int* out = world.OutputList.get();
    std::fill(out, out + 6, 0);
    world.InputList = W->GetCalcData(out, true, false);
    QVERIFY(!View()->HasValues());  // an undrawn step shows nothing

    const int codes[6] = {180, 180, 180, -179, 180, -179};
    for (int code : codes) {
      world.useBestIndividual();
      QVERIFY(View()->HasValues());
      QCOMPARE(View()->Value(7), code);
      QCOMPARE(View()->Value(11), code);
      QCOMPARE(View()->Value(14), code);
      QCOMPARE(View()->Value(17), code);
      QCOMPARE(View()->Value(18), 0);  // no link to joint B
      QCOMPARE(View()->Value(0), 50);  // the ball on E, at x 50
    }
    const long long paints = View()->Paints;
    for (int k = 0; k < 10; ++k) world.useBestIndividual();
    QApplication::processEvents();
    QCOMPARE(View()->Paints, paints + 1);
    W->AnnHasFinished();
    W->Dispatch(CM_NETVIEW);
  }

  // Training 2 shows a new best at the pump's dispatch, without node values.
  void trainingTwoShowsTheNewBest() {
    ClearWeights(Best());
    W->Dispatch(CM_NETVIEW);
    QApplication::processEvents();
    QCOMPARE(View()->LinksInUse(), 0);
    W->Train2AN = true;
    Best().setWeight(0, 11, 5);
    Best().setWeight(16, 20, -5);
    QCOMPARE(View()->LinksInUse(), 0);  // not before the dispatch
    W->Pump.Dispatch();
    QCOMPARE(View()->LinksInUse(), 2);
    QVERIFY(!View()->HasValues());
    W->Train2AN = false;
    W->Dispatch(CM_NETVIEW);
  }
};

QTEST_MAIN(NetworkViewTest)
#include "network_view_test.moc"
