// Loading and storing the population, in "zarnik.dat" or in a file chosen by
// name, each with its fitness history beside it ("name.csv" for "name.dat").
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "main_window/zarnik_window.h"
#include "translation/language.h"
#include "ann-ga/load_reason.h"
#include "platform/write_reason.h"
#include "arm/string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "ann-ga/world.h"

namespace {

QString PopulationFilter() { return TZarnikWindow::tr("Zarnik-Population (*.dat)"); }

// "dir/name.dat" keeps its history in "dir/name.csv", as the trainer does.
QString HistoryPathFor(const QString& population) { return TPopulationDocument::HistoryOf(population); }

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

// --- files -------------------------------------------------------------------

void TZarnikWindow::LoadHistory(const QString& path) {
  // Missing or refused: the chart starts empty; refused, the file is left alone when saving.
  RefusedHistory.clear();  // each load says it anew
  NoteHistoryRefusal(path, Document.History().Load(QFile::encodeName(path).constData()));
  FollowHistory(path);  // and what another program appends to it from now on
  // Training 1 numbers its passes on from the loaded ones, so the chart's line
  // and the file's rows keep their order.
  Population()->NumberPassesAfter(Document.History().LastPass1());
  Watching.FlushChart();
  MarkLearningPath();
}

void TZarnikWindow::SaveHistory(const QString& path, bool replace) {
  bool failed = false;
  NoteHistoryRefusal(path, Document.History().Save(QFile::encodeName(path).constData(), replace, failed));
  if (!failed) return;
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_SAVE, NameOf(path)), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
}

void TZarnikWindow::NoteHistoryRefusal(const QString& path, const char* reason) {
  if (reason == nullptr) {
    if (path == RefusedHistory) RefusedHistory.clear();
    return;
  }
  if (path == RefusedHistory) return;  // said once
  RefusedHistory = path;
  ShowReason(
      tr("Fitnessverlauf '%1' nicht gelesen: %2").arg(NameOf(path), QCoreApplication::translate("TFitnessHistory", reason)));
}

// A trainer holds the population's lock while it works on it: loading or
// storing it now would lose the one or the other's generations.
bool TZarnikWindow::TrainerAtWork(const QString& path, pid_t holder, unsigned resId) {
  if (holder == 0) return false;
  // The designed failure message, and why in the message field.
  ZarnikMessageBox(this, FileMessageFor(resId, path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  const QString file = TPopulationDocument::DiskName(path);
  const QString who = holder > 0 ? tr("ein Trainer arbeitet daran (Prozess %1)").arg(holder) : tr("ein Trainer arbeitet daran");
  ShowReason((resId == IDS_CANNOT_LOAD ? tr("Kann Datei '%1' nicht laden: %2") : tr("Kann Datei '%1' nicht speichern: %2"))
                          .arg(NameOf(file), who));
  return true;
}

// An empty path is the designed "zarnik.dat" with its designed messages.
bool TZarnikWindow::LoadPopulation(const QString& path) {
  const QString file = TPopulationDocument::DiskName(path);
  if (TrainerAtWork(path, TPopulationDocument::TrainerHolding(path), IDS_CANNOT_LOAD)) return false;
  size_t size = 0;
  const TLoadError failure = Document.Load(path, size);
  if (failure == TLoadError::None) {  // used from the next run on; nothing to redraw
    // Instead of an earlier failure's reason; a refused history's reason, said next, goes over it.
    ShowReason(tr("Population aus '%1' geladen").arg(NameOf(file)));
    LoadHistory(HistoryPathFor(file));
    Document.BelongsTo(path);
    FlushNetView();  // an open network view shows the loaded best
    return true;
  }
  ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_LOAD, path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  // The box keeps its designed text; the status bar says why.
  ShowReason(tr("Kann Datei '%1' nicht laden: %2").arg(NameOf(file), LoadFailureReason(failure, size)));
  return false;
}

QString TZarnikWindow::LoadFailureReason(TLoadError failure, size_t size) const {
  const qint64 found = failure == TLoadError::WrongSize ? static_cast<qint64>(size) : -1;
  return LoadReasonText(LoadReasonFormat(failure, found >= 0), found, Population()->FileSize());
}

bool TZarnikWindow::SavePopulation(const QString& path, bool replaceHistory) {
  const QString file = TPopulationDocument::DiskName(path);
  pid_t holder = 0;
  QString pathKeptAs;
  const int error = Document.Store(path, holder, pathKeptAs);
  if (TrainerAtWork(path, holder, IDS_CANNOT_SAVE)) return false;
  if (error == 0) {
    // Said first: a refused history's reason, said next, goes over it.
    ShowReason(pathKeptAs.isEmpty() ? tr("Population in '%1' gespeichert").arg(NameOf(file))
                                    : tr("Population in '%1' gespeichert; der Lernweg, der dort lag, liegt jetzt in '%2'")
                                          .arg(NameOf(file), NameOf(pathKeptAs)));
    SaveHistory(HistoryPathFor(file), replaceHistory);
    Document.BelongsTo(path);
    FollowHistory(HistoryPathFor(file));  // from its new end on
    return true;
  }
  ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_SAVE, path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  // The box keeps its designed text; the status bar says why, as for loading.
  ShowReason(tr("Kann Datei '%1' nicht speichern: %2")
                 .arg(NameOf(file), QCoreApplication::translate("zarnik-train", WriteReasonText(error))));
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
      ZarnikOpenFileName(this, tr("Population öffnen"), PopulationFilter());
  if (!path.isEmpty()) LoadPopulation(path);
}

void TZarnikWindow::CeOpenData(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSaveDataAs() {
  // The history beside it is written too: the question covers both.
  const QString path = ZarnikSaveFileName(this, tr("Population speichern unter"), PopulationFilter(),
                                          QStringLiteral(".dat"), [](const QString& p) { return QStringList{HistoryPathFor(p)}; });
  if (!path.isEmpty()) SavePopulation(path, true);
}

void TZarnikWindow::CeSaveDataAs(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

// --- unsaved work ------------------------------------------------------------

bool TZarnikWindow::MayReplacePopulation() {
  if (!Document.Unsaved()) return true;
  const QMessageBox::StandardButton answer =
      ZarnikMessageBox(this, tr("Die Population wurde geändert. Vorher speichern?"), windowTitle(),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information);
  if (answer == QMessageBox::Yes) return SavePopulation(Document.FileName());  // on only if it was saved
  return answer == QMessageBox::No;
}

// --- a population from elsewhere ------------------------------------------------

bool TZarnikWindow::MayReplacePopulationByWinner() {
  if (!Document.Unsaved()) return true;
  // The designed question, but its "Ja" cannot store over the winner the set
  // has just written to the population's file: it asks for a name first.
  const QMessageBox::StandardButton answer =
      ZarnikMessageBox(this, tr("Die Population wurde geändert. Vorher speichern?"), windowTitle(),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information);
  if (answer == QMessageBox::Yes) {
    const QString path = ZarnikSaveFileName(this, tr("Population speichern unter"), PopulationFilter(), QStringLiteral(".dat"),
                                            [](const QString& p) { return QStringList{HistoryPathFor(p)}; });
    return !path.isEmpty() && SavePopulation(path, true);
  }
  return answer == QMessageBox::No;
}

bool TZarnikWindow::AdoptPopulation(const QString& path) {
  size_t size = 0;
  if (Document.Load(path, size) != TLoadError::None) {
    ZarnikMessageBox(this, FileMessageFor(IDS_CANNOT_LOAD, path), windowTitle(), QMessageBox::Ok,
                     QMessageBox::Warning);
    return false;
  }
  LoadHistory(HistoryPathFor(path));
  // From the population's own file it is stored already; from elsewhere
  // "Speichern" or the question on closing keeps it.
  const QString own = TPopulationDocument::DiskName(Document.FileName());
  Document.MarkChanged(QFileInfo(path).absoluteFilePath() != QFileInfo(own).absoluteFilePath());
  FlushNetView();
  return true;
}
