#pragma once

// What the GUI tests share: window start and reset, the run driver, answers to boxes and dialogs.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <initializer_list>

#include "main_window/zarnik_window.h"
#include "zarnik_window_probe.h"
#include "progress/ann_ga_dlg.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "ann-ga/world.h"

// The window each test program shares, working in its own folder.
struct TWindowFixture {
  TZarnikWindow* W = nullptr;
  QTemporaryDir Dir;
  ~TWindowFixture() { delete W; }
};

// A new window of `size` working in `dir`, shown and active (the tests' key clicks go to the active window).
inline bool OpenTestWindow(TZarnikWindow*& w, const QTemporaryDir& dir, QSize size = {}) {
  if (!QDir::setCurrent(dir.path())) return false;
  w = new TZarnikWindow;
  if (size.isValid()) w->resize(size);
  w->SetupWindow();
  w->show();
  QApplication::setActiveWindow(w);
  return QTest::qWaitForWindowActive(w);
}

// The next message boxes and file dialogs take these answers, in order.
inline void Answer(std::initializer_list<QMessageBox::StandardButton> buttons, std::initializer_list<QString> files = {}) {
  MessageBoxHook() = TMessageBoxHook();
  MessageBoxHook().Answers = buttons;
  FileDialogHook() = TFileDialogHook();
  FileDialogHook().Answers = files;
}

inline void Press(QWidget* target, Qt::Key key) {
  QApplication::setActiveWindow(target->window());
  QTest::keyClick(target, key);
}

// No run, question or answer left over from the test function before.
inline void ResetWindow(TZarnikWindow* w) {
  TZarnikWindowProbe(w).StageRun(0);
  UserBreak = false;
  TZarnikWindowProbe(w).MarkPopulationChanged(false);
  Answer({});
  w->Dispatch(CM_SIMRESET);
}

// Exactly one box has been shown since Answer(), a warning with `text`.
inline bool WarnedOnce(const QString& text) {
  const TMessageBoxHook& box = MessageBoxHook();
  const bool ok = box.Shown == 1 && box.LastText == text && box.LastCaption == "Zarnik32" && box.LastIcon == QMessageBox::Warning;
  if (!ok) qWarning("%d boxes, last '%s'", box.Shown, qPrintable(box.LastText));
  return ok;
}

inline void ClearWeights(TANN& net) {
  for (int s = 0; s < net.getNodes(); ++s)
    for (int t = 0; t < net.getNodes(); ++t) net.setWeight(s, t, 0);
}

inline void AppendText(const QString& path, const QByteArray& text) {
  QFile f(path);
  if (f.open(QIODevice::Append)) f.write(text);
}

inline QByteArray Bytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything the population file holds: population, best network, generation count.
inline QByteArray Snapshot(TZarnikWindow* w) {
  w->Population()->DoSaveANN("snapshot.dat");
  return Bytes(QStringLiteral("snapshot.dat"));
}

// A safety limit for a demonstration: stops the window's run, and says so, once a minute passes without a
// drawn step, however slowly a loaded machine draws.
class TDrawingWatchdog {
 public:
  explicit TDrawingWatchdog(TZarnikWindow* w) {
    Tick.callOnTimeout([this, w] {
      if (w->Watch().DrawnSteps != Drawn) Drawn = w->Watch().DrawnSteps, Still.restart();
      if (Still.hasExpired(60000)) Expired = true, w->Population()->DoBreakANN();
    });
    Still.start();
    Tick.start(1000);
  }
  bool Expired = false;

 private:
  long long Drawn = -1;
  QElapsedTimer Still;
  QTimer Tick;
};

// Runs `key` until its loop ends; `step` runs at each dispatch (numbered) until a stop is asked. A failed
// check stops the run, and so does a minute without an end, failing with what was waited for.
inline void Run(TZarnikWindow* w, Qt::Key key, const char* waitedFor, const std::function<void(int)>& step) {
  int pass = 0;
  bool timedOut = false;
  QTimer poll, watchdog;
  poll.callOnTimeout([&] {
    if (!UserBreak && w->RunActive()) step(pass++);
    if (QTest::currentTestFailed()) w->Population()->DoBreakANN();
  });
  watchdog.callOnTimeout([&] { timedOut = true; w->Population()->DoBreakANN(); });
  poll.start(0);
  watchdog.start(60000);
  UserBreak = false;
  Press(w, key);
  QVERIFY2(!timedOut, qPrintable(QStringLiteral("no end after a minute, waiting for %1").arg(waitedFor)));
  QVERIFY(!w->RunActive());
  QCOMPARE(w->ProgressWindow(), nullptr);
  QCOMPARE(w->MessageText(), QStringLiteral("Einstellmodus"));
}

// Waits for `process` to end. Its own count ends it; the safety limit ends only one that shows no progress (no
// file in its folder grows, no output) for two minutes, however slow a loaded machine makes it.
// The &-mnemonics of `dialog`'s labels and buttons and of `alsoShown` (texts a
// button shows at other times), lower case; "&&" is a plain '&'.
inline QStringList MnemonicsOf(const QString& text) {
  QStringList letters;
  for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size(); i = text.indexOf('&', i + 2))
    if (text[i + 1] != '&') letters << text[i + 1].toLower();
  return letters;
}

inline QStringList Mnemonics(QWidget* dialog, QStringList alsoShown = {}) {
  for (QLabel* label : dialog->findChildren<QLabel*>()) alsoShown << label->text();
  for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) alsoShown << button->text();
  QStringList letters;
  for (const QString& text : alsoShown) letters << MnemonicsOf(text);
  return letters;
}

// The letters of `letters` found more than once: Alt+letter would reach the first only.
inline QStringList Repeated(const QStringList& letters) {
  QStringList repeated;
  for (const QString& l : letters)
    if (letters.count(l) > 1 && !repeated.contains(l)) repeated << l;
  return repeated;
}

// What keeps the keyboard from reaching the menus of `bar` one way each, as "menu: fault": in the bar and in
// each menu (submenus too) Alt+letter reaches one item only, an item without keys has exactly one letter,
// the key an item shows after its tab is one of its keys, and no key belongs to two items.
inline QStringList MenuFaults(QMenuBar* bar) {
  QStringList faults;
  QHash<QString, QString> owners;  // key -> the item it belongs to
  const std::function<void(const QString&, const QList<QAction*>&)> check = [&](const QString& menu,
                                                                                const QList<QAction*>& items) {
    QStringList letters;
    for (QAction* a : items) {
      if (a->isSeparator()) continue;
      const QStringList own = MnemonicsOf(a->text());
      letters << own;
      if (own.size() > 1 || (own.isEmpty() && a->shortcuts().isEmpty())) faults << menu + ": letters of " + a->text();
      const qsizetype tab = a->text().indexOf('\t');
      if (tab >= 0) {
        QStringList keys;
        for (const QKeySequence& k : a->shortcuts()) keys << k.toString();
        if (!keys.contains(a->text().mid(tab + 1))) faults << menu + ": shown key of " + a->text();
      }
      for (const QKeySequence& k : a->shortcuts()) {
        const QString previous = owners.value(k.toString());
        if (!previous.isEmpty() && previous != a->text()) faults << menu + ": key " + k.toString() + " twice";
        owners[k.toString()] = a->text();
      }
      if (a->menu() != nullptr) check(a->text(), a->menu()->actions());
    }
    for (const QString& l : Repeated(letters)) faults << menu + ": letter " + l + " twice";
  };
  check(QStringLiteral("bar"), bar->actions());
  return faults;
}

inline bool EndsWhileProgressing(QProcess& process) {
  QElapsedTimer still;
  still.start();
  for (qint64 progress = -1; !process.waitForFinished(1000);) {
    qint64 now = process.bytesAvailable();
    for (const QFileInfo& f : QDir(process.workingDirectory()).entryInfoList(QDir::Files)) now += f.size();
    if (now != progress) progress = now, still.restart();
    if (still.hasExpired(120000)) {
      qWarning("%s: no progress for two minutes", qPrintable(process.program()));
      process.kill();
      process.waitForFinished(-1);
      return false;
    }
  }
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
