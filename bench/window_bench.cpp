// Runs in the main window, offscreen: a generation of training 2 with the
// progress window open against the same generation on the headless host, the
// same with the fitness chart, and with the network view, open against closed,
// and activation drawing every step, in colour and in outline; the longest
// stall of the window while "Mehrere Läufe..." follows a busy trainer.
// Repetitions are interleaved by default, so that both hosts meet the same
// machine load; compare the medians.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTableWidget>
#include <QTimer>

#include "progress/ann_ga_dlg.h"
#include "progress/many_runs_dlg.h"
#include "watching/fitness_chart.h"
#include "watching/network_view.h"
#include "watching/scene_recorder.h"
#include "hosts/headless_host.h"
#include "hosts/headless_pool.h"
#include "ann-ga/random.h"
#include "ann-ga/world.h"
#include "main_window/zarnik_window.h"
#include "../tests/gui/zarnik_window_probe.h"

namespace {

using Clock = std::chrono::steady_clock;

void Generation(TWorld& world) {
  world.calcFitness2();
  world.Selection();
  world.CrossOver();
  world.mutate();
  ++world.Generations;
}

// The main window as the program shows it, the scene at its natural size.
std::unique_ptr<TZarnikWindow> ShownWindow() {
  auto w = std::make_unique<TZarnikWindow>();
  w->resize(600, 450);  // three quarters of the offscreen screen, as at start-up
  w->SetupWindow();
  w->show();
  QCoreApplication::processEvents();
  return w;
}

// Longest time between two event dispatches of the window's pump.
struct TGapMeter {
  explicit TGapMeter(TZarnikWindow& w) : Window(w) {
    TZarnikWindowProbe(w).HookDispatch([this] {
      const Clock::time_point now = Clock::now();
      MaxGap = std::max(MaxGap, now - Last);
      Last = now;
    });
  }
  ~TGapMeter() { TZarnikWindowProbe(Window).HookDispatch({}); }
  double MaxGapMs() const { return std::chrono::duration<double, std::milli>(MaxGap).count(); }

  TZarnikWindow& Window;
  Clock::time_point Last = Clock::now();
  Clock::duration MaxGap{};
};

// On a pool of every hardware thread, as the window has it.
void BM_Training2Generation_Headless(benchmark::State& state) {
  THeadlessHost host;
  host.View.Running = true;
  TZarnikHostScope useHost(&host);
  TWorld world(&host, DefaultWorldDef());
  THeadlessPool workers(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  world.Pool = &workers.Pool();
  for (auto _ : state) Generation(world);
  world.Pool = nullptr;
}
BENCHMARK(BM_Training2Generation_Headless)->Unit(benchmark::kMillisecond)->Repetitions(9);

// As the F2 command leaves the window: flag, status text, progress window.
void BM_Training2Generation_Window(benchmark::State& state) {
  auto w = ShownWindow();
  TWorld& world = *w->Population();
  ZarnikWindow = w.get();
  TZarnikWindowProbe(*w).StageRun(CM_TRAIN2AN);
  w->SetMessageText("ANN trainiert");
  TZarnikWindowProbe(*w).StageProgressWindow();
  const long long dispatches = w->Dispatches();
  TGapMeter gaps(*w);
  for (auto _ : state) Generation(world);
  state.counters["dispatches"] =
      benchmark::Counter(double(w->Dispatches() - dispatches), benchmark::Counter::kAvgIterations);
  state.counters["max_gap_ms"] = gaps.MaxGapMs();
  w->AnnHasFinished();
}
BENCHMARK(BM_Training2Generation_Window)->Unit(benchmark::kMillisecond)->Repetitions(9);

// As the F2 command leaves the window, up to the loop.
void BeginTraining2(TZarnikWindow& w) {
  ZarnikWindow = &w;
  TZarnikWindowProbe(w).StageRun(CM_TRAIN2AN);
  w.SetMessageText("ANN trainiert");
  TZarnikWindowProbe(w).StageProgressWindow();
  w.Population()->BeginTrainANN2();
}

// Generations of training 2 as the loop runs them (figures to the history, the
// chart taking them at the pump's dispatches), in two windows that start from
// the same population: one with the fitness chart open, one without. The two
// take turns in blocks, each iteration a block of each in alternating order, so
// both meet the same machine load. A block is long against the pump's interval:
// each window then dispatches at the cadence a real run has, where turns of a
// single generation would let each pump see twice its own run's time pass.
// `ratio` is open over closed, per generation.
// The same for the network view.
// `paints`, if given, counts the opened window's paints.
void OpenVsClosed(benchmark::State& state, int command, bool (*isOpen)(const TZarnikWindow&),
                  long long (*paints)(const TZarnikWindow&) = nullptr) {
  constexpr int Block = 40;  // generations, about half a second
  auto open = ShownWindow();
  auto closed = ShownWindow();
  QTemporaryDir dir;
  const QByteArray file = (dir.path() + QStringLiteral("/start.dat")).toLocal8Bit();
  if (!open->Population()->DoSaveANN(file.constData()) || !closed->Population()->DoLoadANN(file.constData())) {
    state.SkipWithError("cannot copy the population");
    return;
  }
  open->Dispatch(command);
  if (!isOpen(*open)) {
    state.SkipWithError("the window did not open");
    return;
  }
  for (TZarnikWindow* w : {open.get(), closed.get()}) BeginTraining2(*w);
  QCoreApplication::processEvents();

  using Ms = std::chrono::duration<double, std::milli>;
  Ms spent[2]{};  // open, closed
  const long long paintsBefore = paints != nullptr ? paints(*open) : 0;
  long long dispatches[2] = {open->Dispatches(), closed->Dispatches()};
  bool openFirst = true;
  for (auto _ : state) {
    Ms both{};
    for (int k = 0; k < 2; ++k) {
      const int which = (k == 0) == openFirst ? 0 : 1;
      TZarnikWindow& w = which == 0 ? *open : *closed;
      ZarnikWindow = &w;
      const Clock::time_point start = Clock::now();
      for (int g = 0; g < Block; ++g) w.Population()->TrainGeneration2();
      const Ms took = Clock::now() - start;
      spent[which] += took;
      both += took;
    }
    openFirst = !openFirst;
    state.SetIterationTime(std::chrono::duration<double>(both).count() / (2 * Block));
  }
  const double n = static_cast<double>(state.iterations()) * Block;
  state.counters["open_ms"] = spent[0].count() / n;
  state.counters["closed_ms"] = spent[1].count() / n;
  state.counters["ratio"] = spent[0].count() / spent[1].count();
  if (paints != nullptr) state.counters["paints_per_generation"] = double(paints(*open) - paintsBefore) / n;
  state.counters["open_dispatches_per_s"] =
      static_cast<double>(open->Dispatches() - dispatches[0]) / (spent[0].count() / 1000);
  state.counters["closed_dispatches_per_s"] =
      static_cast<double>(closed->Dispatches() - dispatches[1]) / (spent[1].count() / 1000);
  for (TZarnikWindow* w : {open.get(), closed.get()}) {
    ZarnikWindow = w;
    w->AnnHasFinished();
  }
}
void BM_Training2Generation_ChartOpenVsClosed(benchmark::State& state) {
  OpenVsClosed(state, CM_FITCHART,
               [](const TZarnikWindow& w) { return w.Watch().FitnessChart != nullptr && w.Watch().FitnessChart->isVisible(); });
}
BENCHMARK(BM_Training2Generation_ChartOpenVsClosed)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(6)
    ->Repetitions(7);

// Training 2 as the window runs it, on every hardware thread (its own pool)
// against one worker, and against the same pool config on the headless host;
// all three start from one population and seed and take turns in blocks long
// against the pump's interval. "speedup" is one worker over all,
// "window_vs_headless" the window over the headless host, per generation.
// The workers of a pool wait awake for a moment after its last round; worlds
// that take turns let those of the one before fall asleep first.
void SettleOtherPools() { std::this_thread::sleep_for(std::chrono::milliseconds(3)); }

void BM_Training2_WindowPoolVsOneThread(benchmark::State& state) {
  constexpr int Block = 20;
  auto all = ShownWindow();
  auto one = ShownWindow();
  QTemporaryDir dir;
  const QByteArray file = (dir.path() + QStringLiteral("/start.dat")).toLocal8Bit();
  THeadlessHost host;
  host.View.Running = true;
  auto headless = MakeZarnikWorld(&host);
  if (!all->Population()->DoSaveANN(file.constData()) || !one->Population()->DoLoadANN(file.constData()) ||
      !headless->DoLoadANN(file.constData())) {
    state.SkipWithError("cannot copy the population");
    return;
  }
  THeadlessPool oneWorker(1);
  one->Population()->Pool = &oneWorker.Pool();
  THeadlessPool headlessWorkers(all->WorkerPool()->Workers());
  headless->Pool = &headlessWorkers.Pool();
  for (TZarnikWindow* w : {all.get(), one.get()}) BeginTraining2(*w);
  ZarnikWindow = &host;
  headless->BeginTrainANN2();
  QCoreApplication::processEvents();

  using Seconds = std::chrono::duration<double>;
  Seconds spent[3]{};  // all, one, headless
  const auto block = [&](int which) {
    TWorld& world = which == 2 ? *headless : *(which == 0 ? all : one)->Population();
    ZarnikWindow = which == 2 ? static_cast<TZarnikHost*>(&host) : (which == 0 ? all : one).get();
    SettleOtherPools();
    const Clock::time_point start = Clock::now();
    for (int g = 0; g < Block; ++g) world.TrainGeneration2();
    const Seconds took = Clock::now() - start;
    spent[which] += took;
    return took;
  };
  int turn = 0;
  for (auto _ : state) {
    Seconds both{};
    for (int k = 0; k < 3; ++k) both += block((turn + k) % 3);
    ++turn;
    state.SetIterationTime(both.count() / (3 * Block));
  }
  const double n = static_cast<double>(state.iterations()) * Block;
  state.counters["all_threads_ms"] = 1000 * spent[0].count() / n;
  state.counters["one_thread_ms"] = 1000 * spent[1].count() / n;
  state.counters["headless_ms"] = 1000 * spent[2].count() / n;
  state.counters["speedup"] = spent[1].count() / spent[0].count();
  state.counters["window_vs_headless"] = spent[0].count() / spent[2].count();
  state.counters["workers"] = all->WorkerPool()->Workers();
  one->Population()->Pool = one->WorkerPool();
  for (TZarnikWindow* w : {all.get(), one.get()}) {
    ZarnikWindow = w;
    w->AnnHasFinished();
  }
}
// Two threads on a shared virtual machine vary from run to run: the median
// of seven is the figure.
BENCHMARK(BM_Training2_WindowPoolVsOneThread)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(7);

void BM_Training2Generation_NetViewOpenVsClosed(benchmark::State& state) {
  OpenVsClosed(
      state, CM_NETVIEW, [](const TZarnikWindow& w) { return w.Watch().NetView != nullptr && w.Watch().NetView->isVisible(); },
      [](const TZarnikWindow& w) { return w.Watch().NetView->View()->Paints; });
}
BENCHMARK(BM_Training2Generation_NetViewOpenVsClosed)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(6)
    ->Repetitions(7);

// One paint of the network view at its opening size, values shown.
void BM_NetViewPaint(benchmark::State& state) {
  auto w = ShownWindow();
  w->Dispatch(CM_NETVIEW);
  TNetworkView& view = *w->Watch().NetView->View();
  view.SetValues(w->Population()->bestIndividual);
  QImage image(view.size(), QImage::Format_RGB32);
  for (auto _ : state) view.render(&image);
  state.SetItemsProcessed(state.iterations());
  state.counters["lines"] = view.LinesDrawn();
}
BENCHMARK(BM_NetViewPaint)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// One refresh of the open chart as a dispatch of a training-2 run makes it:
// the rows of about three generations appended, then the events that paint
// it. Arg 0: the points stay inside the axes; arg 1: every refresh widens the x axis.
void BM_ChartRefresh(benchmark::State& state) {
  auto w = ShownWindow();
  w->Dispatch(CM_FITCHART);
  TFitnessChartWindow& chart = *w->Watch().FitnessChart;
  const bool widen = state.range(0) != 0;
  std::vector<TFitnessRow> rows;
  int generation = 0;
  auto rowsUpTo = [&](int count) {
    rows.clear();
    for (int k = 0; k < count; ++k, ++generation)
      rows.push_back(
          {generation, 2, -4000 + generation % 97, -9000 + generation % 53, generation, 0.0, generation % 7});
  };
  if (!widen) {  // room for every refresh to come
    rowsUpTo(1);
    rows.push_back({100000, 2, -4000, -9000, 0, 0.0, 6});
    chart.Append(rows.data(), rows.size());
    generation = 1;
  }
  QCoreApplication::processEvents();
  for (auto _ : state) {
    rowsUpTo(3);
    if (widen) rows.back().generation = generation * 2;
    chart.Append(rows.data(), rows.size());
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChartRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// The activation loop at Maximal tempo (the drawing's own cost, not the
// tempo's): pump, one drawn step of the best network, new platform heights
// when the target changes.
class TActivationSteps {
 public:
  explicit TActivationSteps(TZarnikWindow& window) : W(window), World(*window.Population()) {
    ZarnikWindow = &W;
    TZarnikWindowProbe(W).StageRun(CM_STARTANN);
    TZarnikWindowProbe(W).SetTempoUnsaved(TStepPacer::Maximal);
    std::fill(Out, Out + 6, 0);
    World.InputList = W.GetCalcData(Out, true, false);
    Goal = World.InputList[4];
  }
  void Step() {
    W.PumpMessages();
    World.useBestIndividual();
    if (World.InputList[4] == Goal) return;
    Goal = World.InputList[4];
    std::fill(Out, Out + 6, 0);
    Out[4] = RandomBelow(10) + 1;
    Out[5] = RandomBelow(10) + 1;
    World.InputList = W.GetCalcData(Out, true, true);
    Out[4] = Out[5] = 0;
  }

 private:
  TZarnikWindow& W;
  TWorld& World;
  int* const Out = World.OutputList.get();
  int Goal = 0;
};

// Steps of the activation loop. Arg: 1 for the outline drawing.
void BM_ActivationStep(benchmark::State& state) {
  auto w = ShownWindow();
  if (w->ClientSize() != QSize(SceneWidth, SceneHeight)) {
    state.SkipWithError("the scene is not at 756 x 468");
    return;
  }
  if (w->Model().OutLines != (state.range(0) != 0)) w->Dispatch(CM_OUTLINES);
  w->SetMessageText("ANN aktiviert");
  TActivationSteps activation(*w);
  TGapMeter gaps(*w);
  for (auto _ : state) activation.Step();
  state.SetItemsProcessed(state.iterations());
  state.counters["max_gap_ms"] = gaps.MaxGapMs();
  w->AnnHasFinished();
}
BENCHMARK(BM_ActivationStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(3);

// What filming costs a drawn step of activation: blocks of steps with the
// recorder attached and without, in turns, in one window. Frames are handed
// to the encoder thread; a step waits only when the queue is full, so at
// Maximal the cost is the encoder's pace. Arg: 0 H.264 in MP4, 1 VP9 in WebM.
void BM_ActivationStep_RecordingCost(benchmark::State& state) {
  constexpr int Block = 60;  // steps, a second of film
  auto w = ShownWindow();
  QTemporaryDir dir;
  const QString path = dir.filePath(state.range(0) == 0 ? QStringLiteral("bench.mp4") : QStringLiteral("bench.webm"));
  auto recorder = std::make_unique<TSceneRecorder>();
  if (!recorder->Start(path, 60)) {
    state.SkipWithError("cannot start the recording");
    return;
  }
  TActivationSteps activation(*w);
  auto steps = [&] {
    const Clock::time_point start = Clock::now();
    for (int k = 0; k < Block; ++k) activation.Step();
    return std::chrono::duration<double, std::milli>(Clock::now() - start);
  };
  std::chrono::duration<double, std::milli> spent[2]{};  // plain, recording
  const long long drawnBefore = w->Watch().DrawnSteps;
  long long recorded = 0;
  for (auto _ : state) {
    const auto plain = steps();
    TZarnikWindowProbe(*w).SwapRecorder(std::move(recorder));
    const long long before = w->Watch().DrawnSteps;
    const auto filmed = steps();
    recorded += w->Watch().DrawnSteps - before;
    recorder = TZarnikWindowProbe(*w).SwapRecorder(nullptr);
    spent[0] += plain;
    spent[1] += filmed;
    state.SetIterationTime((plain + filmed).count() / 1000.0);
  }
  const double plainSteps = static_cast<double>(w->Watch().DrawnSteps - drawnBefore - recorded);
  const bool finished = recorder->Finish();
  state.counters["plain_ms_per_step"] = spent[0].count() / plainSteps;
  state.counters["recording_ms_per_step"] = spent[1].count() / static_cast<double>(recorded);
  state.counters["cost_ms_per_step"] =
      spent[1].count() / static_cast<double>(recorded) - spent[0].count() / plainSteps;
  state.counters["frames"] = static_cast<double>(recorded);
  state.counters["file_kib"] = QFileInfo(path).size() / 1024.0;
  if (!finished) state.SkipWithError("the recording failed");
  TZarnikWindowProbe(*w).StageRun(0);
}
BENCHMARK(BM_ActivationStep_RecordingCost)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3);

// The longest the event loop goes without serving a 1 ms timer within
// `ms`: the stall a user would feel.
double LongestStallMs(int ms) {
  Clock::time_point last = Clock::now();
  Clock::duration worst{};
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    worst = std::max(worst, now - last);
    last = now;
  });
  tick.start(1);
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return std::chrono::duration<double, std::milli>(worst).count();
}

// A trainer's --progress output at a pace no real set reaches (four runs,
// thousands of generations a second), with run 0's history growing beside it.
constexpr char BusyTrainer[] = R"(for file; do :; done
stem=${file%.dat}
mkdir -p "$stem.runs"
echo generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries > "$stem.runs/run-0.csv"
g=0
while [ $g -lt 40000 ]; do
  for k in 0 1 2 3; do printf 'run\t%d\t%d\t%d\t%d\t%d\t-\t-\trunning\n' $k $k $g $((g * 3 + k)) $((g % 7)); done
  printf '%d,2,%d,%d,%d,0.500,%d\n' $g $((g * 3)) $g $g $((g % 7)) >> "$stem.runs/run-0.csv"
  g=$((g + 1))
done
echo nowinner
)";

// "Mehrere Läufe..." while the trainer reports and the chart follows run 0:
// the window's longest stall (arg 1) against the idle window's (arg 0), in
// the same run. The goal is a longest stall below 50 ms.
void BM_ManyRuns_LongestStall(benchmark::State& state) {
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  QFile script(QStringLiteral("trainer.sh"));
  script.open(QIODevice::WriteOnly);
  script.write(BusyTrainer);
  script.close();
  auto w = ShownWindow();
  w->Dispatch(CM_MANYRUNS);
  TManyRunsDlg& runs = *w->RunsDialog();
  runs.SetTrainer(QStringLiteral("/bin/sh"), {QStringLiteral("trainer.sh")});
  double worst = 0;
  long long rows = 0;
  for (auto _ : state) {
    if (state.range(0) == 1) {
      runs.Start();
      runs.WatchRun(0);
    }
    const double stall = LongestStallMs(3000);
    worst = std::max(worst, stall);
    state.SetIterationTime(stall / 1000.0);
    if (state.range(0) == 1) {
      rows = runs.Chart() != nullptr ? static_cast<long long>(runs.Chart()->Received(TFitnessChartWindow::Best2)) : 0;
      runs.Stop();
      QEventLoop wait;
      QTimer::singleShot(5000, &wait, &QEventLoop::quit);
      QObject::connect(&runs, &TManyRunsDlg::finished, &wait, &QEventLoop::quit);
      if (runs.Running()) wait.exec();
    }
  }
  state.counters["longest_stall_ms"] = worst;
  state.counters["chart_rows"] = static_cast<double>(rows);
  state.counters["table_rows"] = runs.Table()->rowCount();
}
BENCHMARK(BM_ManyRuns_LongestStall)->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);  // a later flag on the command line wins
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
