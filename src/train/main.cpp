#include <QCoreApplication>

#include "translation/language.h"
#include "train/train_options.h"
#include "train/trainer.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zarnik-train"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZARNIK_VERSION));
  if (EnglishWanted()) InstallTranslations(app, true, QString());  // German needs nothing installed
  TTrainOptions options;
  const int status = ParseTrainOptions(options, argc, argv);
  if (status >= 0) return status;
  return RunTrainer(options);
}
