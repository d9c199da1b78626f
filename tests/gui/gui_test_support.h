#pragma once

// The main window as the GUI tests start it and the run state they reset
// between test functions.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window/zarnik_window.h"
#include "world.h"

// Set up as the program's start sets it up.
inline TZarnikWindow* NewTestWindow() {
  auto* w = new TZarnikWindow;
  w->SetupWindow();
  return w;
}

// Shown and active, since the key clicks of the tests go to the active
// window. False if it never becomes active.
inline bool ShowActive(TZarnikWindow* w) {
  w->show();
  QApplication::setActiveWindow(w);
  return QTest::qWaitForWindowActive(w);
}

// A new window, shown and active, working in `dir` so that the files it
// writes land there. False if either fails.
inline bool OpenTestWindow(TZarnikWindow*& w, const QTemporaryDir& dir) {
  if (!QDir::setCurrent(dir.path())) return false;
  w = NewTestWindow();
  return ShowActive(w);
}

// No run left going from the test function before.
inline void ResetRunFlags(TZarnikWindow* w) {
  w->Train1AN = w->Train2AN = w->StartANN = false;
  UserBreak = false;
}
