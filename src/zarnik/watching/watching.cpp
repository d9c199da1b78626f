#include "watching/watching.h"

#include <QImage>

#include "watching/fitness_chart.h"
#include "watching/network_view.h"
#include "watching/scene_recorder.h"

TWatching::TWatching(const TFitnessHistory& history, THooks hooks) : History(history), Hooks(std::move(hooks)) {}

TWatching::~TWatching() = default;

void TWatching::StartRun(double frameRate) {
  Pacer.Reset();
  Pacer.SetFrameRate(frameRate);
}

void TWatching::Step(const TANN& best, const QImage& scene) {
  ++DrawnSteps;
  FlushNetView(best, true);
  // One frame per drawn step, as the scene shows it now; waits while the encoder catches up.
  if (Recording() && !Recorder->AddFrame(scene)) Hooks.filmFailed();
  Gate.Wait(Hooks.dispatch, Hooks.stopped);
  Pacer.Wait(Hooks.dispatch, Hooks.stopped);
}

void TWatching::RestartChart() {
  FitnessChart->Clear();
  ChartRows = 0;
  ChartEpoch = History.Epoch();
}

void TWatching::FlushChart() {
  if (FitnessChart == nullptr || !FitnessChart->isVisible()) return;
  if (ChartEpoch != History.Epoch()) RestartChart();
  if (ChartRows >= History.Size()) return;
  FitnessChart->Append(History.Data().data() + ChartRows, History.Size() - ChartRows);
  ChartRows = History.Size();
}

void TWatching::FlushNetView(const TANN& best, bool values) {
  if (NetView == nullptr || !NetView->isVisible()) return;
  TNetworkView& view = *NetView->View();
  view.SetNetwork(best);
  if (values)
    view.SetValues(best);
  else
    view.ClearValues();
}

bool TWatching::StartFilm(const QString& path, bool replace) {
  if (Recorder == nullptr) Recorder = std::make_unique<TSceneRecorder>();
  return Recorder->Start(path, Pacer.Tempo() == TStepPacer::Slow ? 15 : 60, replace);
}

bool TWatching::Recording() const { return Recorder != nullptr && Recorder->Recording(); }
