// Watching the network learn: the fitness chart window and the tempo of the
// drawn steps.
#include <QAction>

#include "main_window/zarnik_window.h"
#include "watching/fitness_chart.h"
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
