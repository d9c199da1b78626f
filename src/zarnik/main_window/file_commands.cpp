// Loading and storing the population, in "zarnik.dat" or in a file chosen by
// name, each with its fitness history beside it ("name.csv" for "name.dat").
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>

#include "main_window/zarnik_window.h"
#include "string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "world.h"

namespace {

const QString PopulationFilter = QStringLiteral("Zarnik-Population (*.dat)");
const QString DefaultPopulation = QStringLiteral("zarnik.dat");  // in the working directory

// "dir/name.dat" keeps its history in "dir/name.csv".
QString HistoryPathFor(const QString& population) {
  const QFileInfo file(population);
  return file.dir().filePath(file.completeBaseName() + QStringLiteral(".csv"));
}

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

// --- files -------------------------------------------------------------------

void TZarnikWindow::LoadHistory(const QString& path) {
  History.Load(QFile::encodeName(path).constData());  // missing or damaged: the chart starts empty
  // Training 1 numbers its passes on from the loaded ones, so the chart's line
  // and the file's rows keep their order; at the top the count stays, as
  // training 1 keeps it there too.
  const int lastPass = History.LastPass1();
  if (lastPass >= 0 && AnnGaWorld->Passes1 <= lastPass)
    AnnGaWorld->Passes1 = lastPass < INT_MAX ? lastPass + 1 : INT_MAX;
  FlushChart();
}

void TZarnikWindow::SaveHistory(const QString& path) {
  if (History.Save(QFile::encodeName(path).constData())) return;
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_SAVE, NameOf(path)), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
}

// The one way in and the one way out for a population file and the history
// beside it. A failure shows the designed message with `shownName` in it; a
// load that fails leaves the population as it was and keeps its reason.
bool TZarnikWindow::LoadPopulation(const QString& path, const QString& shownName) {
  size_t size = 0;
  LoadFailure = AnnGaWorld->LoadANN(QFile::encodeName(path).constData(), size);
  if (LoadFailure == TLoadError::None) {  // used from the next run on; nothing to redraw
    LoadHistory(HistoryPathFor(path));
    return true;
  }
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_LOAD, shownName), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
  return false;
}

bool TZarnikWindow::SavePopulation(const QString& path, const QString& shownName) {
  if (AnnGaWorld->DoSaveANN(QFile::encodeName(path).constData())) {
    SaveHistory(HistoryPathFor(path));
    return true;
  }
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_SAVE, shownName), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
  return false;
}

// The designed messages of "Laden" and "Speichern" name the file 'Zarnik.dat'.
void TZarnikWindow::CmLoadData() { LoadPopulation(DefaultPopulation, QStringLiteral("Zarnik.dat")); }

void TZarnikWindow::CeLoadData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSaveData() { SavePopulation(DefaultPopulation, QStringLiteral("Zarnik.dat")); }

void TZarnikWindow::CeSaveData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmOpenData() {
  const QString path =
      ZarnikOpenFileName(this, QString::fromLatin1("Population \xF6" "ffnen"), PopulationFilter);
  if (!path.isEmpty()) LoadPopulation(path, NameOf(path));
}

void TZarnikWindow::CeOpenData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSaveDataAs() {
  QString path = ZarnikSaveFileName(this, QStringLiteral("Population speichern unter"), PopulationFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dat");
  SavePopulation(path, NameOf(path));
}

void TZarnikWindow::CeSaveDataAs(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
