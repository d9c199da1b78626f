#pragma once

// The application object: builds the main window and runs the event loop.
#include <QApplication>
#include <QRect>

#include <memory>

#include "main_window/zarnik_options.h"
#include "main_window/zarnik_window.h"

// The application: builds the main window and runs the event loop until the
// window has closed.
class TZarnikApplication : public QApplication {
 public:
  TZarnikApplication(int& argc, char** argv);
  ~TZarnikApplication() override;

  // Creates, places, sets up and shows the main window.
  void InitMainWindow();
  // InitMainWindow, then the event loop; returns the exit code.
  int Run();
  // Films the demonstration asked for by `options` with the window never
  // shown (TZarnikWindow::FilmDemonstration); returns the exit code.
  int Film(const TZarnikOptions& options);

  // The frame's first geometry: three quarters of the available screen area
  // in each direction, centred (all divisions truncate).
  static QRect InitialFrame(const QRect& available);

  TZarnikWindow* MainWindow() const { return Frame.get(); }

  // Qt's own texts (standard buttons, file dialogs, context menus) in German,
  // like the program's, from "qtbase_de" in `dir`. False if they are missing:
  // Qt then speaks English and the program runs as before.
  static bool LoadQtTranslations(QCoreApplication& app, const QString& dir);

 private:
  std::unique_ptr<TZarnikWindow> Frame;
};
