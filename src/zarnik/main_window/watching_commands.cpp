// Watching the network learn: the fitness chart window, the network view and
// the tempo of the drawn steps.
#include <QAction>
#include <QFileInfo>

#include "main_window/zarnik_window.h"
#include "watching/fitness_chart.h"
#include "watching/network_view.h"
#include "watching/scene_recorder.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "widgets/picture_saving.h"
#include "world.h"
#include "widgets/window_place.h"

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
    ShareRunKeys(FitnessChart);
    KeepWindowPlace(FitnessChart, this, QStringLiteral("Fitness-Verlauf"));
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

// --- network view ------------------------------------------------------------

void TZarnikWindow::CmNetView() {
  if (NetView != nullptr && NetView->isVisible()) {
    NetView->hide();
    return;
  }
  if (NetView == nullptr) {
    NetView = new TNetworkViewWindow(this);
    NetView->setAttribute(Qt::WA_ShowWithoutActivating);  // the keys stay with the frame
    NetView->addAction(Action(CM_NETVIEW));
    // Holding and stepping a run is what one does while watching its network.
    NetView->addAction(Action(CM_PAUSE));
    NetView->addAction(Action(CM_SINGLESTEP));
    ShareRunKeys(NetView);
    KeepWindowPlace(NetView, this, QStringLiteral("Netzansicht"));
    connect(NetView, &TNetworkViewWindow::visibilityChanged, this, [this] { UpdateCommands(); });
  }
  NetView->show();
  NetView->raise();
  // Node values only while a drawn run holds them; until its next step none are shown.
  FlushNetView(false);
}

void TZarnikWindow::CeNetView(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(NetView != nullptr && NetView->isVisible());
}

void TZarnikWindow::FlushNetView(bool values) {
  if (NetView == nullptr || !NetView->isVisible()) return;
  TNetworkView& view = *NetView->View();
  view.SetNetwork(AnnGaWorld->bestIndividual);
  if (values)
    view.SetValues(AnnGaWorld->bestIndividual);
  else
    view.ClearValues();
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

// --- pause and single step ------------------------------------------------------
// Like the tempo, they act on the drawn steps of activation and training 1 only.

void TZarnikWindow::CmPause() { Gate.SetPaused(!Gate.Paused()); }

void TZarnikWindow::CePause(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Gate.Paused());
}

void TZarnikWindow::CmSingleStep() { Gate.Step(); }

void TZarnikWindow::CeSingleStep(TCommandEnabler& ce) {
  ce.Enable(Gate.Paused() && (StartANN || Train1AN || ShowANN));
}

// --- film --------------------------------------------------------------------------
// Each drawn step becomes a frame, at the tempo's rate; Maximal films at 60.

namespace {

QString CannotRecord(const QString& path) {
  return TZarnikWindow::tr("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(path).fileName());
}

}  // namespace

void TZarnikWindow::CmRecord() {
  if (Recorder != nullptr && Recorder->Recording()) {
    StopRecording();
    return;
  }
  const QString path = ZarnikSaveFileName(this, tr("Film aufnehmen"), tr("Video (*.mp4 *.webm)"),
                                          QStringLiteral(".mp4"));
  if (path.isEmpty()) return;
  if (Recorder == nullptr) Recorder = std::make_unique<TSceneRecorder>();
  const int rate = Pacer.Tempo() == TStepPacer::Slow ? 15 : 60;
  if (Recorder->Start(path, rate)) return;
  ZarnikMessageBox(this, CannotRecord(path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
}

void TZarnikWindow::CeRecord(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Recorder != nullptr && Recorder->Recording());
}

void TZarnikWindow::EndBySignal() {
  StopRecording();
  if (RunActive()) AnnGaWorld->DoBreakANN();
}

void TZarnikWindow::StopRecording() {
  if (Recorder == nullptr || !Recorder->Recording()) return;
  const QString path = Recorder->Path();
  if (!Recorder->Finish())
    ZarnikMessageBox(this, CannotRecord(path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
  UpdateCommands();
}

// --- picture -----------------------------------------------------------------------
// The scene as drawn, at its natural size whatever the window's: what a film's frame holds.

void TZarnikWindow::CmSavePicture() {
  SavePictureAs(this, [this](const QString& path) { return WritePng(Simulator, path); });
}

// Only reads the picture: during runs too.
void TZarnikWindow::CeSavePicture(TCommandEnabler& ce) { ce.Enable(true); }
