// Seeing a network succeed: the demonstration of the comparison episodes, a
// new population, several runs of the trainer.
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QLayout>
#include <QStatusBar>
#include <QScreen>

#include <vector>

#include "hosts/headless_pool.h"
#include "main_window/zarnik_window.h"
#include "ann-ga/random.h"
#include "runs/run_progress.h"
#include "progress/many_runs_dlg.h"
#include "watching/fitness_follower.h"
#include "widgets/window_place.h"
#include "arm/string_table.h"
#include "widgets/file_dialog.h"
#include "widgets/text_gadget.h"
#include "widgets/message_box.h"
#include "ann-ga/world.h"
#include "document/population_document.h"
#include "history/learning_path.h"
#include "runs/path_entry.h"
#include "runs/population_files.h"
#include "translation/language.h"
#include "watching/fitness_chart.h"
#include "watching/learning_path_dlg.h"

void TZarnikWindow::ShowArmFields(bool shown) {
  QLayout* row = Fields->layout();
  for (int i = 0; i < row->count(); ++i) {
    QWidget* field = row->itemAt(i)->widget();
    if (field != nullptr && field != DeliveriesGad) field->setVisible(shown);
  }
  StatusBar->layout()->activate();  // at once: the loop draws before the next event
}

// --- Simulator: Vorführen ------------------------------------------------------
// The best plays the episodes by which the trainer's --rank compares files
// (all hundred, each from the start pose with its own first platform
// heights), drawn at the chosen tempo: what the user watches is what the
// ranking counted.

void TZarnikWindow::CmShowBest() {
  if (ShowANN()) {
    Population()->DoBreakANN();
    return;
  }
  DemonstrateBest();
}

// The whole demonstration, then its summary (not after a stop).
void TZarnikWindow::DemonstrateBest() {
  if (Demonstrate(AllEpisodes))
    ZarnikMessageBox(this, SummaryOf(Shown), windowTitle(), QMessageBox::Ok, QMessageBox::Information);
}

bool TZarnikWindow::Demonstrate(int episodes) {
  Selection = 0;
  Run = TRun::Show;
  UserBreak = false;
  UpdateCommands();
  Watching.StartRun(screen() != nullptr ? screen()->refreshRate() : 0.0);
  Pump.Reset();
  // The population is not changed: the best's score and node values stay as training left them.
  TChromosom& best = Population()->bestIndividual;
  std::vector<unsigned char> record(best.RecordSize());
  best.EncodeRecord(record.data());
  const TBallCounts counts = best.getBallCounts();
  Shown = TEpisodeTally{};
  // The episode's line is longer than the message field beside the arm's fields: it gets their room.
  ShowArmFields(false);
  for (int e = 0; e < episodes && !UserBreak; ++e) {
    ShowEpisode = e;
    ShowEpisodeStart = BallCounts();
    ShowEpisodeShown = {-1, -1};
    AddEpisodeOfAll(best, *this, e, Shown);
  }
  ShownWhole = !UserBreak;
  best.ApplyRecord(record.data());
  best.setBallCounts(counts);
  ShowArmFields(true);
  AnnHasFinished();
  DeliveriesGad->SetText(tr("Ablagen: %1").arg(Shown.deliveries));
  return ShownWhole;
}

QString TZarnikWindow::SummaryOf(const TEpisodeTally& shown) {
  return tr("Ablagen: %1 in %2 Durchgängen (%3 je Durchgang)\nAufnahmen: %4\nmittlere Fitness: %5")
      .arg(shown.deliveries)
      .arg(shown.episodes)
      .arg(QString::fromStdString(FormatMean(shown.MeanDeliveries())))
      .arg(shown.takes)
      .arg(shown.MeanFitness());
}

void TZarnikWindow::CeShowBest(TCommandEnabler& ce) {
  ce.Enable(!OtherRunActive(TRun::Show));
  ce.SetCheck(ShowANN());
}

void TZarnikWindow::ShowDemonstrationText() {
  const TBallCounts now = BallCounts() - ShowEpisodeStart;
  if (now.takes == ShowEpisodeShown.takes && now.deliveries == ShowEpisodeShown.deliveries) return;
  ShowEpisodeShown = now;
  const TEpisodeHeights h = AllEpisodeHeightsOf(ShowEpisode);
  MessageGad->SetText(tr("Vorführung: Durchgang %1 von %2 (Podeste %3 und %4), Aufnahmen %5, Ablagen %6")
                          .arg(ShowEpisode + 1)
                          .arg(AllEpisodes)
                          .arg(h.e)
                          .arg(h.f)
                          .arg(now.takes)
                          .arg(now.deliveries));
  DeliveriesGad->SetText(tr("Ablagen: %1").arg(Shown.deliveries + now.deliveries));
  RepaintStatusBar();
}

// --- Simulator: Lernweg ------------------------------------------------------
// The learning path beside the population file: each entry chosen shows its
// network in the network view; "Vorführen" plays it as the best is played.
// The population's best is the entry's only while the dialog or its
// demonstration lasts.

std::string TZarnikWindow::LearningPathFile() const {
  const QString population = Document.FileName().isEmpty() ? QString::fromLatin1(DefaultPopulationFile) : Document.FileName();
  return TPopulationFiles(QFile::encodeName(TPopulationDocument::DiskName(population)).toStdString()).Path;
}

void TZarnikWindow::MarkLearningPath() {
  if (Watching.FitnessChart == nullptr) return;
  std::vector<TPathEntry> path;  // a path that cannot be read marks nothing; "Lernweg..." says why
  ReadLearningPath(LearningPathFile().c_str(), path);
  QList<QPointF> points;
  for (const TPathEntry& e : path) points.append(QPointF(e.generation, e.MeanDeliveries()));
  Watching.FitnessChart->MarkPath(points);
}

void TZarnikWindow::CmLearningPath() {
  const std::string file = LearningPathFile();
  const QString shown = QFile::decodeName(file.c_str());
  std::vector<TPathEntry> path;
  const TPathError e = ReadLearningPath(file.c_str(), path);
  if (e != TPathError::None || path.empty()) {
    const QString why = e != TPathError::None ? LoadReasonText(PathReason(e)) : tr("noch ohne Eintrag");
    ZarnikMessageBox(this, tr("Kann den Lernweg '%1' nicht laden: %2").arg(shown, why), windowTitle(), QMessageBox::Ok,
                     QMessageBox::Warning);
    return;
  }
  TChromosom& best = Population()->bestIndividual;
  std::vector<unsigned char> record(best.RecordSize());
  best.EncodeRecord(record.data());
  const TBallCounts counts = best.getBallCounts();
  TLearningPathDlg dialog(this, shown, path);
  dialog.OnChoose = [this, &best](const TPathEntry& entry) {
    PutEntryNetwork(entry, best);
    FlushNetView();
  };
  dialog.List()->setCurrentRow(static_cast<int>(path.size()) - 1);
  if (dialog.exec() == QDialog::Accepted) DemonstrateBest();
  best.ApplyRecord(record.data());
  best.setBallCounts(counts);
  FlushNetView();
}

void TZarnikWindow::CeLearningPath(TCommandEnabler& ce) { ce.Enable(ActiveRun() == 0); }

// --- Programm: Neue Population ------------------------------------------------------

void TZarnikWindow::CmNewPopulation() {
  if (!MayReplacePopulation()) return;
  QString text;
  for (;;) {
    if (!ZarnikAskText(this, tr("Neue Population"), tr("Startwert (leer: von der Uhr):"), text)) return;
    text = text.trimmed();
    if (text.isEmpty()) {
      NewPopulation(std::nullopt);
      return;
    }
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    if (ok) {
      NewPopulation(seed);
      return;
    }
    ZarnikMessageBox(this, tr("Der Startwert ist eine ganze Zahl von 0 bis 18446744073709551615."), windowTitle(),
                     QMessageBox::Ok, QMessageBox::Warning);
  }
}

void TZarnikWindow::CeNewPopulation(TCommandEnabler& ce) { ce.Enable(!RunActive() && ManyRunsIdle()); }

void TZarnikWindow::NewPopulation(std::optional<uint64_t> seed) {
  // Built as the trainer builds a fresh population for --seed; the trainings
  // of the window then draw from the clock again, as always.
  if (seed)
    UseFixedRandomSeed(*seed);
  else
    UseClockRandomSeed();
  Document.Renew(this, &Workers->Pool());
  UseClockRandomSeed();
  HistoryFollower->Follow(QString());
  Document.History().Clear();
  Watching.FlushChart();
  Document.SetFileName({});  // zarnik.dat's until stored
  Document.MarkChanged(true);
  FlushNetView();
  ShowReason(seed ? tr("Neue Population (Startwert %1)").arg(*seed) : tr("Neue Population (Startwert von der Uhr)"));
}

// --- Simulator: Mehrere Läufe --------------------------------------------------------

void TZarnikWindow::CmManyRuns() {
  if (ManyRuns == nullptr) {
    ManyRuns = new TManyRunsDlg(this);
    ShareRunKeys(ManyRuns);
    KeepWindowPlace(ManyRuns, this, QStringLiteral("Mehrere Läufe"));
  }
  ManyRuns->show();
  ManyRuns->raise();
  ManyRuns->activateWindow();
}

void TZarnikWindow::CeManyRuns(TCommandEnabler& ce) { ce.Enable(true); }

bool TZarnikWindow::ManyRunsIdle() const { return ManyRuns == nullptr || !ManyRuns->Running(); }

void TZarnikWindow::FollowHistory(const QString& path) {
  // A history that was not read is not followed either.
  if (!RefusedHistory.isEmpty()) {
    HistoryFollower->Follow(QString());
    return;
  }
  FollowingLoad = true;
  HistoryFollower->Follow(path);
  FollowingLoad = false;
}
