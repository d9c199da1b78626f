#pragma once

// The main frame of the program, TZarnikWindow (its commands are written in
// the *_commands.cpp files beside this one; their ids in command_ids.h). The
// population it shows is its TPopulationDocument.

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
#include "main_window/command_ids.h"
#include "document/population_document.h"
#include "progress/runs_owner.h"
#include "widgets/event_pump.h"
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
struct TKeyLine;
struct TPathEntryName;
class TTextGadget;
class TWorld;
class TZarnikClient;
class TZarnikWindowProbe;
struct TZarnikOptions;

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
  unsigned PopulationEdits() const override { return Document.Edits(); }
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
  bool RunActive() const override { return Run != TRun::None; }
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
  void CmLoadData(), CeLoadData(TCommandEnabler& ce);
  void CmSaveData(), CeSaveData(TCommandEnabler& ce);
  void CmCloseApp(), CeCloseApp(TCommandEnabler& ce);
  void CmTrain1AN(), CeTrain1AN(TCommandEnabler& ce);
  void CmTrain2AN(), CeTrain2AN(TCommandEnabler& ce);
  void CmStartANN(), CeStartANN(TCommandEnabler& ce);
  void CmOutLines(), CeOutLines(TCommandEnabler& ce);
  void CmSimReset(), CeSimReset(TCommandEnabler& ce);
  void CmSimAjust(), CeSimAjust(TCommandEnabler& ce);
  void CmIncAngle(), CeIncAngle(TCommandEnabler& ce);
  void CmDecAngle(), CeDecAngle(TCommandEnabler& ce);
  void CmSetAxleA(), CeSetAxleA(TCommandEnabler& ce);
  void CmSetAxleB(), CeSetAxleB(TCommandEnabler& ce);
  void CmSetAxleC(), CeSetAxleC(TCommandEnabler& ce);
  void CmSetAxleD(), CeSetAxleD(TCommandEnabler& ce);
  void CmMoveLeft(), CeMoveLeft(TCommandEnabler& ce);
  void CmMoveRite(), CeMoveRite(TCommandEnabler& ce);
  void CmSetPlatE(), CeSetPlatE(TCommandEnabler& ce);
  void CmSetPlatF(), CeSetPlatF(TCommandEnabler& ce);
  void CmMoveCeil(), CeMoveCeil(TCommandEnabler& ce);
  void CmMoveDown(), CeMoveDown(TCommandEnabler& ce);
  void CmAboutApp(), CeAboutApp(TCommandEnabler& ce);
  // Command 768: the progress window asks the running training to stop.
  void EvUserStop();
  // Population files by name, the fitness chart, the tempo of drawn steps.
  void CmOpenData(), CeOpenData(TCommandEnabler& ce);
  void CmSaveDataAs(), CeSaveDataAs(TCommandEnabler& ce);
  void CmFitChart(), CeFitChart(TCommandEnabler& ce);
  void CmTempoSlow(), CeTempoSlow(TCommandEnabler& ce);
  void CmTempoNormal(), CeTempoNormal(TCommandEnabler& ce);
  void CmTempoMaximal(), CeTempoMaximal(TCommandEnabler& ce);
  // The network view, holding and stepping the drawn steps, filming the scene.
  void CmNetView(), CeNetView(TCommandEnabler& ce);
  void CmPause(), CePause(TCommandEnabler& ce);
  void CmSingleStep(), CeSingleStep(TCommandEnabler& ce);
  void CmRecord(), CeRecord(TCommandEnabler& ce);
  // "?" > "Tastenbelegung": the key overview, made from the command table.
  void CmKeyTable(), CeKeyTable(TCommandEnabler& ce);
  // "Vorführen": the best plays the episodes by which the trainer's --rank
  // compares files, drawn; "Neue Population...", "Mehrere Läufe...".
  void CmShowBest(), CeShowBest(TCommandEnabler& ce);
  // The demonstration of the first `episodes` of them, without the summary
  // (LastShown has its figures); true if none was left out by a stop.
  bool Demonstrate(int episodes);
  // The summary of a demonstration, as its message box shows it.
  static QString SummaryOf(const TEpisodeTally& shown);
  // zarnik --demonstrate FILE --film OUT: the demonstration filmed where nobody
  // watches (the window is never shown), its summary on stdout; the exit status.
  int FilmDemonstration(const TZarnikOptions& options);
  // "Lernweg...": the kept bests of the population's run, each shown in the
  // network view and played as "Vorführen" plays the best.
  void CmLearningPath(), CeLearningPath(TCommandEnabler& ce);
  // The learning path beside the population file, and its entries marked on the open chart.
  std::string LearningPathFile() const;
  void MarkLearningPath();
  void CmNewPopulation(), CeNewPopulation(TCommandEnabler& ce);
  void CmManyRuns(), CeManyRuns(TCommandEnabler& ce);
  // Replaces the population by a fresh random one: from `seed` as the
  // trainer's --seed builds it, or from the clock. Unsaved until stored.
  void NewPopulation(std::optional<uint64_t> seed);
  // Replaces the population by the one in `path` with its history, as a
  // population of this session that has not been stored yet.
  bool AdoptPopulation(const QString& path) override;
  // No set of runs of "Mehrere Läufe..." is training.
  bool ManyRunsIdle() const;
  // "Programm" > "Bild speichern...": the scene as a PNG picture.
  void CmSavePicture(), CeSavePicture(TCommandEnabler& ce);
  // Every command with keys, in menu order: its keys and "Menu › Item".
  QList<TKeyLine> KeyLines() const;

  // What the window holds, for reading.
  const TArmModel& Model() const { return Arm; }
  // The population; its own calls train, load and save it.
  TWorld* Population() const { return Document.Population(); }
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
  const TFitnessHistory& FitnessHistory() const { return Document.History(); }
  TManyRunsDlg* RunsDialog() const { return ManyRuns; }
  TEvaluationPool* WorkerPool() const;
  const TWatching& Watch() const { return Watching; }
  bool PopulationUnsaved() const override { return Document.Unsaved(); }
  // TRunsOwner
  QString PopulationFileName() const override { return Document.FileName(); }
  QWidget* OwnerWidget() override { return this; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // States that tests and benchmarks stage without the user's road.
  friend class TZarnikWindowProbe;

  // The arm model with OutLines, Buffer and OutData.
  TArmModel Arm;
  // The run that is active, at most one; none is the adjust mode. Show: the
  // demonstration of the ranking's episodes ("Vorführen").
  enum class TRun { None, Train1, Train2, Activation, Show };
  TRun Run = TRun::None;
  bool Train1AN() const { return Run == TRun::Train1; }
  bool Train2AN() const { return Run == TRun::Train2; }
  bool StartANN() const { return Run == TRun::Activation; }
  bool ShowANN() const { return Run == TRun::Show; }
  // A run command is enabled unless another run is active.
  bool OtherRunActive(TRun own) const { return Run != TRun::None && Run != own; }
  // The last demonstration: what it counted, and whether it played all episodes.
  TEpisodeTally Shown;
  bool ShownWhole = false;
  float Rotation = 0.0f;   // manual step in degrees
  int32_t Selection = 0;   // 0, or the letter 'A'..'F' of the selected element

  TAnnGaDlg* AnnGaDlg = nullptr;  // progress window while a training run is active
  // The population, its file and history; before Watching, which shows the history.
  TPopulationDocument Document;
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
  TKeyOverviewDlg* KeyOverview = nullptr;       // made at its first opening; a child
  TManyRunsDlg* ManyRuns = nullptr;             // likewise
  TFitnessFollower* HistoryFollower = nullptr;  // the history beside the loaded population
  // Plays the episodes of training 2 on every hardware thread, each playing
  // several side by side; the population's pool for the window's lifetime.
  std::unique_ptr<THeadlessPool> Workers;
  // The tempo, pause and film of the drawn steps of activation, training 1
  // and the demonstration, the fitness chart and the network view.
  TWatching Watching;

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
  void RunCommand(TRun run, unsigned statusText, bool progressWindow, void (TWorld::*loop)());
  void FlushProgressTexts();
  // The open network view shows the best network, without node values.
  void FlushNetView();
  // Ends an open recording; a failure is reported.
  void StopRecording();
  void ReportFilmFailure(const QString& path);
  // Nobody watches (a film made by FilmDemonstration): what would be a
  // message box goes to stderr, and a film that fails ends the demonstration.
  bool Unattended = false;
  bool FilmLost = false;  // a film failed since the last FilmDemonstration began
  // The population of a film from the argument naming it; "" or why not.
  QString LoadDemonstrated(const QString& source);
  QString LoadDemonstratedEntry(const TPathEntryName& name);
  // Why the population file could not be loaded, in the trainer's words.
  QString LoadFailureReason(TLoadError failure, size_t size) const;
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
  // The demonstration of the population's best, with its closing summary.
  void DemonstrateBest();
  bool FollowingLoad = false;  // FollowHistory is reading the file from its start
  int ShowEpisode = 0;
  TBallCounts ShowEpisodeStart, ShowEpisodeShown;

  std::vector<TCommand> Commands;
  std::function<void()> DispatchHook;  // see HookDispatch
  QString RefusedHistory;   // the history file last said not to be read
};
