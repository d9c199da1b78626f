#include "progress/many_runs_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "platform/parent_death.h"
#include "progress/runs_owner.h"
#include "runs/population_files.h"
#include "runs/run_progress.h"
#include "runs/set_checks.h"
#include "runs/set_identity.h"
#include "runs/set_picture.h"
#include "watching/fitness_chart.h"
#include "watching/fitness_follower.h"
#include "watching/set_chart.h"
#include "widgets/message_box.h"
#include "widgets/window_place.h"

namespace {

enum TColumn { ColRun, ColSeed, ColGeneration, ColFitness, ColDeliveries, ColValidated, ColBestValidated, ColState,
               ColFrom, Columns };


QString StateText(const QString& state) {
  static const char* const names[][2] = {{"running", QT_TRANSLATE_NOOP("TManyRunsDlg", "läuft")},
                                         {"restarted", QT_TRANSLATE_NOOP("TManyRunsDlg", "neu gestartet")},
                                         {"goal", QT_TRANSLATE_NOOP("TManyRunsDlg", "Ziel erreicht")},
                                         {"done", QT_TRANSLATE_NOOP("TManyRunsDlg", "fertig")},
                                         {"stopped", QT_TRANSLATE_NOOP("TManyRunsDlg", "angehalten")},
                                         {"failed", QT_TRANSLATE_NOOP("TManyRunsDlg", "fehlgeschlagen")}};
  for (const auto& n : names)
    if (state == QLatin1String(n[0])) return TManyRunsDlg::tr(n[1]);
  return state;
}

std::string Bytes(const QString& file) { return QFile::encodeName(file).toStdString(); }

// The history of run k, as the trainer names it.
QString RunHistory(const QString& file, int k) {
  return QFile::decodeName(TPopulationFiles(Bytes(file)).RunHistory(k).c_str());
}

}  // namespace

TManyRunsDlg::TManyRunsDlg(TRunsOwner* owner) : QDialog(owner->OwnerWidget()), Owner(owner), Program(FindTrainer()) {
  setWindowTitle(tr("Mehrere Läufe"));
  Runs = new QSpinBox(this);
  Runs->setRange(1, 64);
  Runs->setValue(std::clamp(QThread::idealThreadCount(), 1, 64));  // one run a core
  Generations = new QSpinBox(this);
  Generations->setRange(1, 10000000);
  Generations->setSingleStep(1000);
  Generations->setValue(8000);
  Goal = new QDoubleSpinBox(this);
  Goal->setRange(0, 100);
  Goal->setDecimals(1);
  Goal->setValue(3.0);
  Goal->setSpecialValueText(tr("keins"));
  Seed = new QLineEdit(QStringLiteral("1"), this);
  Seed->setPlaceholderText(tr("von der Uhr"));
  FileLabel = new QLabel(this);

  auto* form = new QFormLayout;
  form->addRow(tr("&Läufe:"), Runs);
  form->addRow(tr("&Generationen je Lauf höchstens:"), Generations);
  form->addRow(tr("&Ziel: Ablagen je Episode (Mittel über alle 100):"), Goal);
  form->addRow(tr("Start&wert des ersten Laufs:"), Seed);
  form->addRow(tr("Population:"), FileLabel);

  RunTable = new QTableWidget(0, Columns, this);
  RunTable->setHorizontalHeaderLabels({tr("Lauf"), tr("Startwert"), tr("Generation"), tr("beste Fitness"),
                                       tr("Ablagen des Besten"), tr("geprüft"), tr("bestes geprüft"),
                                       tr("Zustand"), tr("fortgesetzt von")});
  RunTable->verticalHeader()->hide();
  RunTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RunTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  RunTable->setSelectionMode(QAbstractItemView::SingleSelection);
  RunTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  RunTable->horizontalHeader()->setStretchLastSection(true);

  RankingText = new QPlainTextEdit(this);
  RankingText->setReadOnly(true);
  RankingText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  RankingText->setMaximumBlockCount(200);
  StateLabel = new QLabel(this);
  StateLabel->setWordWrap(true);

  StartButton = new QPushButton(tr("&Starten"), this);
  StopButton = new QPushButton(tr("&Anhalten"), this);
  WatchButton = new QPushButton(tr("Im &Verlauf zeigen"), this);
  AdoptButton = new QPushButton(tr("Gewinner &übernehmen"), this);
  SetButton = new QPushButton(tr("Alle Läufe im &Bild"), this);
  auto* close = new QPushButton(tr("Schließen"), this);
  connect(StartButton, &QPushButton::clicked, this, &TManyRunsDlg::Start);
  connect(StopButton, &QPushButton::clicked, this, &TManyRunsDlg::Stop);
  connect(WatchButton, &QPushButton::clicked, this, [this] {
    const QList<QTableWidgetItem*> items = RunTable->selectedItems();
    WatchRun(items.isEmpty() ? 0 : RunTable->item(items.front()->row(), ColRun)->text().toInt());
  });
  connect(AdoptButton, &QPushButton::clicked, this, &TManyRunsDlg::AdoptWinner);
  connect(SetButton, &QPushButton::clicked, this, &TManyRunsDlg::ShowSet);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  connect(RunTable, &QTableWidget::itemSelectionChanged, this, &TManyRunsDlg::UpdateButtons);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {StartButton, StopButton, WatchButton, SetButton, AdoptButton}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  close->setAutoDefault(false);
  buttons->addWidget(close);

  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(RunTable, 3);
  column->addWidget(StateLabel);
  column->addWidget(RankingText, 2);
  column->addLayout(buttons);

  Trainer = new QProcess(this);
  connect(Trainer, &QProcess::readyReadStandardOutput, this, &TManyRunsDlg::ReadOutput);
  connect(Trainer, &QProcess::readyReadStandardError, this,
          [this] { Errors += QString::fromLocal8Bit(Trainer->readAllStandardError()); });
  connect(Trainer, &QProcess::finished, this, &TManyRunsDlg::Ended);
  connect(Trainer, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    StateLabel->setText(tr("Der Trainer '%1' lässt sich nicht starten.").arg(Program));
    Status = 2;
    UpdateButtons();
    emit finished();
  });
  FileLabel->setText(PopulationFile());
  resize(760, 520);
  UpdateButtons();
}

TManyRunsDlg::~TManyRunsDlg() {
  // The runs store their files when asked to stop; they are not killed half-way.
  if (Running()) {
    Trainer->disconnect(this);
    Trainer->terminate();
    Trainer->waitForFinished(10000);
  }
}

QString TManyRunsDlg::FindTrainer() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/zarnik-train");
  if (QFileInfo(beside).isExecutable()) return beside;
#ifdef ZARNIK_TRAIN_BUILD
  if (QFileInfo(QStringLiteral(ZARNIK_TRAIN_BUILD)).isExecutable()) return QStringLiteral(ZARNIK_TRAIN_BUILD);
#endif
  const QString onPath = QStandardPaths::findExecutable(QStringLiteral("zarnik-train"));
  return onPath.isEmpty() ? QStringLiteral("zarnik-train") : onPath;
}

void TManyRunsDlg::SetTrainer(const QString& program, const QStringList& leadingArguments) {
  Program = program;
  Leading = leadingArguments;
}

QString TManyRunsDlg::State() const { return StateLabel->text(); }

bool TManyRunsDlg::Running() const { return Trainer->state() != QProcess::NotRunning; }

QString TManyRunsDlg::PopulationFile() const {
  return QFile::decodeName(TPopulationFiles(Bytes(Owner->PopulationFileName())).File.c_str());
}

QStringList TManyRunsDlg::Arguments(const QString& file) const {
  QStringList a{QStringLiteral("--runs"), QString::number(Runs->value())};
  if (Goal->value() > 0) a << QStringLiteral("--until-deliveries") << QString::number(Goal->value(), 'f', 1);
  a << QStringLiteral("--until-generation") << QString::number(Generations->value());
  if (!Seed->text().trimmed().isEmpty()) a << QStringLiteral("--seed") << Seed->text().trimmed();
  a << QStringLiteral("--progress") << file;
  return a;
}

void TManyRunsDlg::Start() {
  if (Running()) return;
  // The same seed on every call: a stopped set goes on where it was.
  if (Seed->text().trimmed().isEmpty()) Seed->setText(QString::number(QDateTime::currentSecsSinceEpoch()));
  bool ok = false;
  Seed->text().trimmed().toULongLong(&ok);
  if (!ok) {
    ZarnikMessageBox(this, tr("Der Startwert ist eine ganze Zahl von 0 bis 18446744073709551615."),
                     Owner->OwnerWidget()->windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
    return;
  }
  // The window's unsaved population is stored now or given up: once the set
  // has written its winner to the file, storing it there would replace the winner.
  if (!Owner->MayReplacePopulation()) return;
  EditsAtStart = Owner->PopulationEdits();
  const QString file = PopulationFile();
  bool resumed = false;
  MovedAside.clear();
  if (!MayBegin(file, resumed)) return;
  // The trainer puts the winner in the population file: a file of the user's is replaced only when asked.
  if (!resumed && QFileInfo::exists(file) &&
      ZarnikMessageBox(this, tr("Am Ende ersetzt der beste Lauf die Datei '%1'. Fortfahren?").arg(file),
                       Owner->OwnerWidget()->windowTitle(), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::Question) != QMessageBox::Yes)
    return;
  if (!resumed) {  // a new set: the rows of another one go
    RunTable->setRowCount(0);
    RowOfRun.clear();
    Origins.clear();
  }
  File = file;
  FileLabel->setText(File);
  WinnerFile.clear();
  Adopted = false;
  StopAsked = false;
  Status = -1;
  Pending.clear();
  Errors.clear();
  RankingText->clear();
  StateLabel->setText(MovedAside.isEmpty() ? tr("Die Läufe trainieren.")
                                           : tr("Die Läufe trainieren; der vorige Satz liegt jetzt in '%1'.").arg(MovedAside));
  Trainer->setWorkingDirectory(QDir::currentPath());
  // A window that dies (kill -9, a lost X server) takes its set along: the
  // trainer gets SIGTERM and every run stores its file, as after "Anhalten".
  const pid_t window = getpid();
  Trainer->setChildProcessModifier([window] { EndWithParent(window); });
  Trainer->start(Program, Leading + Arguments(File));
  UpdateButtons();
  Owner->UpdateCommands();
}

TSetIdentity TManyRunsDlg::Identity() const {
  TSetIdentity set;
  set.seed = Seed->text().trimmed().toULongLong();
  set.runs = Runs->value();
  // As the trainer reads the goal the dialog passes it.
  if (Goal->value() > 0) set.goal = QString::number(Goal->value(), 'f', 1).toDouble();
  return set;
}

// The same set goes on; another one (or one whose folder cannot be read) is
// moved aside when the user asks for a new beginning, never deleted.
bool TManyRunsDlg::MayBegin(const QString& file, bool& resumed) {
  std::optional<TSetIdentity> stored;
  const bool read = ReadSetIdentity(Bytes(file), stored);
  resumed = read && stored && *stored == Identity();
  if (read && (!stored || resumed)) return true;
  QString difference = QCoreApplication::translate("zarnik-train", "unvollständig oder fremd");
  if (read)
    if (const auto d = FirstDifference(*stored, Identity()))
      difference = QCoreApplication::translate("zarnik-train", d->format)
                       .arg(QString::fromStdString(d->stored), QString::fromStdString(d->asked));
  const QString folder = QFile::decodeName(TPopulationFiles(Bytes(file)).SetFolder().c_str());
  if (ZarnikMessageBox(this,
                       tr("In '%1' liegt ein anderer Satz von Läufen (%2). \"Neu beginnen\" legt ihn beiseite, "
                          "nichts davon wird gelöscht.")
                           .arg(folder, difference),
                       Owner->OwnerWidget()->windowTitle(), QMessageBox::Yes | QMessageBox::Cancel,
                       QMessageBox::Question, QMessageBox::Cancel, {{QMessageBox::Yes, tr("&Neu beginnen")}}) !=
      QMessageBox::Yes)
    return false;
  std::string moved;
  if (!MoveSetAside(Bytes(file), moved)) {
    ZarnikMessageBox(this, tr("Kann '%1' nicht beiseite legen: %2").arg(folder, QString::fromLocal8Bit(strerror(errno))),
                     Owner->OwnerWidget()->windowTitle(), QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  MovedAside = QFile::decodeName(moved.c_str());
  resumed = false;
  return true;
}

void TManyRunsDlg::Stop() {
  if (!Running()) return;
  StopAsked = true;
  StateLabel->setText(tr("Die Läufe speichern und halten an..."));
  Trainer->terminate();  // SIGTERM: every run stores its file first
  UpdateButtons();
}

void TManyRunsDlg::ReadOutput() {
  Pending += Trainer->readAllStandardOutput();
  // A fast trainer's output holds many lines for each run: the table shows
  // each run's last one, set once for the lot (every changed cell has the
  // table measure its columns again).
  std::map<int, TRunProgress> latest;
  const auto show = [&] {
    for (const auto& [run, r] : latest) ShowRun(r);
    latest.clear();
  };
  qsizetype start = 0;
  for (qsizetype end; (end = Pending.indexOf('\n', start)) >= 0; start = end + 1) {
    const QString text = QString::fromUtf8(Pending.constData() + start, end - start);
    TRunProgress r;
    if (ParseRunProgressLine(text.toStdString(), r) && r.run >= 0 && r.run < 10000) {
      latest[r.run] = r;
      continue;
    }
    show();  // the lines in their order
    Line(text);
  }
  show();
  Pending.remove(0, start);
  if (!SetDrawn.isValid() || SetDrawn.elapsed() >= 1000) RefreshSet();
}

void TManyRunsDlg::Line(const QString& text) {
  TRunProgress r;
  if (ParseRunProgressLine(text.toStdString(), r) && r.run >= 0 && r.run < 10000) {
    ShowRun(r);
    return;
  }
  if (text.startsWith(QLatin1String("winner"))) {
    WinnerFile = text.mid(6).trimmed();
    return;
  }
  if (text == QLatin1String("nowinner")) return;
  TRunOrigin origin;
  if (ParseRunOriginLine(text.toStdString(), origin) && origin.run < 10000) {
    // The copy of another run's kept best that a place goes on from.
    Origins[origin.run] = tr("Lauf %1, Generation %2").arg(origin.from).arg(origin.generation);
    if (const auto row = RowOfRun.find(origin.run); row != RowOfRun.end())
      if (QTableWidgetItem* item = RunTable->item(row->second, ColFrom)) item->setText(Origins[origin.run]);
    return;
  }
  RankingText->appendPlainText(text);  // the ranking, as --rank prints it
}

// Run r's row of the table, made when the run first reports: a refill that
// the set's end overtook before its first line gets no empty row.
void TManyRunsDlg::ShowRun(const TRunProgress& r) {
  auto [at, made] = RowOfRun.try_emplace(r.run, RunTable->rowCount());
  const int row = at->second;
  if (made) {
    RunTable->setRowCount(row + 1);
    WatchButton->setEnabled(true);  // a run to watch while the set goes on
  }
  const QString cells[Columns] = {QString::number(r.run),
                                  QString::number(r.seed),
                                  QString::number(r.generation),
                                  QString::number(r.bestFitness),
                                  QString::number(r.bestDeliveries),
                                  QString::fromStdString(FormatMean(r.validatedMean)),
                                  QString::fromStdString(FormatMean(r.bestValidatedMean)),
                                  StateText(QString::fromStdString(r.state)),
                                  Origins.count(r.run) ? Origins[r.run] : QString()};
  for (int c = 0; c < Columns; ++c) {
    QTableWidgetItem* item = RunTable->item(row, c);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      item->setTextAlignment(c >= ColState ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
      RunTable->setItem(row, c, item);
    }
    if (item->text() != cells[c]) item->setText(cells[c]);
  }
}

void TManyRunsDlg::Ended(int exitCode, QProcess::ExitStatus exitStatus) {
  ReadOutput();
  if (!Pending.isEmpty()) {
    Line(QString::fromUtf8(Pending));
    Pending.clear();
  }
  Status = exitStatus == QProcess::NormalExit ? exitCode : 128 + 15;
  if (Status == 0)
    StateLabel->setText(WinnerFile.isEmpty() ? tr("Fertig; kein Lauf hat das Ziel erreicht.")
                                             : tr("Fertig. Gewinner: %1").arg(WinnerFile));
  else if (StopAsked || Status == 130)
    StateLabel->setText(tr("Angehalten; jeder Lauf hat seine Datei gespeichert. \"Fortsetzen\" setzt sie fort."));
  else
    StateLabel->setText(tr("Der Trainer endete mit Status %1: %2").arg(Status).arg(Errors.trimmed()));
  // Taken over at once only if the population is as the question at the start left it.
  if (!WinnerFile.isEmpty() && Owner->PopulationEdits() == EditsAtStart) AdoptWinner();
  RefreshSet();
  UpdateButtons();
  Owner->UpdateCommands();
  emit finished();
}

void TManyRunsDlg::AdoptWinner() {
  // Not during a run of the window: the button stays for afterwards.
  if (WinnerFile.isEmpty() || Adopted || Owner->RunActive()) {
    UpdateButtons();
    return;
  }
  const bool answered = Owner->PopulationEdits() == EditsAtStart;
  if ((answered || Owner->MayReplacePopulationByWinner()) && Owner->AdoptPopulation(WinnerFile)) {
    Adopted = true;
    StateLabel->setText(Owner->PopulationUnsaved()
                            ? tr("Der Gewinner %1 ist die Population des Fensters (noch nicht gespeichert).").arg(WinnerFile)
                            : tr("Der Gewinner %1 ist die Population des Fensters.").arg(WinnerFile));
  }
  UpdateButtons();
}

void TManyRunsDlg::WatchRun(int k) {
  if (RunChart == nullptr) {
    RunChart = new TFitnessChartWindow(this);
    RunChart->setAttribute(Qt::WA_ShowWithoutActivating);
    Follower = new TFitnessFollower(this);
    connect(Follower, &TFitnessFollower::rowsRestarted, RunChart, [this](const std::vector<TFitnessRow>& rows) {
      RunChart->Clear();
      RunChart->Append(rows);
    });
    connect(Follower, &TFitnessFollower::rowsAppended, RunChart,
            [this](const std::vector<TFitnessRow>& rows) { RunChart->Append(rows); });
    KeepWindowPlace(RunChart, Owner->OwnerWidget(), QStringLiteral("Lauf-Verlauf"));
  }
  const QString history = RunHistory(File.isEmpty() ? PopulationFile() : File, k);
  RunChart->setWindowTitle(tr("Fitness-Verlauf: %1").arg(QFileInfo(history).fileName()));
  Follower->Follow(history);
  RunChart->show();
  RunChart->raise();
}

void TManyRunsDlg::ShowSet() {
  if (SetPictureWindow == nullptr) {
    SetPictureWindow = new TSetChartWindow(this);
    SetPictureWindow->setAttribute(Qt::WA_ShowWithoutActivating);
    KeepWindowPlace(SetPictureWindow, Owner->OwnerWidget(), QStringLiteral("Alle-Laeufe"));
  }
  SetPictureWindow->show();
  SetPictureWindow->raise();
  RefreshSet();
}

void TManyRunsDlg::RefreshSet() {
  if (SetPictureWindow == nullptr || !SetPictureWindow->isVisible()) return;
  SetDrawn.start();
  const std::string file = Bytes(File.isEmpty() ? PopulationFile() : File);
  // The set as its folder says, else as the dialog would start it.
  std::optional<TSetIdentity> stored;
  if (!ReadSetIdentity(file, stored) || !stored) stored = Identity();
  std::vector<TSetCheck> checks;
  const bool read = ReadSetChecks(file, checks);
  const QString folder = QFile::decodeName(TPopulationFiles(file).SetFolder().c_str());
  SetPictureWindow->setWindowTitle(read ? tr("Alle Läufe: %1").arg(folder)
                                        : tr("Alle Läufe: %1 (%2 nicht lesbar)")
                                              .arg(folder, QFile::decodeName(SetChecksFileName(file).c_str())));
  SetPictureWindow->Show(GatherSetPicture(checks, stored->runs, stored->goal));
}

void TManyRunsDlg::UpdateButtons() {
  const bool running = Running();
  StartButton->setEnabled(!running);
  StartButton->setText(!running && (StopAsked || Status == 130) ? tr("&Fortsetzen") : tr("&Starten"));
  StopButton->setEnabled(running);
  Runs->setEnabled(!running);
  Generations->setEnabled(!running);
  Goal->setEnabled(!running);
  Seed->setEnabled(!running);
  WatchButton->setEnabled(RunTable->rowCount() > 0);
  AdoptButton->setEnabled(!WinnerFile.isEmpty() && !Adopted);
}

void TManyRunsDlg::closeEvent(QCloseEvent* event) {
  // Closing only hides it: the runs go on, and the menu brings it back.
  event->accept();
  hide();
}
