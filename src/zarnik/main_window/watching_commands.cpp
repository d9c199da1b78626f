// Watching the network learn: the fitness chart window, the network view and
// the tempo of the drawn steps.
#include <QAction>
#include <QFileInfo>

#include <cstdio>

#include "main_window/zarnik_window.h"
#include "watching/fitness_chart.h"
#include "watching/network_view.h"
#include "watching/scene_recorder.h"
#include "widgets/file_dialog.h"
#include "widgets/message_box.h"
#include "widgets/picture_saving.h"
#include "ann-ga/world.h"
#include "widgets/window_place.h"

// --- fitness chart -----------------------------------------------------------

void TZarnikWindow::CmFitChart() {
  TFitnessChartWindow*& chart = Watching.FitnessChart;
  if (chart != nullptr && chart->isVisible()) {
    chart->hide();
    return;
  }
  if (chart == nullptr) {
    chart = new TFitnessChartWindow(this);
    // Watching should not take the keys from the frame; F7 closes it from either window.
    chart->setAttribute(Qt::WA_ShowWithoutActivating);
    chart->addAction(Action(CM_FITCHART));
    ShareRunKeys(chart);
    KeepWindowPlace(chart, this, QStringLiteral("Fitness-Verlauf"));
    connect(chart, &TFitnessChartWindow::visibilityChanged, this, [this] { UpdateCommands(); });
  }
  // Hidden, it took no rows: it starts again from the whole history.
  Watching.RestartChart();
  chart->show();
  chart->raise();
  Watching.FlushChart();
  MarkLearningPath();
}

void TZarnikWindow::CeFitChart(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Watching.FitnessChart != nullptr && Watching.FitnessChart->isVisible());
}

// --- network view ------------------------------------------------------------

void TZarnikWindow::CmNetView() {
  TNetworkViewWindow*& view = Watching.NetView;
  if (view != nullptr && view->isVisible()) {
    view->hide();
    return;
  }
  if (view == nullptr) {
    view = new TNetworkViewWindow(this);
    view->setAttribute(Qt::WA_ShowWithoutActivating);  // the keys stay with the frame
    view->addAction(Action(CM_NETVIEW));
    // Holding and stepping a run is what one does while watching its network.
    view->addAction(Action(CM_PAUSE));
    view->addAction(Action(CM_SINGLESTEP));
    ShareRunKeys(view);
    KeepWindowPlace(view, this, QStringLiteral("Netzansicht"));
    connect(view, &TNetworkViewWindow::visibilityChanged, this, [this] { UpdateCommands(); });
  }
  view->show();
  view->raise();
  // Node values only while a drawn run holds them; until its next step none are shown.
  FlushNetView();
}

void TZarnikWindow::CeNetView(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Watching.NetView != nullptr && Watching.NetView->isVisible());
}

void TZarnikWindow::FlushNetView() { Watching.FlushNetView(Population()->bestIndividual, false); }

// --- tempo -------------------------------------------------------------------
// Enabled during runs too: slowing a run down to watch it is the point.

void TZarnikWindow::SetTempo(TStepPacer::TTempo tempo) {
  Watching.Pacer.SetTempo(tempo);
  SaveTempo(tempo);
}

void TZarnikWindow::CmTempoSlow() { SetTempo(TStepPacer::Slow); }

void TZarnikWindow::CeTempoSlow(TCommandEnabler& ce) { ce.SetCheck(Watching.Pacer.Tempo() == TStepPacer::Slow); }

void TZarnikWindow::CmTempoNormal() { SetTempo(TStepPacer::Normal); }

void TZarnikWindow::CeTempoNormal(TCommandEnabler& ce) { ce.SetCheck(Watching.Pacer.Tempo() == TStepPacer::Normal); }

void TZarnikWindow::CmTempoMaximal() { SetTempo(TStepPacer::Maximal); }

void TZarnikWindow::CeTempoMaximal(TCommandEnabler& ce) { ce.SetCheck(Watching.Pacer.Tempo() == TStepPacer::Maximal); }

// --- pause and single step ------------------------------------------------------
// Like the tempo, they act on the drawn steps of activation and training 1 only.

void TZarnikWindow::CmPause() { Watching.Gate.SetPaused(!Watching.Gate.Paused()); }

void TZarnikWindow::CePause(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Watching.Gate.Paused());
}

void TZarnikWindow::CmSingleStep() { Watching.Gate.Step(); }

void TZarnikWindow::CeSingleStep(TCommandEnabler& ce) {
  ce.Enable(Watching.Gate.Paused() && (StartANN() || Train1AN() || ShowANN()));
}

// --- film --------------------------------------------------------------------------
// Each drawn step becomes a frame, at the tempo's rate; Maximal films at 60.

namespace {

QString CannotRecord(const QString& path) {
  return TZarnikWindow::tr("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(path).fileName());
}

}  // namespace

void TZarnikWindow::CmRecord() {
  if (Watching.Recording()) {
    StopRecording();
    return;
  }
  const QString path = ZarnikSaveFileName(this, tr("Film aufnehmen"), tr("Video (*.mp4 *.webm)"),
                                          QStringLiteral(".mp4"));
  if (path.isEmpty()) return;
  if (Watching.StartFilm(path, true)) return;
  ZarnikMessageBox(this, CannotRecord(path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
}

void TZarnikWindow::CeRecord(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Watching.Recording());
}

void TZarnikWindow::EndBySignal() {
  StopRecording();
  if (RunActive()) Population()->DoBreakANN();
}

void TZarnikWindow::StopRecording() {
  if (!Watching.Recording()) return;
  const QString path = Watching.Recorder->Path();
  if (!Watching.Recorder->Finish()) ReportFilmFailure(path);
  UpdateCommands();
}

void TZarnikWindow::ReportFilmFailure(const QString& path) {
  FilmLost = true;
  if (!Unattended) {
    ZarnikMessageBox(this, CannotRecord(path), windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
    return;
  }
  std::fprintf(stderr, "zarnik: %s\n", qPrintable(CannotRecord(path)));
  if (RunActive()) Population()->DoBreakANN();  // filmed for nobody, it would go on for nothing
}

// --- picture -----------------------------------------------------------------------
// The scene as drawn, at its natural size whatever the window's: what a film's frame holds.

void TZarnikWindow::CmSavePicture() {
  SavePictureAs(this, [this](const QString& path) { return WritePng(Simulator, path); });
}

// Only reads the picture: during runs too.
void TZarnikWindow::CeSavePicture(TCommandEnabler& ce) { ce.Enable(true); }
