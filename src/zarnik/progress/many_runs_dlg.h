#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TFitnessChartWindow;
class TFitnessFollower;
class TRunsOwner;
class TSetChartWindow;
struct TRunProgress;
struct TSetIdentity;

// "Mehrere Läufe...": several training runs of the trainer, side by side on
// every core, as `zarnik-train --runs` makes them (the same program, so the
// same files, in the set's folder beside the window's population file,
// resumable), with a live table of the runs, one of them watched in a chart,
// stop and resume; at the end the ranking, and the winner becomes the
// window's population. A changed population of the window is asked about
// before the set starts, never after it wrote its winner.
class TManyRunsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TManyRunsDlg(TRunsOwner* owner);
  ~TManyRunsDlg() override;

  bool Running() const;
  // Starts the set (or resumes it: the same arguments go on from the runs' files).
  void Start();
  // Asks the trainer to stop; every run keeps its file.
  void Stop();
  // The trainer: beside this program, else in the build tree, else on the PATH.
  // Tests set another program (with arguments before the set's own).
  static QString FindTrainer();
  void SetTrainer(const QString& program, const QStringList& leadingArguments = {});

  // The arguments of the set as chosen in the dialog, for the population file `file`.
  QStringList Arguments(const QString& file) const;
  // The population file the runs belong to: the window's, else "zarnik.dat".
  QString PopulationFile() const;

  QSpinBox* RunsBox() const { return Runs; }
  QSpinBox* GenerationsBox() const { return Generations; }
  QDoubleSpinBox* GoalBox() const { return Goal; }
  QLineEdit* SeedEdit() const { return Seed; }
  QTableWidget* Table() const { return RunTable; }
  QPlainTextEdit* Ranking() const { return RankingText; }
  const QString& Winner() const { return WinnerFile; }
  QPushButton* AdoptWinnerButton() const { return AdoptButton; }
  QPushButton* WatchRunButton() const { return WatchButton; }
  QPushButton* ShowSetButton() const { return SetButton; }
  QString State() const;
  TFitnessChartWindow* Chart() const { return RunChart; }
  // Watches run k's history in the chart.
  void WatchRun(int k);
  // Every run of the set in one chart, kept up to date while the set goes on.
  void ShowSet();
  TSetChartWindow* SetChart() const { return SetPictureWindow; }
  // The trainer's exit status once it has ended; -1 while it runs or before.
  int ExitStatus() const { return Status; }

 signals:
  // The trainer has ended (stopped, failed or done).
  void finished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ReadOutput();
  void Line(const QString& line);
  void ShowRun(const TRunProgress& r);
  void Ended(int exitCode, QProcess::ExitStatus exitStatus);
  void AdoptWinner();
  void UpdateButtons();
  // The set's chart drawn again from its checks, if it is shown.
  void RefreshSet();
  TSetIdentity Identity() const;
  bool MayBegin(const QString& file, bool& resumed);

  TRunsOwner* Owner;
  QProcess* Trainer = nullptr;
  QString Program;
  QStringList Leading;
  QString File;  // the set's population file, fixed at its start
  QSpinBox* Runs = nullptr;
  QSpinBox* Generations = nullptr;
  QDoubleSpinBox* Goal = nullptr;
  QLineEdit* Seed = nullptr;
  QLabel* FileLabel = nullptr;
  QLabel* StateLabel = nullptr;
  QTableWidget* RunTable = nullptr;
  QPlainTextEdit* RankingText = nullptr;
  QPushButton* StartButton = nullptr;
  QPushButton* StopButton = nullptr;
  QPushButton* WatchButton = nullptr;
  QPushButton* AdoptButton = nullptr;
  QPushButton* SetButton = nullptr;
  TSetChartWindow* SetPictureWindow = nullptr;
  QElapsedTimer SetDrawn;  // a fast set's checks are drawn at most once a second
  TFitnessChartWindow* RunChart = nullptr;
  TFitnessFollower* Follower = nullptr;
  QString WinnerFile;
  QString MovedAside;  // where a new beginning put the set before
  bool Adopted = false;
  unsigned EditsAtStart = 0;  // the population's changes when the set started
  bool StopAsked = false;
  int Status = -1;
  std::map<int, int> RowOfRun;  // a row for each run that reported, in the order they did
  std::map<int, QString> Origins;  // the run and generation a copied run began from
  QByteArray Pending;  // output after the last whole line
  QString Errors;      // the trainer's stderr
};
