// The files the window reads and writes (population, history, film, picture): what it replaces, asks, refuses and says.
#include <sys/stat.h>
#include <QLineSeries>
#include <unistd.h>

#include <optional>

#include "../support/file_faults.h"
#include "history/fitness_log.h"
#include "gui_test_support.h"
#include "platform/population_lock.h"
#include "watching/fitness_chart.h"
#include "watching/scene_recorder.h"
#include "widgets/text_gadget.h"

namespace {

enum TKind { Population, History, Film, Picture };

bool WriteBytes(const QString& name, const QByteArray& data) {
  QFile file(name);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray Header() { return QByteArray(FitnessLogHeader.data(), qsizetype(FitnessLogHeader.size())) + "\n"; }

// A generation of training 2 and a pass of training 1, at the top of the count.
const QByteArray TwoRows = Header() + "0,2,-4230,-9120,0,0.812,0\n2147483647,1,-4100,-9000,2147483647,1.625,\n";

mode_t ModeOf(const QString& path) {
  struct stat st = {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

}  // namespace

class WindowFilesTest : public QObject, TWindowFixture {
  Q_OBJECT

  QString Path(const QString& name) const { return Dir.filePath(name); }

  // The message field's text fits it at the window's natural size: over the whole status bar, as
  // the reasons are shown, it does.
  bool ReadWhole() const {
    return W->ReasonShown() &&
           W->MessageField()->fontMetrics().horizontalAdvance(W->MessageText()) <= W->MessageField()->TextWidth();
  }

  // Two passes of training 2 as the training code reports them.
  void TwoGenerations() {
    W->GenerationDone({2, 7, -300, -800, 7, 3});
    W->GenerationDone({2, 8, -250, -700, 8, 4});
  }

  // Writes `path` as the window does for `kind` (a picture: the scene's; the chart's and the network view's
  // are written alike), answering the question before replacing with `yes`.
  void Write(TKind kind, const QString& path, bool yes = true) {
    Answer({yes ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok}, {path});
    W->Dispatch(kind == Film ? CM_RECORD : kind == Picture ? CM_SAVEPICT : CM_SAVEDTAS);
    if (kind == Film && W->Watch().Recorder != nullptr && W->Watch().Recorder->Recording()) {
      W->Watch().Recorder->AddFrame(W->Scene());
      W->Dispatch(CM_RECORD);
    }
  }

 private slots:
  void initTestCase() { QVERIFY(OpenTestWindow(W, Dir)); }
  void init() {
    ResetWindow(W);
    TZarnikWindowProbe(W).ClearHistory();
    TZarnikWindowProbe(W).SetPopulationFile({});
    for (const char* name : {"zarnik.dat", "zarnik.csv"}) QFile::remove(name);
  }

  // The history beside the population as Laden (or Öffnen, under its full path) finds it, then Speichern.
  // Read whole, its rows replace those held before, training 1 numbers on after its
  // last pass, and Speichern appends the new rows to it byte for byte, also after a row a trainer appended
  // since it was loaded. (A row torn by a crash: the core's history test.) Refused, it is never
  // written over whatever Speichern holds and the message field says so once; it never keeps the population
  // from loading, nor freezes "Laden...", and the chart shows none of it.
  void historyBesideThePopulation_data() {
    QTest::addColumn<QByteArray>("csv");  // or "fifo", "link" (to a shell profile), "zero" (a link to /dev/zero)
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("reason");  // why it is refused, or empty
    const QString foreign = QStringLiteral("kein Fitnessverlauf"), special = QStringLiteral("keine regul\u00e4re Datei");
    QTest::addRow("as written") << TwoRows << false << QString();
    QByteArray spreadsheet = "\xEF\xBB\xBF" + TwoRows;  // a byte-order mark and CRLF, as spreadsheets save it
    QTest::addRow("byte-order mark, CRLF") << spreadsheet.replace("\n", "\r\n") << false << QString();
    QTest::addRow("opened by its full path") << TwoRows << true << QString();
    QTest::addRow("long line") << Header() + "0,2,-4230,-9120,0,0.812," + QByteArray(300, '0') + "\n" << false << foreign;
    QTest::addRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\n", 11) << false << foreign;
    QTest::addRow("another CSV") << QByteArray("name,age\nAnna,31\n") << false << foreign;
    QTest::addRow("FIFO") << QByteArray("fifo") << false << special;
    QTest::addRow("link to a shell profile") << QByteArray("link") << false << foreign;
    QTest::addRow("link to /dev/zero") << QByteArray("zero") << false << special;
  }

  void historyBesideThePopulation() {
    QFETCH(QByteArray, csv);
    QFETCH(bool, opened);
    QFETCH(QString, reason);
    TwoGenerations();  // rows, and points in the chart opened now, that the load must replace
    W->Dispatch(CM_FITCHART);
    W->Dispatch(CM_SAVEDATA);
    const QByteArray population = Bytes(QStringLiteral("zarnik.dat")), profile = "export PATH=$HOME/bin:$PATH\n";
    W->Population()->Generations += 5;  // changed, so that the load shows
    const int passes = W->Population()->Passes1;
    const QString name = QStringLiteral("zarnik.csv");
    QFile::remove(name);
    if (csv == "fifo") QCOMPARE(mkfifo("zarnik.csv", 0600), 0);
    else if (csv == "zero") QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name));
    else if (csv == "link") QVERIFY(WriteBytes(QStringLiteral("profile"), profile) && QFile::link(QStringLiteral("profile"), name));
    else QVERIFY(WriteBytes(name, csv));
    TWatchdog watchdog("Laden and Speichern with a history beside", 30);
    Answer({}, {Path(QStringLiteral("zarnik.dat"))});
    W->Dispatch(opened ? CM_OPENDATA : CM_LOADDATA);
    QCOMPARE(Snapshot(W), population);
    if (reason.isEmpty()) {
      W->Dispatch(CM_FITCHART);
      QCOMPARE(W->FitnessHistory().Size(), size_t(2));
      QCOMPARE(W->FitnessHistory().Data()[1].bestFitness, -4100);
      QCOMPARE(W->Population()->Passes1, 2147483647);  // the highest pass counts on
      W->Population()->Passes1 = passes;
      const QByteArray held = csv + "2,2,-4000,-8800,2,0.100,1\n";
      QVERIFY(WriteBytes(name, held));
      TwoGenerations();
      W->Dispatch(CM_SAVEDATA);
      const QByteArray saved = Bytes(name);
      QVERIFY(saved.startsWith(held));
      const QList<QByteArray> added = saved.mid(held.size()).split('\n');
      QCOMPARE(added.size(), 3);  // two rows and the end
      QVERIFY(added[0].startsWith("7,2,-300,-800,7,") && added[0].endsWith(",3"));
      QVERIFY(added[1].startsWith("8,2,-250,-700,8,") && added[1].endsWith(",4"));
      W->Dispatch(CM_SAVEDATA);  // nothing new: nothing added
      QCOMPARE(Bytes(name), saved);
      QCOMPARE(MessageBoxHook().Shown, 0);
      return;
    }
    QCOMPARE(W->MessageText(), QStringLiteral("Fitnessverlauf 'zarnik.csv' nicht gelesen: ") + reason);
    QVERIFY(ReadWhole());
    QVERIFY(W->FitnessHistory().Size() == 0 && W->Population()->Passes1 == passes);
    using C = TFitnessChartWindow;
    for (auto s : {C::Best2, C::Average2, C::Best1, C::BestSoFar2, C::Deliveries2})
      QCOMPARE(W->Watch().FitnessChart->Series(s)->count(), 0);
    W->Dispatch(CM_FITCHART);
    TwoGenerations();
    W->Dispatch(CM_SAVEDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    if (csv == "fifo") QVERIFY(QFileInfo(name).isFile() == false && QFileInfo::exists(name));
    else if (csv == "link") QVERIFY(QFileInfo(name).isSymLink() && Bytes(QStringLiteral("profile")) == profile);
    else if (csv == "zero") QCOMPARE(QFileInfo(name).symLinkTarget(), QStringLiteral("/dev/zero"));
    else QCOMPARE(Bytes(name), csv);
    QCOMPARE(W->MessageText(), QStringLiteral("Population in 'zarnik.dat' gespeichert"));  // the refusal said once, at Laden
    QFile::remove(name);
    QFile::remove(QStringLiteral("profile"));
  }

  // A file command that succeeds says so over the whole status bar, read whole, until the next command brings
  // the fields back; a new population names its seed.
  void succeededFileCommandsSaySo() {
    const QStringList said[] = {
        {"Speichern", "Population in 'zarnik.dat' gespeichert"},
        {"Laden", "Population aus 'zarnik.dat' geladen"},
        {"Speichern unter", "Population in 'andere.dat' gespeichert"},
        {QString::fromUtf8("Öffnen"), "Population aus 'andere.dat' geladen"},
        {"Neue Population 42", "Neue Population (Startwert 42)"},
        {"Neue Population, leer", "Neue Population (Startwert von der Uhr)"}};
    const int commands[] = {CM_SAVEDATA, CM_LOADDATA, CM_SAVEDTAS, CM_OPENDATA, CM_NEWPOPUL, CM_NEWPOPUL};
    const char* seeds[] = {"", "", "", "", "42", ""};
    for (int i = 0; i < 6; ++i) {
      TZarnikWindowProbe(W).MarkPopulationChanged(false);  // no unsaved-work question
      Answer({}, {Path(QStringLiteral("andere.dat"))});
      FileDialogHook().Texts = {QString::fromLatin1(seeds[i])};
      W->Dispatch(commands[i]);
      QCOMPARE(MessageBoxHook().Shown, 0);
      QVERIFY2(W->MessageText() == said[i][1] && ReadWhole(), qPrintable(said[i][0] + ": " + W->MessageText()));
      W->Dispatch(CM_TEMPMAXI);
      QVERIFY(W->MessageText() == QStringLiteral("Einstellmodus") && W->AxleField(0)->isVisible());
    }
    for (const char* name : {"zarnik.dat", "zarnik.csv", "andere.dat", "andere.csv"}) QFile::remove(Path(name));
  }

  // A file command that fails: the designed box, then why over the whole status bar, read whole, until the
  // next command brings the fields back; the population, zarnik.dat and the folder stay as they were. (A
  // full disk: the unsaved-work question's test in the window's test, the old file kept whole: the core's.)
  void failedFileCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("name");  // as the dialog names it; Laden and Speichern: zarnik.dat
    QTest::addColumn<int>("bytes");     // written to it first; -1: no file, -2: a folder, -3: a trainer's lock
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("field");  // the message field afterwards
    const QString load("Kann Datei '%1' nicht laden!"), why("Kann Datei '%1' nicht laden: %2");
    const QString trainer = QStringLiteral("ein Trainer arbeitet daran (Prozess %1)").arg(::getpid());
    const auto row = [](const char* tag, int command, const char* name, int bytes, const QString& box, const QString& field) {
      QTest::newRow(tag) << command << QString::fromUtf8(name) << bytes << box << field;
    };
    row("Laden, missing", CM_LOADDATA, "zarnik.dat", -1, load.arg("Zarnik.dat"), why.arg("zarnik.dat", "nicht vorhanden"));
    row("Laden, short", CM_LOADDATA, "zarnik.dat", 100, load.arg("Zarnik.dat"),
        why.arg("zarnik.dat", QString::fromUtf8("falsche Größe (100 statt 199620 Bytes)")));
    row("Laden, trainer at work", CM_LOADDATA, "zarnik.dat", -3, load.arg("Zarnik.dat"), why.arg("zarnik.dat", trainer));
    row("Speichern, trainer at work", CM_SAVEDATA, "zarnik.dat", -3, "Kann Datei 'Zarnik.dat' nicht speichern!",
        "Kann Datei 'zarnik.dat' nicht speichern: " + trainer);
    row("Oeffnen, missing", CM_OPENDATA, "fehlt.dat", -1, load.arg("fehlt.dat"), why.arg("fehlt.dat", "nicht vorhanden"));
    row("Oeffnen, zeros", CM_OPENDATA, "null.dat", 199620, load.arg("null.dat"), why.arg("null.dat", "fremde Netzform"));
    row("Oeffnen, folder", CM_OPENDATA, "ordner.dat", -2, load.arg("ordner.dat"),
        why.arg("ordner.dat", QString::fromUtf8("keine reguläre Datei")));
    row("Speichern unter, no folder", CM_SAVEDTAS, "kein/ordner/neu.dat", -1, "Kann Datei 'neu.dat' nicht speichern!",
        "Kann Datei 'neu.dat' nicht speichern: Verzeichnis fehlt");
  }

  void failedFileCommands() {
    QFETCH(int, command);
    QFETCH(QString, name);
    QFETCH(int, bytes);
    QFETCH(QString, box);
    QFETCH(QString, field);
    W->Dispatch(CM_SAVEDATA);
    W->Population()->Generations += 3;
    const QByteArray population = Snapshot(W);
    std::optional<TPopulationLock> trainer;  // as zarnik-train takes it; another descriptor, so it excludes this process too
    if (bytes == -1) QFile::remove(name);
    else if (bytes == -2) QVERIFY(QDir().mkdir(name));
    else if (bytes == -3) QVERIFY(trainer.emplace().Acquire("zarnik.dat"));
    else QVERIFY(WriteBytes(name, QByteArray(bytes, '\0')));
    const QByteArray old = Bytes(QStringLiteral("zarnik.dat"));
    const QStringList files = QDir().entryList(QDir::Files | QDir::System);
    Answer({QMessageBox::Ok}, {Path(name)});
    W->Dispatch(command);
    QVERIFY(WarnedOnce(box));
    QCOMPARE(W->MessageText(), field);
    QCOMPARE(ReadWhole(), field != QStringLiteral("Einstellmodus"));
    QCOMPARE(Snapshot(W), population);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::System), files);
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), old);
    trainer.reset();
    W->Dispatch(CM_SAVEDATA);  // the trainer gone, it stores, leaves no lock behind, and the fields come back
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), population);
    QVERIFY(!QFile::exists(QStringLiteral("zarnik.dat.lock")));
    QCOMPARE(W->MessageText(), QStringLiteral("Population in 'zarnik.dat' gespeichert"));
    W->Dispatch(CM_TEMPMAXI);
    QVERIFY(W->MessageText() == QStringLiteral("Einstellmodus") && !W->ReasonShown() && W->AxleField(0)->isVisible());
    QDir().rmdir(name);
    QFile::remove(name);
  }

  // One rule for every file the window writes, named without its suffix. New: 0666 less the umask. Another
  // user's link in a sticky, world-writable folder: never followed (the file it points to stays). There
  // already and read-only: asked for first, with the history beside a population (Nein changes nothing), then
  // replaced, keeping its mode. A FIFO: refused at once, never waited on. Each failure with its message.
  void fileRules_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("box");   // the last box: the warning or the question, or none
    QTest::addColumn<QString>("note");  // the message field afterwards, or unchanged
    const QString note = QStringLiteral("Fitnessverlauf 'h.csv' nicht gelesen: %1");
    // Saved: what a stored population says (a history is written beside one); a film or picture says nothing.
    const struct { TKind Kind; const char* Label; QString Question, Failure, Saved; } kinds[] = {
        {Population, "population", "Dateien 'p.dat' und 'p.csv' sind schon vorhanden. Ersetzen?",
         "Kann Datei 'p.dat' nicht speichern!", "Population in 'p.dat' gespeichert"},
        {History, "history", "Datei 'h.csv' ist schon vorhanden. Ersetzen?", "", "Population in 'h.dat' gespeichert"},
        {Film, "film", "Datei 'f.mp4' ist schon vorhanden. Ersetzen?", "Kann Film 'f.mp4' nicht aufnehmen!", ""},
        {Picture, "picture", "Datei 'b.png' ist schon vorhanden. Ersetzen?", "Kann Datei 'b.png' nicht speichern!", ""}};
    for (const auto& k : kinds) {
      const bool history = k.Kind == History;
      QTest::addRow("%s: new, umask 027", k.Label) << int(k.Kind) << "new" << "" << k.Saved;
      // A population's failed save says why in the message field, as a failed load does.
      const QString saved = QStringLiteral("Kann Datei 'p.dat' nicht speichern: %1");
      QTest::addRow("%s: another user's link", k.Label)
          << int(k.Kind) << "link" << k.Failure
          << (history                  ? note.arg("Verweis eines anderen Benutzers")
              : k.Kind == Population ? saved.arg("symbolischer Verweis eines anderen Benutzers")
                                     : QString());
      QTest::addRow("%s: read-only", k.Label) << int(k.Kind) << "read-only" << k.Question << k.Saved;
      QTest::addRow("%s: FIFO", k.Label) << int(k.Kind) << "fifo" << k.Failure
                                         << (history                  ? note.arg(QStringLiteral("keine regul\u00e4re Datei"))
                                             : k.Kind == Population ? saved.arg(QStringLiteral("keine regul\u00e4re Datei"))
                                                                    : QString());
    }
  }

  void fileRules() {
    QFETCH(int, kind);
    QFETCH(QString, situation);
    QFETCH(QString, box);
    QFETCH(QString, note);
    const QString folder = Path(QStringLiteral("rules-%1").arg(QTest::currentDataTag()).replace(' ', '_').remove(':'));
    QVERIFY(QDir().mkpath(folder));
    // The file under test (for a history, the one beside the population), and the name typed for it.
    const QString file = folder + '/' + QStringList{"p.dat", "h.csv", "f.mp4", "b.png"}[kind], typed = file.chopped(4);
    const QString victim = Path(QStringLiteral("victim-%1").arg(QFileInfo(file).fileName()));
    const QByteArray victimBytes = kind == History ? TwoRows : QByteArray("root:x:0:0:root:/root:/bin/bash\n");
    if (situation == "link") {
      if (::geteuid() != 0) QSKIP("a link owned by another user needs root to make");
      QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
      QVERIFY(WriteBytes(victim, victimBytes));
      QVERIFY(QFile::link(victim, file));
      QVERIFY(::lchown(QFile::encodeName(file).constData(), 65534, 65534) == 0);
    } else if (situation == "read-only") {
      QVERIFY(WriteBytes(file, victimBytes) && (kind != Population || WriteBytes(typed + ".csv", TwoRows)));
      QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
    } else if (situation == "fifo") {
      QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    }
    const QString messageBefore = W->MessageText();
    TwoGenerations();
    if (situation == "read-only") {  // asked first: Nein changes nothing
      Write(TKind(kind), typed, false);
      QCOMPARE(MessageBoxHook().LastButtons, QMessageBox::Yes | QMessageBox::No);
      QCOMPARE(Bytes(file), victimBytes);
    }
    const mode_t mask = ::umask(027);
    {
      TWatchdog watchdog("a file written by the window", 30);
      Write(TKind(kind), typed);
    }
    ::umask(mask);
    QVERIFY(!QFile::exists(QStringLiteral("zarnik.dat")));  // the name given, never zarnik.dat besides
    const TMessageBoxHook& hook = MessageBoxHook();
    if (box.isEmpty()) QVERIFY2(hook.LastIcon != QMessageBox::Warning, qPrintable(hook.LastText));
    else QCOMPARE(hook.LastText, box);
    QCOMPARE(W->MessageText(), note.isEmpty() ? messageBefore : note);
    if (situation == "link") QVERIFY(QFileInfo(file).isSymLink() && Bytes(victim) == victimBytes);
    else if (situation == "fifo") QVERIFY(S_ISFIFO(ModeOf(file)));
    else QCOMPARE(ModeOf(file) & 07777, mode_t(situation == "new" ? 0640 : 0444));
    if (situation == "read-only") QVERIFY(Bytes(file) != victimBytes && QFileInfo(file).size() > 40);
    QDir(folder).removeRecursively();
    QFile::remove(victim);
  }
};

QTEST_MAIN(WindowFilesTest)
#include "window_files_test.moc"
