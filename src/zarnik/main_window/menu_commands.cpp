// The menu, its keys and the command table: one handler and one enabler per
// command id; closing, the outline toggle and the About box.
#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

#include "main_window/about_dialog.h"
#include "main_window/key_overview_dialog.h"
#include "main_window/zarnik_window.h"
#include "arm/string_table.h"
#include "widgets/window_place.h"
#include "ann-ga/world.h"


void TZarnikWindow::AddCommand(QMenu* menu, int id, const char* text, QList<QKeySequence> keys,
                               void (TZarnikWindow::*cm)(),
                               void (TZarnikWindow::*ce)(TCommandEnabler&)) {
  // Marked with QT_TR_NOOP where the menu is built, in UTF-8 (a Windows-1252
  // text is taken as it is); the part after the tab is the key shown.
  const QString source = QString::fromUtf8(text);
  auto* action = new QAction(source.contains(QChar::ReplacementCharacter) ? QString::fromLatin1(text) : tr(text), this);
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
  menu->addAction(action);
  addAction(action);  // the keys work whether or not a menu is open
  Commands.push_back({id, action, cm, ce});
}

void TZarnikWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setNativeMenuBar(false);  // the frame's layout, and so its fitting, includes the menu
  using W = TZarnikWindow;
  const auto key = [](Qt::Key k) { return QKeySequence(k); };
  const auto keypad = [](Qt::Key k) { return QKeySequence(Qt::KeypadModifier | k); };

  QMenu* program = bar->addMenu(tr("&Programm"));
  AddCommand(program, CM_LOADDATA, QT_TR_NOOP("&Laden..."), {}, &W::CmLoadData, &W::CeLoadData);
  AddCommand(program, CM_SAVEDATA, QT_TR_NOOP("&Speichern"), {}, &W::CmSaveData, &W::CeSaveData);
  AddCommand(program, CM_OPENDATA, QT_TR_NOOP("&Öffnen..."), {}, &W::CmOpenData, &W::CeOpenData);
  AddCommand(program, CM_SAVEDTAS, QT_TR_NOOP("Speichern &unter..."), {}, &W::CmSaveDataAs, &W::CeSaveDataAs);
  AddCommand(program, CM_SAVEPICT, QT_TR_NOOP("B&ild speichern..."), {}, &W::CmSavePicture, &W::CeSavePicture);
  AddCommand(program, CM_NEWPOPUL, QT_TR_NOOP("&Neue Population..."), {}, &W::CmNewPopulation, &W::CeNewPopulation);
  program->addSeparator();
  AddCommand(program, CM_CLOSEAPP, QT_TR_NOOP("&Beenden"), {}, &W::CmCloseApp, &W::CeCloseApp);

  QMenu* simulator = bar->addMenu(tr("&Simulator"));
  AddCommand(simulator, CM_TRAIN1AN, QT_TR_NOOP("Training  &1\tF1"), {key(Qt::Key_F1)}, &W::CmTrain1AN, &W::CeTrain1AN);
  AddCommand(simulator, CM_TRAIN2AN, QT_TR_NOOP("Training  &2\tF2"), {key(Qt::Key_F2)}, &W::CmTrain2AN, &W::CeTrain2AN);
  AddCommand(simulator, CM_STARTANN, QT_TR_NOOP("&Aktivieren\tF3"), {key(Qt::Key_F3)}, &W::CmStartANN, &W::CeStartANN);
  simulator->addSeparator();
  AddCommand(simulator, CM_OUTLINES, QT_TR_NOOP("&Nur Umrisse\tF4"), {key(Qt::Key_F4)}, &W::CmOutLines, &W::CeOutLines);
  AddCommand(simulator, CM_FITCHART, QT_TR_NOOP("&Fitness-Verlauf\tF7"), {key(Qt::Key_F7)}, &W::CmFitChart, &W::CeFitChart);
  AddCommand(simulator, CM_NETVIEW, QT_TR_NOOP("N&etzansicht\tF8"), {key(Qt::Key_F8)}, &W::CmNetView, &W::CeNetView);
  QMenu* tempo = simulator->addMenu(tr("&Tempo"));
  AddCommand(tempo, CM_TEMPSLOW, QT_TR_NOOP("&Langsam"), {}, &W::CmTempoSlow, &W::CeTempoSlow);
  AddCommand(tempo, CM_TEMPNORM, QT_TR_NOOP("&Normal"), {}, &W::CmTempoNormal, &W::CeTempoNormal);
  AddCommand(tempo, CM_TEMPMAXI, QT_TR_NOOP("&Maximal"), {}, &W::CmTempoMaximal, &W::CeTempoMaximal);
  tempo->addSeparator();
  AddCommand(tempo, CM_PAUSE, QT_TR_NOOP("&Pause\tP"), {key(Qt::Key_P)}, &W::CmPause, &W::CePause);
  AddCommand(tempo, CM_SINGLESTEP, QT_TR_NOOP("&Einzelschritt\tS"), {key(Qt::Key_S)}, &W::CmSingleStep, &W::CeSingleStep);
  AddCommand(simulator, CM_RECORD, QT_TR_NOOP("Fil&m aufnehmen..."), {}, &W::CmRecord, &W::CeRecord);
  simulator->addSeparator();
  AddCommand(simulator, CM_SHOWBEST, QT_TR_NOOP("&Vorführen\tF9"), {key(Qt::Key_F9)}, &W::CmShowBest, &W::CeShowBest);
  AddCommand(simulator, CM_LEARNPATH, QT_TR_NOOP("Lern&weg..."), {}, &W::CmLearningPath, &W::CeLearningPath);
  AddCommand(simulator, CM_MANYRUNS, QT_TR_NOOP("Mehrere &Läufe..."), {}, &W::CmManyRuns, &W::CeManyRuns);
  simulator->addSeparator();
  AddCommand(simulator, CM_SIMRESET, QT_TR_NOOP("&Zurücksetzen\tF5"), {key(Qt::Key_F5)}, &W::CmSimReset,
             &W::CeSimReset);
  AddCommand(simulator, CM_SIMAJUST, QT_TR_NOOP("&Justieren\tF6"), {key(Qt::Key_F6)}, &W::CmSimAjust, &W::CeSimAjust);

  QMenu* adjust = bar->addMenu(tr("&Einstellen"));
  // The keypad's + and - as designed. X11 and Wayland hand shortcuts the key
  // without its keypad modifier, so the plain keys stand beside them; they are
  // also the main keyboard's + and -.
  AddCommand(adjust, CM_INCANGLE, QT_TR_NOOP("Rotation\t+"), {keypad(Qt::Key_Plus), key(Qt::Key_Plus)}, &W::CmIncAngle,
             &W::CeIncAngle);
  AddCommand(adjust, CM_DECANGLE, QT_TR_NOOP("Rotation\t-"), {keypad(Qt::Key_Minus), key(Qt::Key_Minus)}, &W::CmDecAngle,
             &W::CeDecAngle);
  adjust->addSeparator();
  AddCommand(adjust, CM_SETAXLEA, QT_TR_NOOP("Achse\tA"), {key(Qt::Key_A)}, &W::CmSetAxleA, &W::CeSetAxleA);
  AddCommand(adjust, CM_SETAXLEB, QT_TR_NOOP("Achse\tB"), {key(Qt::Key_B)}, &W::CmSetAxleB, &W::CeSetAxleB);
  AddCommand(adjust, CM_SETAXLEC, QT_TR_NOOP("Achse\tC"), {key(Qt::Key_C)}, &W::CmSetAxleC, &W::CeSetAxleC);
  AddCommand(adjust, CM_SETAXLED, QT_TR_NOOP("Achse\tD"), {key(Qt::Key_D)}, &W::CmSetAxleD, &W::CeSetAxleD);
  AddCommand(adjust, CM_MOVELEFT, QT_TR_NOOP("Nach links\tL"), {key(Qt::Key_L), key(Qt::Key_Left)}, &W::CmMoveLeft,
             &W::CeMoveLeft);
  AddCommand(adjust, CM_MOVERITE, QT_TR_NOOP("Nach rechts\tR"), {key(Qt::Key_R), key(Qt::Key_Right)}, &W::CmMoveRite,
             &W::CeMoveRite);
  adjust->addSeparator();
  AddCommand(adjust, CM_SETPLATE, QT_TR_NOOP("Podest\tE"), {key(Qt::Key_E)}, &W::CmSetPlatE, &W::CeSetPlatE);
  AddCommand(adjust, CM_SETPLATF, QT_TR_NOOP("Podest\tF"), {key(Qt::Key_F)}, &W::CmSetPlatF, &W::CeSetPlatF);
  AddCommand(adjust, CM_MOVECEIL, QT_TR_NOOP("Nach oben\tO"), {key(Qt::Key_O), key(Qt::Key_Up)}, &W::CmMoveCeil,
             &W::CeMoveCeil);
  AddCommand(adjust, CM_MOVEDOWN, QT_TR_NOOP("Nach unten\tU"), {key(Qt::Key_U), key(Qt::Key_Down)}, &W::CmMoveDown,
             &W::CeMoveDown);

  QMenu* help = bar->addMenu(tr("&?"));
  AddCommand(help, CM_ABOUTAPP, QT_TR_NOOP("&Info"), {}, &W::CmAboutApp, &W::CeAboutApp);
  AddCommand(help, CM_KEYTABLE, QT_TR_NOOP("&Tastenbelegung"), {}, &W::CmKeyTable, &W::CeKeyTable);

  for (QMenu* menu : {program, simulator, tempo, adjust, help})
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
  // Items that can carry a check mark reserve room for it from the start.
  for (int id : {CM_TRAIN1AN, CM_TRAIN2AN, CM_STARTANN, CM_SHOWBEST, CM_OUTLINES, CM_FITCHART, CM_NETVIEW, CM_PAUSE, CM_RECORD})
    Action(id)->setCheckable(true);
  auto* tempos = new QActionGroup(this);  // exclusive: one tempo at a time
  for (int id : {CM_TEMPSLOW, CM_TEMPNORM, CM_TEMPMAXI}) {
    Action(id)->setCheckable(true);
    tempos->addAction(Action(id));
  }
}

const TZarnikWindow::TCommand* TZarnikWindow::Find(int id) const {
  for (const TCommand& c : Commands)
    if (c.Id == id) return &c;
  return nullptr;
}

QAction* TZarnikWindow::Action(int id) const {
  const TCommand* c = Find(id);
  return c != nullptr ? c->Action : nullptr;
}

void TZarnikWindow::UpdateCommands() {
  for (const TCommand& c : Commands) {
    TCommandEnabler ce;
    (this->*c.Ce)(ce);
    c.Action->setEnabled(ce.Enabled);
    if (ce.Checked >= 0) c.Action->setChecked(ce.Checked == 1);
  }
  ShowHoldAndFilm();  // pause and film change only through commands and the end of a run
}

void TZarnikWindow::Dispatch(int id) {
  if (id == CM_USERSTOP) {
    EvUserStop();
    return;
  }
  const TCommand* c = Find(id);
  if (c == nullptr) return;
  EndReason();  // a failure's reason stays until the user goes on
  // A stale enabled state must not let a disabled command through.
  TCommandEnabler ce;
  (this->*c->Ce)(ce);
  if (ce.Enabled) (this->*c->Cm)();
  UpdateCommands();
}

bool TZarnikWindow::eventFilter(QObject* watched, QEvent* event) {
  // Qt asks the focus widget with ShortcutOverride before it looks a key up
  // among the shortcuts; refreshing the enablers there decides the key.
  // The same in the windows that share the frame's keys (progress window, chart).
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    if (window == this || window->parentWidget() == this) UpdateCommands();
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Programm: closing ------------------------------------------------------

void TZarnikWindow::CmCloseApp() { close(); }  // asks CanClose like the close box

void TZarnikWindow::CeCloseApp(TCommandEnabler& ce) { ce.Enable(true); }

// --- Simulator: drawing ----------------------------------------------------------

void TZarnikWindow::CmOutLines() {
  Arm.OutLines = !Arm.OutLines;
  UpdateSimulator();
}

void TZarnikWindow::CeOutLines(TCommandEnabler& ce) {
  ce.Enable(true);
  ce.SetCheck(Arm.OutLines);
}

// --- ? -----------------------------------------------------------------------------

void TZarnikWindow::CmAboutApp() {
  TAboutDlg about(this);
  about.exec();
}

void TZarnikWindow::CeAboutApp(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

// The overview of the keys is generated from the command table and the menus
// it built, so the two cannot disagree.

namespace {

// A menu or item text as read: no mnemonic marks, no key after the tab.
QString Plain(const QString& text) { return text.section('\t', 0, 0).remove('&').simplified(); }

QString KeyName(const QKeySequence& keys) {
  const QKeyCombination key = keys[0];
  if (key.keyboardModifiers() & Qt::KeypadModifier)
    return QKeySequence(key.key()).toString(QKeySequence::NativeText) + TZarnikWindow::tr(" (Ziffernblock)");
  return keys.toString(QKeySequence::NativeText);
}

// "Menu › Submenu" above `action`, from the menu bar down.
QString MenuPath(const QAction* action) {
  QStringList path;
  for (const QAction* a = action; a != nullptr;) {
    const QMenu* menu = nullptr;
    for (QObject* o : a->associatedObjects()) {
      // Not the menu bar's overflow menu, which holds the top menus untitled.
      menu = qobject_cast<const QMenu*>(o);
      if (menu != nullptr && !menu->title().isEmpty()) break;
      menu = nullptr;
    }
    if (menu == nullptr) break;
    path.prepend(Plain(menu->title()));
    a = menu->menuAction();
  }
  return path.join(QString::fromUtf8(" \u203A "));
}

}  // namespace

QList<TKeyLine> TZarnikWindow::KeyLines() const {
  QList<TKeyLine> lines;
  for (const TCommand& c : Commands) {
    if (c.Action->shortcuts().isEmpty()) continue;
    QStringList keys;
    for (const QKeySequence& k : c.Action->shortcuts()) keys << KeyName(k);
    // Items of the same name ("Achse", "Rotation") are told apart by the key
    // name the menu shows, as in "Achse A".
    QString item = Plain(c.Action->text());
    const auto sameName = [&item](const TCommand& other) { return Plain(other.Action->text()) == item; };
    if (std::count_if(Commands.begin(), Commands.end(), sameName) > 1) item += ' ' + c.Action->text().section('\t', 1);
    lines.append({keys.join(QStringLiteral(", ")), MenuPath(c.Action) + QString::fromUtf8(" \u203A ") + item});
  }
  return lines;
}

void TZarnikWindow::CmKeyTable() {
  if (KeyOverview == nullptr) {
    KeyOverview = new TKeyOverviewDlg(this, KeyLines());
    KeyOverview->adjustSize();
    KeepWindowPlace(KeyOverview, this, QStringLiteral("Tastenbelegung"));
    ShareRunKeys(KeyOverview);
  }
  KeyOverview->show();
  KeyOverview->raise();
  KeyOverview->activateWindow();
}

// Only shows what is: open during runs as well.
void TZarnikWindow::CeKeyTable(TCommandEnabler& ce) { ce.Enable(true); }
