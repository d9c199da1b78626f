#include <QCoreApplication>
#include <QLibraryInfo>

#include "translation/language.h"
#include "train/train_options.h"
#include "train/trainer.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zarnik-train"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZARNIK_VERSION));
  // English: the trainer's own texts. German: Qt's own texts in German too
  // (--help's headings, the parser's errors), as the window has them.
  InstallTranslations(app, EnglishWanted(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  TTrainOptions options;
  const int status = ParseTrainOptions(options, argc, argv);
  if (status >= 0) return status;
  return RunTrainer(options);
}
