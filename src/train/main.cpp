#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>

#include <memory>

#include "translation/language.h"
#include "train/train_options.h"
#include "train/trainer.h"

int main(int argc, char** argv) {
  // The set's picture draws text, which needs a QGuiApplication: on the
  // offscreen platform, so that a node without a screen draws it too.
  std::unique_ptr<QCoreApplication> app;
  if (AsksForPicture(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("zarnik-train"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZARNIK_VERSION));
  // English: the trainer's own texts. German: Qt's own texts in German too
  // (--help's headings, the parser's errors), as the window has them.
  InstallTranslations(*app, EnglishWanted(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  TTrainOptions options;
  const int status = ParseTrainOptions(options, argc, argv);
  if (status >= 0) return status;
  return RunTrainer(options);
}
