#pragma once

// The main frame of the program, TZarnikWindow: its command ids, the
// enablers the menu asks, and the frame itself (its commands are written in
// the *_commands.cpp files beside this one).

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QMainWindow>

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "arm/arm_model.h"
#include "arm/arm_view.h"
#include "progress/runs_owner.h"
#include "widgets/event_pump.h"
#include "watching/fitness_history.h"
#include "scene/scene_bitmaps.h"
#include "watching/watching.h"
#include "runs/all_episodes.h"
#include "ann-ga/zarnik_host.h"

class QAction;
class QStatusBar;
class TAnnGaDlg;
class TEvaluationPool;
class TFitnessFollower;
class THeadlessPool;
class TKeyOverviewDlg;
class TManyRunsDlg;
class TPacerClock;
class TSceneRecorder;
struct TKeyLine;
class TTextGadget;
class TWorld;
class TZarnikClient;
enum class TLoadError;

// Asked before a command runs, before its menu opens and before its key
// fires: whether the command is enabled and, where it has one, its check mark.
class TCommandEnabler {
 public:
  void Enable(bool enable) { Enabled = enable; }
  void SetCheck(bool check) { Checked = check ? 1 : 0; }

  bool Enabled = true;
  int Checked = -1;  // -1: the command has no check mark
};

// Command ids of the menu and the keys.
enum : int {
  CM_LOADDATA = 257,
  CM_SAVEDATA = 258,
  CM_CLOSEAPP = 259,
  CM_TRAIN1AN = 260,
  CM_TRAIN2AN = 261,
  CM_STARTANN = 262,
  CM_OUTLINES = 263,
  CM_SIMRESET = 264,
  CM_SIMAJUST = 265,
  CM_INCANGLE = 272,
  CM_DECANGLE = 273,
  CM_SETAXLEA = 274,
  CM_SETAXLEB = 275,
  CM_SETAXLEC = 276,
  CM_SETAXLED = 277,
  CM_MOVELEFT = 278,
  CM_MOVERITE = 279,
  CM_SETPLATE = 280,
  CM_SETPLATF = 281,
  CM_MOVECEIL = 288,
  CM_MOVEDOWN = 289,
  CM_ABOUTAPP = 290,
  CM_USERSTOP = 768,  // from the progress window only
  // Additions for watching the learning and for files chosen by name.
  CM_OPENDATA = 291,
  CM_SAVEDTAS = 292,
  CM_FITCHART = 293,
  CM_TEMPSLOW = 294,
  CM_TEMPNORM = 295,
  CM_TEMPMAXI = 296,
  // Everyday use.
  CM_KEYTABLE = 300,
  // Additions for looking inside the network, holding a run and filming it.
  CM_NETVIEW = 310,
  CM_PAUSE = 311,
  CM_SINGLESTEP = 312,
  CM_RECORD = 313,
  // Seeing a network succeed: the comparison episodes drawn, a new
  // population, several runs of the trainer.
  CM_SHOWBEST = 320,
  CM_NEWPOPUL = 321,
  CM_MANYRUNS = 322,
  CM_SAVEPICT = 330,
};

// The main frame: the scene, the status bar with its seven fields, the menu
// with its keys, and the arm model. The model reaches the window through
// TArmView, the training code through TZarnikHost.
class TZarnikWindow : public QMainWindow, public TArmView, public TZarnikHost, public TRunsOwner {
  Q_DECLARE_TR_FUNCTIONS(TZarnikWindow)

 public:
  explicit TZarnikWindow(QWidget* parent = nullptr);
  ~TZarnikWindow() override;

  // Run once after construction, before the frame is first shown: caption,
  // letters, full reset and fitting the frame to the scene.
  void SetupWindow();
  // False keeps the window open: a run is still active, or the user kept
  // a changed population (see MayReplacePopulation).
  bool CanClose();
  // Before the population is closed or replaced: if it changed since it was
  // last loaded or saved, asks whether to save it first. False: stay.
  bool MayReplacePopulation() override;
  bool MayReplacePopulationByWinner() override;
  unsigned PopulationEdits() const override { return PopulationEditCount; }
  // The program is ended from outside (SIGTERM, SIGINT): an open film is
  // finished and a run asked to stop; the caller ends the event loop.
  void EndBySignal();

  // Asks every enabler and applies the answers to the menu items and keys.
  void UpdateCommands() override;
  // Runs command `id` as the menu or its key would: only if its enabler agrees.
  void Dispatch(int id);
  QAction* Action(int id) const;
  // The run keys F1, F2 and F3 act from `window` too (a window of ours besides
  // the frame), so a run can be stopped wherever the focus is.
  void ShareRunKeys(QWidget* window);

  // Size of the scene's client area.
  QSize ClientSize() const;
  // Resizes the frame until the client area is 756 x 468 or the screen size
  // `full` leaves nothing to change.
  void FitFrameToScene(QSize full);

  QString MessageText() const;
  void SetMessageText(const char* text);
  // Says why something failed in the message field, over the whole bar (the
  // fields step aside) until the next command or mode text.
  void ShowReason(const QString& text);
  bool ReasonShown() const { return Fields->isHidden(); }

  // TArmView
  void SetAxleText(int axle, const char* text) override;
  void SetPlatText(int plat, const char* text) override;
  void RepaintStatusBar() override;
  void UpdateSimulator() override;
  bool RunActive() const override { return Train1AN || Train2AN || StartANN || ShowANN; }
  bool AskYesNo(const char* text) override;
  void Beep() override;

  // TZarnikHost
  int* GetCalcData(const int* delta, bool keep, bool draw) override;
  void ResetSimulator() override;
  void AnnHasFinished() override;
  void PumpMessages() override;
  void SetDlgText(int id, const char* text) override;
  void GenerationDone(const TGenerationFigures& figures) override;
  TBallCounts BallCounts() const override { return {Arm.Takes, Arm.Deliveries}; }
  void ActivationCounts(const TBallCounts& counts) override;
  void AwaitPool(TTaskRunner& pool) override;

  void DrawColoredModel();
  void DrawOutLinesOnly();

  // Commands and their enablers.
  void CmLoadData();
  void CeLoadData(TCommandEnabler& ce);
  void CmSaveData();
  void CeSaveData(TCommandEnabler& ce);
  void CmCloseApp();
  void CeCloseApp(TCommandEnabler& ce);
  void CmTrain1AN();
  void CeTrain1AN(TCommandEnabler& ce);
  void CmTrain2AN();
  void CeTrain2AN(TCommandEnabler& ce);
  void CmStartANN();
  void CeStartANN(TCommandEnabler& ce);
  void CmOutLines();
  void CeOutLines(TCommandEnabler& ce);
  void CmSimReset();
  void CeSimReset(TCommandEnabler& ce);
  void CmSimAjust();
  void CeSimAjust(TCommandEnabler& ce);
  void CmIncAngle();
  void CeIncAngle(TCommandEnabler& ce);
  void CmDecAngle();
  void CeDecAngle(TCommandEnabler& ce);
  void CmSetAxleA();
  void CeSetAxleA(TCommandEnabler& ce);
  void CmSetAxleB();
  void CeSetAxleB(TCommandEnabler& ce);
  void CmSetAxleC();
  void CeSetAxleC(TCommandEnabler& ce);
  void CmSetAxleD();
  void CeSetAxleD(TCommandEnabler& ce);
  void CmMoveLeft();
  void CeMoveLeft(TCommandEnabler& ce);
  void CmMoveRite();
  void CeMoveRite(TCommandEnabler& ce);
  void CmSetPlatE();
  void CeSetPlatE(TCommandEnabler& ce);
  void CmSetPlatF();
  void CeSetPlatF(TCommandEnabler& ce);
  void CmMoveCeil();
  void CeMoveCeil(TCommandEnabler& ce);
  void CmMoveDown();
  void CeMoveDown(TCommandEnabler& ce);
  void CmAboutApp();
  void CeAboutApp(TCommandEnabler& ce);
  // Command 768: the progress window asks the running training to stop.
  void EvUserStop();
  // Population files by name, the fitness chart, the tempo of drawn steps.
  void CmOpenData();
  void CeOpenData(TCommandEnabler& ce);
  void CmSaveDataAs();
  void CeSaveDataAs(TCommandEnabler& ce);
  void CmFitChart();
  void CeFitChart(TCommandEnabler& ce);
  void CmTempoSlow();
  void CeTempoSlow(TCommandEnabler& ce);
  void CmTempoNormal();
  void CeTempoNormal(TCommandEnabler& ce);
  void CmTempoMaximal();
  void CeTempoMaximal(TCommandEnabler& ce);
  // The network view, holding and stepping the drawn steps, filming the scene.
  void CmNetView();
  void CeNetView(TCommandEnabler& ce);
  void CmPause();
  void CePause(TCommandEnabler& ce);
  void CmSingleStep();
  void CeSingleStep(TCommandEnabler& ce);
  void CmRecord();
  void CeRecord(TCommandEnabler& ce);
  // "?" > "Tastenbelegung": the key overview, made from the command table.
  void CmKeyTable();
  void CeKeyTable(TCommandEnabler& ce);
  // "Vorführen": the best plays the episodes by which the trainer's --rank
  // compares files, drawn; "Neue Population...", "Mehrere Läufe...".
  void CmShowBest();
  void CeShowBest(TCommandEnabler& ce);
  void CmNewPopulation();
  void CeNewPopulation(TCommandEnabler& ce);
  void CmManyRuns();
  void CeManyRuns(TCommandEnabler& ce);
  // Replaces the population by a fresh random one: from `seed` as the
  // trainer's --seed builds it, or from the clock. Unsaved until stored.
  void NewPopulation(std::optional<uint64_t> seed);
  // Replaces the population by the one in `path` with its history, as a
  // population of this session that has not been stored yet.
  bool AdoptPopulation(const QString& path) override;
  // No set of runs of "Mehrere Läufe..." is training.
  bool ManyRunsIdle() const;
  // "Programm" > "Bild speichern...": the scene as a PNG picture.
  void CmSavePicture();
  void CeSavePicture(TCommandEnabler& ce);
  // Every command with keys, in menu order: its keys and "Menu › Item".
  QList<TKeyLine> KeyLines() const;

  // What the window holds, for reading.
  const TArmModel& Model() const { return Arm; }
  // The population; its own calls train, load and save it.
  TWorld* Population() const { return AnnGaWorld.get(); }
  // The command of the active run (CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN, CM_SHOWBEST), 0 in the adjust mode.
  int ActiveRun() const;
  // The last demonstration: what it counted, and whether it played all episodes.
  const TEpisodeTally& LastShown() const { return Shown; }
  bool LastShownWhole() const { return ShownWhole; }
  float TurnDegrees() const { return Rotation; }
  int32_t Selected() const { return Selection; }
  TAnnGaDlg* ProgressWindow() const { return AnnGaDlg; }
  const QImage& Scene() const { return Simulator; }
  TTextGadget* MessageField() const { return MessageGad; }
  TTextGadget* AxleField(int axle) const { return AxleGad[axle]; }
  TTextGadget* PlatField(int plat) const { return PlatGad[plat]; }
  TTextGadget* RotationField() const { return DeltaRate; }
  TTextGadget* DeliveriesField() const { return DeliveriesGad; }
  const TProgressTexts& BufferedTexts() const { return ProgressTexts; }
  long long Dispatches() const { return Pump.Dispatches; }
  const TFitnessHistory& FitnessHistory() const { return History; }
  TManyRunsDlg* RunsDialog() const { return ManyRuns; }
  TEvaluationPool* WorkerPool() const;
  const TWatching& Watch() const { return Watching; }
  bool PopulationUnsaved() const override { return PopulationChanged; }
  // TRunsOwner
  QString PopulationFileName() const override { return PopulationFile; }
  QWidget* OwnerWidget() override { return this; }

  // States that tests and benchmarks stage without the user's road.
  // The run of `command` marked active as its command leaves the window
  // before the loop (0: none), the next pump point dispatching. Ended by AnnHasFinished.
  void StageRun(int command);
  // As a training command leaves the window: no selection, a fresh progress
  // window with empty texts, the history's run clock started.
  void StageProgressWindow();
  // `hook` runs after the window's own work at each dispatch of the event
  // pump; `everyChance`: a dispatch at every pump point.
  void HookDispatch(std::function<void()> hook, bool everyChance = false);
  // Puts `recorder` in place of the film's and returns the one before: a film
  // without the menu's file dialog.
  std::unique_ptr<TSceneRecorder> SwapRecorder(std::unique_ptr<TSceneRecorder> recorder);
  // Paces the drawn steps by `clock` (null: the real one), at a screen of
  // `frameRate` frames a second, at `tempo` without storing it as the user's.
  void UsePacerClock(TPacerClock* clock);
  void SetPacerFrameRate(double frameRate);
  void SetTempoUnsaved(TStepPacer::TTempo tempo);
  // The turning step in degrees; set near its bounds without dozens of key presses.
  void SetTurnDegrees(float degrees);
  // Puts the arm where the keys would take many steps to; drawn at the next command.
  void PlaceArm(const std::function<void(TArmModel&)>& place);
  // As a training ("changed") or a save would leave the population.
  void MarkPopulationChanged(bool changed);
  // The population as if it came from `path` ("": zarnik.dat).
  void SetPopulationFile(const QString& path);
  // A session without fitness history.
  void ClearHistory();
  // Reads what was appended to the followed history without waiting for its timer.
  void PollFollowedHistory();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The arm model with OutLines, Buffer and OutData.
  TArmModel Arm;
  // The kind of run that is active, at most one; none is the adjust mode.
  bool Train1AN = false, Train2AN = false, StartANN = false;
  // The demonstration of the ranking's episodes ("Vorführen") is running.
  bool ShowANN = false;
  // The last demonstration: what it counted, and whether it played all episodes.
  TEpisodeTally Shown;
  bool ShownWhole = false;
  float Rotation = 0.0f;   // manual step in degrees
  int32_t Selection = 0;   // 0, or the letter 'A'..'F' of the selected element

  TAnnGaDlg* AnnGaDlg = nullptr;  // progress window while a training run is active
  std::unique_ptr<TWorld> AnnGaWorld;  // the population
  QImage Simulator;               // the scene picture, 756 x 468
  TZarnikClient* ZarnikClt = nullptr;
  QStatusBar* StatusBar = nullptr;
  // The status bar's mode text; at its right end the marks of pause and of a film being recorded.
  TTextGadget* MessageGad = nullptr;
  TTextGadget* AxleGad[4] = {};
  TTextGadget* PlatGad[2] = {};
  TTextGadget* DeltaRate = nullptr;
  // After the seven fields: deliveries since F3, "Ablagen: N".
  TTextGadget* DeliveriesGad = nullptr;
  QWidget* Fields = nullptr;  // the fields after the message field
  TSceneBitmaps Bitmaps;
  QFont SimFont;
  // Lets events through from inside the run loops, a few dozen times a second.
  TEventPump Pump;
  // The training code's progress texts, handed to AnnGaDlg right before each dispatch.
  TProgressTexts ProgressTexts;
  // Every generation of both trainings this session, shown by FitnessChart.
  TFitnessHistory History;
  TLoadError LoadFailure{};  // why the last load failed (None after a good one), for the status bar or later
  TKeyOverviewDlg* KeyOverview = nullptr;       // made at its first opening; a child
  TManyRunsDlg* ManyRuns = nullptr;             // likewise
  TFitnessFollower* HistoryFollower = nullptr;  // the history beside the loaded population
  // Plays the episodes of training 2 on every hardware thread, each playing
  // several side by side; the population's pool for the window's lifetime.
  std::unique_ptr<THeadlessPool> Workers;
  // The tempo, pause and film of the drawn steps of activation, training 1
  // and the demonstration, the fitness chart and the network view.
  TWatching Watching;
  // Trained since the population was last loaded or saved, and that file ("": zarnik.dat).
  bool PopulationChanged = false;
  unsigned PopulationEditCount = 0;  // every change, also of an unsaved population
  QString PopulationFile;

  struct TCommand {
    int Id;
    QAction* Action;
    void (TZarnikWindow::*Cm)();
    void (TZarnikWindow::*Ce)(TCommandEnabler&);
  };

  void BuildStatusBar();
  void BuildMenu();
  void AddCommand(QMenu* menu, int id, const char* text, QList<QKeySequence> keys,
                  void (TZarnikWindow::*cm)(), void (TZarnikWindow::*ce)(TCommandEnabler&));
  const TCommand* Find(int id) const;
  void ShowRotation();
  // The joint and platform fields of the status bar from the model.
  void ShowArmTexts();
  // The joint, platform and turning-step fields shown or hidden; the deliveries' field stays.
  void ShowArmFields(bool shown);
  void ShowHoldAndFilm();
  void EndReason();
  void SyncLayout();
  void SetSelection(int32_t selection);
  // The common road of the three run commands: a second choice stops the run,
  // the first one starts it and returns when its loop has ended.
  void RunCommand(bool& flag, unsigned statusText, bool progressWindow, void (TWorld::*loop)());
  void FlushProgressTexts();
  // The open network view shows the best network, without node values.
  void FlushNetView();
  // Ends an open recording; a failure is reported.
  void StopRecording();
  // The history beside a population file: read after the population has
  // loaded (missing or damaged: empty), written after it has been saved.
  void LoadHistory(const QString& path);
  // Follows what another program appends to the history at `path` while the
  // population is the file's, unchanged (its rows so far are History's).
  void FollowHistory(const QString& path);
  // `replace`: the user agreed to replace the file (else rows are appended).
  void SaveHistory(const QString& path, bool replace);
  // A history not read (reason not null) is said in the message field, once.
  void NoteHistoryRefusal(const QString& path, const char* reason);
  // If `holder` (a process id, -1 unknown, 0 none) holds the lock of the
  // population file `path`: says so with message `resId`; true then.
  bool TrainerAtWork(const QString& path, pid_t holder, unsigned resId);
  void SetTempo(TStepPacer::TTempo tempo);
  // Population files; "" is "zarnik.dat" with the designed messages. Each
  // reports its own failure and returns whether it worked.
  bool LoadPopulation(const QString& path);
  bool SavePopulation(const QString& path, bool replaceHistory = false);
  QString FileMessageFor(unsigned resId, const QString& path);
  bool SelectedAxle() const { return Selection >= 'A' && Selection <= 'D'; }
  bool SelectedPlat() const { return Selection == 'E' || Selection == 'F'; }

  // The demonstration's text: episode, its takes and deliveries so far.
  void ShowDemonstrationText();
  bool FollowingLoad = false;  // FollowHistory is reading the file from its start
  int ShowEpisode = 0;
  TBallCounts ShowEpisodeStart, ShowEpisodeShown;

  std::vector<TCommand> Commands;
  std::function<void()> DispatchHook;  // see HookDispatch
  QString RefusedHistory;   // the history file last said not to be read
};
