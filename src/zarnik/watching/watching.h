#pragma once

// The window's watching of a run: tempo, pause, film, chart and network view
// as one object with one entry per drawn step.

#include <functional>
#include <memory>

#include "watching/fitness_history.h"
#include "watching/pause_gate.h"
#include "watching/step_pacer.h"

class QImage;
class QString;
class TANN;
class TFitnessChartWindow;
class TNetworkViewWindow;
class TSceneRecorder;

// What a person watches of a run besides the scene: the tempo of its drawn
// steps, holding and single-stepping them, filming them, the fitness chart
// and the network view. The window hands it every drawn step through Step,
// once, and owns the chart and view windows it feeds (made at their first opening).
class TWatching {
 public:
  // What a drawn step asks of the window: `dispatch` hands buffered texts and
  // figures to their widgets and lets events through, `stopped` tells a stop
  // request, `filmFailed` ends a film that could not take a frame.
  struct THooks {
    std::function<void()> dispatch;
    std::function<bool()> stopped;
    std::function<void()> filmFailed;
  };
  TWatching(const TFitnessHistory& history, THooks hooks);
  ~TWatching();
  TWatching(const TWatching&) = delete;
  TWatching& operator=(const TWatching&) = delete;

  // A drawn run starts on a screen of `frameRate` frames a second: its
  // first drawn step sets the beat.
  void StartRun(double frameRate);
  // After each drawn step of a run, the scene showing it: the network view
  // takes the best's node values (the step's), the film a frame; then the
  // run is held while paused and until the tempo's next step is due.
  void Step(const TANN& best, const QImage& scene);

  // Hands the open chart the rows of the history it has not shown yet.
  void FlushChart();
  // The chart was opened again: it starts from the whole history.
  void RestartChart();
  // Hands the open network view `best`; with `values`, also the node values
  // of its last evaluation, else none.
  void FlushNetView(const TANN& best, bool values);
  bool Recording() const;
  // Opens a film of the drawn steps at `path` (see TSceneRecorder::Start), at
  // the tempo's rate: 15 frames a second at Langsam, 60 otherwise.
  bool StartFilm(const QString& path, bool replace);

  TStepPacer Pacer;
  TPauseGate Gate;
  // Films the drawn steps while a recording is open; made at the first one.
  std::unique_ptr<TSceneRecorder> Recorder;
  TFitnessChartWindow* FitnessChart = nullptr;
  TNetworkViewWindow* NetView = nullptr;
  long long DrawnSteps = 0;  // drawn steps of runs, for tests

 private:
  const TFitnessHistory& History;
  THooks Hooks;
  size_t ChartRows = 0;     // rows of History the chart shows
  unsigned ChartEpoch = 0;  // History.Epoch() when the chart was filled
};
