// Loading and storing the population, in "zarnik.dat" or in a file chosen by
// name, each with its fitness history beside it ("name.csv" for "name.dat").
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>

#include "main_window/zarnik_window.h"
#include "fitness_log.h"
#include "language.h"
#include "string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "widgets/text_gadget.h"
#include "world.h"

namespace {

const QString PopulationFilter = QStringLiteral("Zarnik-Population (*.dat)");

// "dir/name.dat" keeps its history in "dir/name.csv", as the trainer does.
QString HistoryPathFor(const QString& population) {
  return QFile::decodeName(FitnessLogPathFor(QFile::encodeName(population).toStdString()).c_str());
}

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

// --- files -------------------------------------------------------------------

void TZarnikWindow::LoadHistory(const QString& path) {
  // Read whole, then followed while another program appends to it.
  FollowHistory(path);  // missing or damaged: the chart starts empty
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


// An empty path is the designed "zarnik.dat" with its designed messages.
bool TZarnikWindow::LoadPopulation(const QString& path) {
  const QString file = path.isEmpty() ? QStringLiteral("zarnik.dat") : path;
  size_t size = 0;
  LoadFailure = AnnGaWorld->LoadANN(QFile::encodeName(file).constData(), size);  // the reason stays for later
  if (LoadFailure == TLoadError::None) {  // used from the next run on; nothing to redraw
    LoadHistory(HistoryPathFor(file));
    PopulationFile = path;
    PopulationChanged = false;
    FlushNetView(false);  // an open network view shows the loaded best
    GetStr(IDS_ADJUST_MODE, Arm.Buffer, sizeof Arm.Buffer);
    SetMessageText(Arm.Buffer);  // instead of an earlier failure's reason
    return true;
  }
  ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_LOAD, path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  // The box keeps its designed text; why, the message field says until the mode changes.
  const qint64 found = LoadFailure == TLoadError::WrongSize ? static_cast<qint64>(size) : -1;
  MessageGad->SetText(tr("Kann Datei '%1' nicht laden: %2")
                          .arg(NameOf(file), LoadReasonText(LoadFailure, found, AnnGaWorld->FileSize())));
  return false;
}

bool TZarnikWindow::SavePopulation(const QString& path) {
  const QString file = path.isEmpty() ? QStringLiteral("zarnik.dat") : path;
  if (AnnGaWorld->DoSaveANN(QFile::encodeName(file).constData())) {
    SaveHistory(HistoryPathFor(file));
    PopulationFile = path;
    PopulationChanged = false;
    return true;
  }
  ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_SAVE, path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  return false;
}

QString TZarnikWindow::FileMessageFor(unsigned resId, const QString& path) {
  if (!path.isEmpty()) return FileMessage(resId, NameOf(path));
  GetStr(resId, Arm.Buffer, sizeof Arm.Buffer);
  return CoreText("StringTable", Arm.Buffer);
}

void TZarnikWindow::CmLoadData() {
  if (MayReplacePopulation()) LoadPopulation(QString());
}

void TZarnikWindow::CeLoadData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSaveData() { SavePopulation(QString()); }

void TZarnikWindow::CeSaveData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmOpenData() {
  if (!MayReplacePopulation()) return;
  const QString path =
      ZarnikOpenFileName(this, QString::fromLatin1("Population \xF6" "ffnen"), PopulationFilter);
  if (!path.isEmpty()) LoadPopulation(path);
}

void TZarnikWindow::CeOpenData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSaveDataAs() {
  QString path = ZarnikSaveFileName(this, QStringLiteral("Population speichern unter"), PopulationFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dat");
  SavePopulation(path);
}

void TZarnikWindow::CeSaveDataAs(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

// --- unsaved work ------------------------------------------------------------

bool TZarnikWindow::MayReplacePopulation() {
  if (!PopulationChanged) return true;
  const QMessageBox::StandardButton answer =
      ZarnikMessageBox(this, QString::fromLatin1("Die Population wurde ge\xE4ndert. Vorher speichern?"), windowTitle(),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information);
  if (answer == QMessageBox::Yes) return SavePopulation(PopulationFile);  // on only if it was saved
  return answer == QMessageBox::No;
}

// --- a population from elsewhere ------------------------------------------------

bool TZarnikWindow::AdoptPopulation(const QString& path) {
  size_t size = 0;
  LoadFailure = AnnGaWorld->LoadANN(QFile::encodeName(path).constData(), size);
  if (LoadFailure != TLoadError::None) {
    ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_LOAD, path), windowTitle(), QMessageBox::Ok,
                     QMessageBox::Warning);
    return false;
  }
  LoadHistory(HistoryPathFor(path));
  // Not stored yet: "Speichern" or the question on closing keeps it.
  PopulationChanged = true;
  FlushNetView(false);
  return true;
}
