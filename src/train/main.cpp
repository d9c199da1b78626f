#include <QCoreApplication>

#include "train_options.h"
#include "trainer.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zarnik-train"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZARNIK_VERSION));
  TTrainOptions options;
  const int status = ParseTrainOptions(options, argc, argv);
  if (status >= 0) return status;
  return RunTrainer(options);
}
