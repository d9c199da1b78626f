#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "main_window/zarnik_application.h"
#include "main_window/zarnik_options.h"
#include "translation/language.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Neither an X server nor a Wayland compositor named, nor a platform chosen
// (the variable or Qt's -platform option): Qt would abort with a core dump.
bool NoDisplay(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return false;
  return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM");
}

// One line in the locale's language instead, and status 1.
int RefuseWithoutDisplay(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  InstallTranslations(app, EnglishWanted(), QString());
  const QString text = QCoreApplication::translate(
      "zarnik", "zarnik: keine grafische Anzeige (DISPLAY, WAYLAND_DISPLAY und QT_QPA_PLATFORM sind nicht gesetzt)");
  std::fprintf(stderr, "%s\n", qPrintable(text));
  return 1;
}

}  // namespace

// The window, or with --demonstrate and --film a film made without it.
int main(int argc, char* argv[]) {
  if (NoDisplay(argc, argv)) {
    if (!AsksForNoWindow(argc, argv)) return RefuseWithoutDisplay(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");  // chosen before the application object reads it
  }
  // Wayland matches the window with the installed desktop entry, and so its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZARNIK_APP_ID));
  TZarnikApplication app(argc, argv);
  TZarnikOptions options;
  const int status = ParseZarnikOptions(options, QCoreApplication::arguments());
  if (status >= 0) return status;
  return options.film.isEmpty() ? app.Run() : app.Film(options);
}
