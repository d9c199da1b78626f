#include "main_window/zarnik_application.h"

#include <QLibraryInfo>
#include <QScreen>

#include "translation/language.h"
#include "main_window/stop_signals.h"

TZarnikApplication::TZarnikApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // German as designed, Qt's own texts from Debian's qt6-translations-l10n;
  // English where the locale asks for it, Qt's texts then as they are.
  InstallTranslations(*this, EnglishWanted(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool TZarnikApplication::LoadQtTranslations(QCoreApplication& app, const QString& dir) {
  return InstallTranslations(app, false, dir);
}

// The window goes before the application object it lives in.
TZarnikApplication::~TZarnikApplication() { Frame.reset(); }

QRect TZarnikApplication::InitialFrame(const QRect& available) {
  const int cx = available.width(), cy = available.height();
  const int w = 3 * cx / 4, h = 3 * cy / 4;
  return QRect(available.x() + (cx - w) / 2, available.y() + (cy - h) / 2, w, h);
}

void TZarnikApplication::InitMainWindow() {
  const QRect frame = InitialFrame(primaryScreen()->availableGeometry());
  Frame = std::make_unique<TZarnikWindow>();
  Frame->resize(frame.size());
  Frame->move(frame.topLeft());
  Frame->SetupWindow();
  Frame->show();
}

int TZarnikApplication::Run() {
  InitMainWindow();
  // Ended from outside: without the questions of closing, but with the film
  // finished and the run stopped. The exit status says which signal it was.
  TStopSignals stop([this](int signal) {
    exit(128 + signal);  // first, so that a message box on the way does not wait for an answer
    Frame->EndBySignal();
  });
  return exec();
}

int TZarnikApplication::Film(const TZarnikOptions& options) {
  Frame = std::make_unique<TZarnikWindow>();
  Frame->SetupWindow();
  // As in the window: the film finished as far as it got, the status says which signal ended it.
  int signalled = 0;
  TStopSignals stop([this, &signalled](int signal) {
    signalled = signal;
    Frame->EndBySignal();
  });
  const int status = Frame->FilmDemonstration(options);
  return signalled != 0 ? 128 + signalled : status;
}
