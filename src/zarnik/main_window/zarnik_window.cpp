#include "main_window/zarnik_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLayout>
#include <QPainter>
#include <QStatusBar>

#include <cstdio>
#include <thread>

#include "hosts/headless_pool.h"
#include "translation/language.h"
#include "progress/ann_ga_dlg.h"
#include "watching/fitness_follower.h"
#include "watching/network_view.h"
#include "watching/scene_recorder.h"
#include "widgets/message_box.h"
#include "scene/scene_renderer.h"
#include "arm/string_table.h"
#include "widgets/text_gadget.h"
#include "ann-ga/world.h"
#include "scene/zarnik_client.h"

namespace {

// Status-bar fields after the message field: ids and widths in characters.
struct TGadgetDef {
  int Id;
  int Chars;
};
constexpr TGadgetDef GadgetDefs[7] = {{513, 5}, {514, 5}, {515, 5}, {516, 5},
                                      {517, 3}, {518, 3}, {519, 8}};
constexpr int SeparatorWidth = 2;

// The widest text field `i` ever shows: its format with the most digits its
// values take (angles and the step below 360, heights up to 10), 8 standing
// for any digit. Each field is made at least this wide, so it is read whole.
QString WidestGadgetText(int i) {
  char text[32];
  if (i < 4)
    std::snprintf(text, sizeof text, "%c:%9.1f\xB0", 'A' + i, 888.8);
  else if (i < 6)
    std::snprintf(text, sizeof text, "%c:%5d", 'E' + i - 4, 88);
  else
    std::snprintf(text, sizeof text, "Rotation:%9.1f\xB0", 888.8);
  return QString::fromLatin1(text);
}

QString DeliveriesText(long long deliveries) { return TZarnikWindow::tr("Ablagen: %1").arg(deliveries); }

// The marks of pause (two bars) and of a film being recorded (a red dot), as
// tall as the field's digits; pictures, because the message field has room
// for its mode text and little more at the scene's natural size.
QPixmap MarkPicture(int size, bool pause) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  if (pause) {
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(size * 0.15, 0, size * 0.25, size));
    p.drawRect(QRectF(size * 0.6, 0, size * 0.25, size));
  } else {
    p.setBrush(QColor(210, 20, 20));
    p.drawEllipse(QRectF(0, 0, size, size));
  }
  return picture;
}

}  // namespace

TZarnikWindow::TZarnikWindow(QWidget* parent)
    : QMainWindow(parent),
      Arm(this),
      Simulator(SceneWidth, SceneHeight, QImage::Format_RGB32),
      Watching(Document.History(), {[this] { Pump.Dispatch(); }, [] { return UserBreak.load(); }, [this] { StopRecording(); }}) {
  // The usual frame, but without a maximise button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon(QStringLiteral(":/icons/256")));

  // The population first of all, with this window as the host of the training
  // code; its constructor takes one trial step of the arm built above.
  ZarnikWindow = this;
  Workers = std::make_unique<THeadlessPool>(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  Document.Renew(this, &Workers->Pool());
  Pump.BeforeDispatch = [this] {
    FlushProgressTexts();
    Watching.FlushChart();
    // Training 2 evaluates the best unseen: the view shows its links only,
    // at most once a dispatch and only when they changed.
    if (Train2AN()) FlushNetView();
    if (DispatchHook) DispatchHook();
  };

  HistoryFollower = new TFitnessFollower(this);
  connect(HistoryFollower, &TFitnessFollower::rowsRestarted, this, [this](const std::vector<TFitnessRow>& rows) {
    // A replaced file is taken over only while the window has nothing of its own in the history.
    if (FollowingLoad || (!RunActive() && !Document.Unsaved() && rows.size() != Document.History().Size())) Document.History().Replace(rows);
  });
  connect(HistoryFollower, &TFitnessFollower::rowsAppended, this, [this](const std::vector<TFitnessRow>& rows) {
    if (RunActive() || Document.Unsaved()) return;
    Document.History().Append(rows);
    Watching.FlushChart();
  });

  Simulator.fill(Qt::white);
  ZarnikClt = new TZarnikClient(this, &Simulator);
  BuildStatusBar();
  setCentralWidget(ZarnikClt);
  Bitmaps.Load();
  // The arm model has filled its tables and cleared OutLines; no run is active.
  BuildMenu();
  Watching.Pacer.SetTempo(SavedTempo());
  // Enablers are asked again right before any key can fire a command.
  QCoreApplication::instance()->installEventFilter(this);
}

TZarnikWindow::~TZarnikWindow() {
  QCoreApplication::instance()->removeEventFilter(this);
  Watching.Recorder.reset();  // a film still open is finished
  Document.Drop();
  if (ZarnikWindow == this) ZarnikWindow = nullptr;
  // The progress window is not ours to delete: the run that made it ends it.
}

void TZarnikWindow::BuildStatusBar() {
  StatusBar = new QStatusBar(this);
  StatusBar->setSizeGripEnabled(false);
  MessageGad = new TTextGadget(0, 0, StatusBar);
  StatusBar->addWidget(MessageGad, 1);

  // The seven fields, each followed by a 2-pixel separator, packed without
  // any spacing of the bar's own.
  auto* fields = Fields = new QWidget(StatusBar);
  auto* row = new QHBoxLayout(fields);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  TTextGadget* gadgets[7];
  for (int i = 0; i < 7; ++i) {
    gadgets[i] = new TTextGadget(GadgetDefs[i].Id, GadgetDefs[i].Chars, fields);
    gadgets[i]->FitText(WidestGadgetText(i));
    row->addWidget(gadgets[i]);
    auto* separator = new QWidget(fields);
    separator->setFixedWidth(SeparatorWidth);
    row->addWidget(separator);
  }
  for (int i = 0; i < 4; ++i) AxleGad[i] = gadgets[i];
  PlatGad[0] = gadgets[4];
  PlatGad[1] = gadgets[5];
  DeltaRate = gadgets[6];
  // After the seven fields, read whole up to six digits; empty until
  // the first activation.
  DeliveriesGad = new TTextGadget(520, 15, fields);
  DeliveriesGad->FitText(DeliveriesText(888888));
  row->addWidget(DeliveriesGad);
  StatusBar->addPermanentWidget(fields);
  setStatusBar(StatusBar);
}

void TZarnikWindow::SetupWindow() {
  GetStr(IDS_CAPTION, Arm.Buffer, sizeof Arm.Buffer);
  setWindowTitle(QString::fromLatin1(Arm.Buffer));
  SimFont = MakeSimFont();
  Bitmaps.DrawLabels(SimFont);
  CmSimReset();
  CmSimAjust();
  UpdateCommands();
}

bool TZarnikWindow::CanClose() {
  if (!RunActive()) return MayReplacePopulation();
  GetStr(IDS_STILL_ACTIVE, Arm.Buffer, sizeof Arm.Buffer);
  ZarnikMessageBox(this, CoreText("StringTable", Arm.Buffer), windowTitle(), QMessageBox::Ok,
                   QMessageBox::Warning);
  Population()->DoBreakANN();  // the loop stops at its next pass; closing works after that
  return false;
}

void TZarnikWindow::closeEvent(QCloseEvent* event) {
  if (CanClose())
    event->accept();
  else
    event->ignore();
}

bool TZarnikWindow::event(QEvent* event) {
  // The message field shows the mode, never menu hints.
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}

QSize TZarnikWindow::ClientSize() const { return ZarnikClt->ClientSize(); }

QString TZarnikWindow::MessageText() const { return MessageGad->Text(); }

void TZarnikWindow::SetMessageText(const char* text) {
  if (ReasonShown()) {
    Fields->show();
    StatusBar->layout()->activate();  // at once, also for the repaints inside runs
  }
  MessageGad->SetText(CoreText("StringTable", text));
}

void TZarnikWindow::ShowReason(const QString& text) {
  // At the scene's natural size the message field holds only a mode text.
  Fields->hide();
  StatusBar->layout()->activate();
  MessageGad->SetText(text);
}

void TZarnikWindow::EndReason() {
  if (!ReasonShown()) return;
  GetStr(RunActive() ? (StartANN() ? IDS_ACTIVATED : IDS_TRAINING) : IDS_ADJUST_MODE, Arm.Buffer, sizeof Arm.Buffer);
  SetMessageText(Arm.Buffer);
}

// --- the arm model's view ---------------------------------------------------

void TZarnikWindow::SetAxleText(int axle, const char* text) {
  AxleGad[axle]->SetText(QString::fromLatin1(text));
}

void TZarnikWindow::SetPlatText(int plat, const char* text) {
  PlatGad[plat]->SetText(QString::fromLatin1(text));
}

void TZarnikWindow::RepaintStatusBar() {
  if (StatusBar->isVisible()) StatusBar->repaint();
}

void TZarnikWindow::UpdateSimulator() {
  // A drawn frame takes milliseconds: the pump must not wait for 32 of them.
  Pump.CheckClockNext();
  if (Arm.OutLines)
    DrawOutLinesOnly();
  else
    DrawColoredModel();
}

void TZarnikWindow::DrawColoredModel() {
  Render::DrawColoredModel(Simulator, Arm, Selection, Bitmaps);
  ZarnikClt->ShowPicture();
}

void TZarnikWindow::DrawOutLinesOnly() {
  Render::DrawOutLinesOnly(Simulator, Arm, Selection, SimFont);
  ZarnikClt->ShowPicture();
}

bool TZarnikWindow::AskYesNo(const char* text) {
  return ZarnikMessageBox(this, CoreText("StringTable", text), windowTitle(),
                          QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::Information) == QMessageBox::Yes;
}

void TZarnikWindow::Beep() { ZarnikBeep(); }

// --- the training code's host -----------------------------------------------

int* TZarnikWindow::GetCalcData(const int* delta, bool keep, bool draw) {
  int* data = Arm.GetCalcData(delta, keep, draw);
  if (ShowANN() && keep) {
    // The demonstration's episodes play exactly as the ranking's, undrawn;
    // each real step is then shown once, as it ended.
    ShowArmTexts();
    RepaintStatusBar();
    UpdateSimulator();
    ShowDemonstrationText();
    draw = true;
  }
  // Only the steps a person watches are paced: the real steps of activation,
  // training 1 and the demonstration. Evaluation steps are never drawn and never wait.
  // The best network has just made this step: its node values are the step's.
  if (draw && (StartANN() || Train1AN() || ShowANN())) Watching.Step(Population()->bestIndividual, Simulator);
  return data;
}

void TZarnikWindow::ResetSimulator() { Arm.ResetSimulator(); }

void TZarnikWindow::AnnHasFinished() {
  if (AnnGaDlg != nullptr) {
    AnnGaDlg->done(2);
    delete AnnGaDlg;
    AnnGaDlg = nullptr;
  }
  GetStr(IDS_ADJUST_MODE, Arm.Buffer, sizeof Arm.Buffer);
  SetMessageText(Arm.Buffer);
  Run = TRun::None;
  UpdateCommands();
  Watching.FlushChart();  // the run's last generation
  StopRecording();  // the run's film ends with it
  // The best of a training, or the last step's values of a drawn run, stay in view.
  if (Watching.NetView != nullptr && Watching.NetView->isVisible())
    Watching.NetView->View()->SetNetwork(Population()->bestIndividual);
}

void TZarnikWindow::PumpMessages() { Pump.Pump(); }

void TZarnikWindow::SetDlgText(int id, const char* text) {
  // Only while the progress window exists; it sees the texts at the next dispatch.
  if (AnnGaDlg != nullptr) ProgressTexts.Set(id, text);
}

void TZarnikWindow::AwaitPool(TTaskRunner& pool) {
  // The window stays live at the pump's cadence while the workers play. After
  // a stop request every worker ends its episodes at its next step, so the
  // pass is over long before another frame would be due.
  while (!UserBreak) {
    if (pool.FinishTaskUntil(Pump.Due())) return;
    Pump.Dispatch();
  }
  pool.FinishTask();
}

void TZarnikWindow::GenerationDone(const TGenerationFigures& figures) {
  // Only recorded here; the chart takes the new rows at the next dispatch.
  Document.History().Add(figures);
}

void TZarnikWindow::ShowHoldAndFilm() {
  const int size = MessageGad->fontMetrics().ascent() * 3 / 4;
  QList<TTextGadget::TMark> marks;
  if (Watching.Gate.Paused()) marks.append({MarkPicture(size, true), tr("Pause")});
  if (Watching.Recording()) marks.append({MarkPicture(size, false), tr("Aufnahme")});
  MessageGad->SetMarks(marks);
}

void TZarnikWindow::ActivationCounts(const TBallCounts& counts) {
  DeliveriesGad->SetText(DeliveriesText(counts.deliveries));
  RepaintStatusBar();
}

void TZarnikWindow::FlushProgressTexts() {
  if (AnnGaDlg == nullptr) return;
  ProgressTexts.Flush([this](int id, const char* text) { AnnGaDlg->SetText(id, text); });
}

int TZarnikWindow::ActiveRun() const {
  switch (Run) {
    case TRun::Train1: return CM_TRAIN1AN;
    case TRun::Train2: return CM_TRAIN2AN;
    case TRun::Activation: return CM_STARTANN;
    case TRun::Show: return CM_SHOWBEST;
    case TRun::None: break;
  }
  return 0;
}

TEvaluationPool* TZarnikWindow::WorkerPool() const { return &Workers->Pool(); }
