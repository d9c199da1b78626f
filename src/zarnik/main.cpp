#include <QGuiApplication>

#include "main_window/zarnik_application.h"

// The command line is not used.
int main(int argc, char* argv[]) {
  // Wayland matches the window with the installed desktop entry, and so its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZARNIK_APP_ID));
  TZarnikApplication app(argc, argv);
  return app.Run();
}
