// Additions for watching the network learn and for population files chosen
// by name: the fitness chart with its history beside the population file,
// the tempo of drawn steps, "Öffnen..." and "Speichern unter...".
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "file_dialog.h"
#include "fitness_chart.h"
#include "message_box.h"
#include "string_table.h"
#include "world.h"
#include "zarnik_window.h"

namespace {

const QString PopulationFilter = QStringLiteral("Zarnik-Population (*.dat)");

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
  // and the file's rows keep their order.
  const int lastPass = History.LastPass1();
  if (lastPass >= 0 && AnnGaWorld->Passes1 <= lastPass) AnnGaWorld->Passes1 = lastPass + 1;
  FlushChart();
}

void TZarnikWindow::SaveHistory(const QString& path) {
  if (History.Save(QFile::encodeName(path).constData())) return;
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_SAVE, NameOf(path)), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
}

void TZarnikWindow::CmOpenData() {
  const QString path =
      ZarnikOpenFileName(this, QString::fromLatin1("Population \xF6" "ffnen"), PopulationFilter);
  if (path.isEmpty()) return;
  if (AnnGaWorld->DoLoadANN(QFile::encodeName(path).constData())) {
    LoadHistory(HistoryPathFor(path));
    return;
  }
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_LOAD, NameOf(path)), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
}

void TZarnikWindow::CeOpenData(TCommandEnabler& ce) { ce.Enable(!Arm.RunActive()); }

void TZarnikWindow::CmSaveDataAs() {
  QString path = ZarnikSaveFileName(this, QStringLiteral("Population speichern unter"), PopulationFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dat");
  if (AnnGaWorld->DoSaveANN(QFile::encodeName(path).constData())) {
    SaveHistory(HistoryPathFor(path));
    return;
  }
  ZarnikMessageBox(this, FileMessage(IDS_CANNOT_SAVE, NameOf(path)), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
}

void TZarnikWindow::CeSaveDataAs(TCommandEnabler& ce) { ce.Enable(!Arm.RunActive()); }

// --- fitness chart -----------------------------------------------------------

void TZarnikWindow::CmFitChart() {
  if (FitnessChart != nullptr && FitnessChart->isVisible()) {
    FitnessChart->hide();
    return;
  }
  if (FitnessChart == nullptr) {
    FitnessChart = new TFitnessChartWindow(this);
    // Watching should not take the keys from the frame; F7 closes it from either window.
    FitnessChart->setAttribute(Qt::WA_ShowWithoutActivating);
    FitnessChart->addAction(Action(CM_FITCHART));
    connect(FitnessChart, &TFitnessChartWindow::visibilityChanged, this, [this] { UpdateCommands(); });
  }
  // Hidden, it took no rows: it starts again from the whole history.
  FitnessChart->Clear();
  ChartRows = 0;
  ChartEpoch = History.Epoch();
  FitnessChart->show();
  FitnessChart->raise();
  FlushChart();
}

void TZarnikWindow::CeFitChart(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(FitnessChart != nullptr && FitnessChart->isVisible());
}

void TZarnikWindow::FlushChart() {
  if (FitnessChart == nullptr || !FitnessChart->isVisible()) return;
  if (ChartEpoch != History.Epoch()) {
    FitnessChart->Clear();
    ChartRows = 0;
    ChartEpoch = History.Epoch();
  }
  if (ChartRows >= History.Size()) return;
  FitnessChart->Append(History.Data().data() + ChartRows, History.Size() - ChartRows);
  ChartRows = History.Size();
}

// --- tempo -------------------------------------------------------------------
// Enabled during runs too: slowing a run down to watch it is the point.

void TZarnikWindow::SetTempo(TStepPacer::TTempo tempo) {
  Pacer.SetTempo(tempo);
  SaveTempo(tempo);
}

void TZarnikWindow::CmTempoSlow() { SetTempo(TStepPacer::Slow); }

void TZarnikWindow::CeTempoSlow(TCommandEnabler& ce) { ce.SetCheck(Pacer.Tempo() == TStepPacer::Slow); }

void TZarnikWindow::CmTempoNormal() { SetTempo(TStepPacer::Normal); }

void TZarnikWindow::CeTempoNormal(TCommandEnabler& ce) { ce.SetCheck(Pacer.Tempo() == TStepPacer::Normal); }

void TZarnikWindow::CmTempoMaximal() { SetTempo(TStepPacer::Maximal); }

void TZarnikWindow::CeTempoMaximal(TCommandEnabler& ce) { ce.SetCheck(Pacer.Tempo() == TStepPacer::Maximal); }
