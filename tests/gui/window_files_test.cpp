// The files the window writes (population, history, film, picture): what it replaces, asks, refuses and says.
#include <sys/stat.h>
#include <QLineSeries>
#include <unistd.h>

#include "../support/file_faults.h"
#include "fitness_log.h"
#include "gui_test_support.h"
#include "population_lock.h"
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

const QByteArray TwoRows = Header() + "0,2,-4230,-9120,0,0.812,0\n1,2,-4100,-9000,1,1.625,0\n";

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

  // Writes `path` as the window does for `kind`, answering the question before replacing with `yes`.
  void Write(TKind kind, const QString& path, bool yes = true) {
    const QMessageBox::StandardButton answer = yes ? QMessageBox::Yes : QMessageBox::No;
    switch (kind) {
      case Population:
      case History:
        Answer({answer, QMessageBox::Ok}, {path});
        W->Dispatch(CM_SAVEDTAS);
        break;
      case Film:
        Answer({answer, QMessageBox::Ok}, {path});
        W->Dispatch(CM_RECORD);
        if (W->Watch().Recorder != nullptr && W->Watch().Recorder->Recording()) {
          W->Watch().Recorder->AddFrame(W->Scene());
          W->Dispatch(CM_RECORD);
        }
        break;
      case Picture:  // the scene's; the chart's and the network view's are written alike
        Answer({answer, QMessageBox::Ok}, {path});
        W->Dispatch(CM_SAVEPICT);
        break;
    }
  }

 private slots:
  void initTestCase() { QVERIFY(OpenTestWindow(W, Dir)); }
  void init() {
    ResetWindow(W);
    W->ClearHistory();
    W->SetPopulationFile({});
    for (const char* name : {"zarnik.dat", "zarnik.csv"}) QFile::remove(name);
  }

  // A history read whole: Speichern appends the new rows to it, byte for byte after what it holds, also
  // after a row a trainer appended since it was loaded.
  void historyAppendedToNeverReplaced_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("opened");  // by "Öffnen..." under its full path, then stored by Speichern
    QTest::addRow("as written") << TwoRows << false;
    QByteArray spreadsheet = "\xEF\xBB\xBF" + TwoRows;  // a byte-order mark and CRLF, as spreadsheets save it
    QTest::addRow("byte-order mark, CRLF") << spreadsheet.replace("\n", "\r\n") << false;
    QTest::addRow("opened by its full path") << TwoRows << true;
  }

  void historyAppendedToNeverReplaced() {
    QFETCH(QByteArray, csv);
    QFETCH(bool, opened);
    W->Dispatch(CM_SAVEDATA);
    QVERIFY(WriteBytes(QStringLiteral("zarnik.csv"), csv));
    Answer({}, {Path(QStringLiteral("zarnik.dat"))});
    W->Dispatch(opened ? CM_OPENDATA : CM_LOADDATA);
    QCOMPARE(W->FitnessHistory().Size(), size_t(2));
    QCOMPARE(W->FitnessHistory().Data()[1].bestFitness, -4100);
    const QByteArray held = csv + "2,2,-4000,-8800,2,0.100,1\n";
    QVERIFY(WriteBytes(QStringLiteral("zarnik.csv"), held));
    TwoGenerations();
    W->Dispatch(CM_SAVEDATA);
    const QByteArray saved = Bytes(QStringLiteral("zarnik.csv"));
    QVERIFY(saved.startsWith(held));
    const QList<QByteArray> added = saved.mid(held.size()).split('\n');
    QCOMPARE(added.size(), 3);  // two rows and the end
    QVERIFY(added[0].startsWith("7,2,-300,-800,7,") && added[0].endsWith(",3"));
    QVERIFY(added[1].startsWith("8,2,-250,-700,8,") && added[1].endsWith(",4"));
    W->Dispatch(CM_SAVEDATA);  // nothing new: nothing added
    QCOMPARE(Bytes(QStringLiteral("zarnik.csv")), saved);
    QCOMPARE(MessageBoxHook().Shown, 0);
  }

  // A row torn by a crash: the rows before it load (the file's own cut: the core's history test).
  void tornHistoryKeepsItsRows() {
    W->Dispatch(CM_SAVEDATA);
    QVERIFY(WriteBytes(QStringLiteral("zarnik.csv"),
                       Header() + "0,2,-4230,-9120,0,0.812\n2147483647,1,-300,-900,2147483647,2.5\n1,2,-42"));
    const int passes = W->Population()->Passes1;
    W->Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(W->FitnessHistory().Size(), size_t(2));
    QCOMPARE(W->FitnessHistory().Data()[1].bestFitness, -300);
    QCOMPARE(W->Population()->Passes1, 2147483647);  // the highest pass counts on
    W->Population()->Passes1 = passes;
  }

  // A history the window refuses is never written over, whatever Speichern holds; the message field says so.
  // It never keeps the population from loading, nor freezes "Laden...", and the chart shows none of it.
  void refusedHistoryLeftUntouched_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("reason");
    const QString foreign = QStringLiteral("kein Fitnessverlauf");
    QTest::addRow("long line") << Header() + "0,2,-4230,-9120,0,0.812," + QByteArray(300, '0') + "\n" << foreign;
    QTest::addRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\n", 11) << foreign;
    QTest::addRow("another CSV") << QByteArray("name,age\nAnna,31\n") << foreign;
    QTest::addRow("FIFO") << QByteArray("fifo") << QStringLiteral("keine regul\u00e4re Datei");
    QTest::addRow("link to a shell profile") << QByteArray("link") << foreign;
    QTest::addRow("link to /dev/zero") << QByteArray("zero") << QStringLiteral("keine regul\u00e4re Datei");
  }

  void refusedHistoryLeftUntouched() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, reason);
    TwoGenerations();  // rows, and points in the chart opened now, that the load must replace
    W->Dispatch(CM_FITCHART);
    W->Dispatch(CM_SAVEDATA);
    const QByteArray population = Bytes(QStringLiteral("zarnik.dat"));
    W->Population()->Generations += 5;  // changed, so that the load shows
    const int passes = W->Population()->Passes1;
    const QString name = QStringLiteral("zarnik.csv");
    QFile::remove(name);
    const QByteArray profile = "export PATH=$HOME/bin:$PATH\n";
    if (csv == "fifo") {
      QCOMPARE(mkfifo("zarnik.csv", 0600), 0);
    } else if (csv == "zero") {
      QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name));
    } else if (csv == "link") {
      QVERIFY(WriteBytes(QStringLiteral("profile"), profile));
      QVERIFY(QFile::link(QStringLiteral("profile"), name));
    } else {
      QVERIFY(WriteBytes(name, csv));
    }
    TWatchdog watchdog("Laden and Speichern with a refused zarnik.csv", 30);
    W->Dispatch(CM_LOADDATA);
    const QString note = QStringLiteral("Fitnessverlauf 'zarnik.csv' nicht gelesen: ") + reason;
    QCOMPARE(W->MessageText(), note);
    QVERIFY(ReadWhole());
    QCOMPARE(Snapshot(W), population);
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
    QCOMPARE(W->MessageText(), QStringLiteral("Einstellmodus"));  // said once, at Laden
    QFile::remove(name);
    QFile::remove(QStringLiteral("profile"));
  }

  // Every file a dialog names is asked for before it is replaced: the name the added suffix makes, and the
  // history beside a population. "Nein" changes nothing.
  void dialogsAskBeforeReplacing_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<QString>("question");
    QTest::addRow("population without suffix") << int(Population) << "pop" << QStringList{"pop.dat", "pop.csv"}
                                               << "Dateien 'pop.dat' und 'pop.csv' sind schon vorhanden. Ersetzen?";
    QTest::addRow("only the history beside") << int(Population) << "neu.dat" << QStringList{"neu.csv"}
                                             << "Datei 'neu.csv' ist schon vorhanden. Ersetzen?";
    QTest::addRow("film without suffix") << int(Film) << "film" << QStringList{"film.mp4"}
                                         << "Datei 'film.mp4' ist schon vorhanden. Ersetzen?";
    QTest::addRow("picture without suffix") << int(Picture) << "bild" << QStringList{"bild.png"}
                                            << "Datei 'bild.png' ist schon vorhanden. Ersetzen?";
  }

  void dialogsAskBeforeReplacing() {
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QStringList, there);
    QFETCH(QString, question);
    const auto old = [](const QString& name) { return name.endsWith(".csv") ? TwoRows : QByteArray("alt\n"); };
    for (const QString& name : there) QVERIFY(WriteBytes(Path(name), old(name)));
    Write(TKind(kind), Path(typed), false);
    QCOMPARE(MessageBoxHook().Shown, 1);
    QCOMPARE(MessageBoxHook().LastText, question);
    QCOMPARE(MessageBoxHook().LastButtons, QMessageBox::Yes | QMessageBox::No);
    for (const QString& name : there) QCOMPARE(Bytes(Path(name)), old(name));
    QVERIFY(W->Watch().Recorder == nullptr || !W->Watch().Recorder->Recording());
    Write(TKind(kind), Path(typed), true);
    QCOMPARE(MessageBoxHook().Shown, 1);  // the question, no failure
    for (const QString& name : there) QVERIFY(Bytes(Path(name)) != old(name) && QFileInfo(Path(name)).size() > 40);
    for (const QString& name : there) QFile::remove(Path(name));
  }

  // While a trainer holds a population's lock, Laden and Speichern of it change nothing and say why.
  void trainerAtWorkOnThePopulation() {
    W->Dispatch(CM_SAVEDATA);
    const QByteArray before = Bytes(QStringLiteral("zarnik.dat"));
    TPopulationLock trainer;  // as zarnik-train takes it; another descriptor, so it excludes this process too
    QVERIFY(trainer.Acquire("zarnik.dat"));
    const QString who = QStringLiteral(": ein Trainer arbeitet daran (Prozess %1)").arg(::getpid());
    W->Population()->Generations += 5;
    const QByteArray changed = Snapshot(W);
    Answer({QMessageBox::Ok});
    W->Dispatch(CM_SAVEDATA);
    QVERIFY(WarnedOnce(QStringLiteral("Kann Datei 'Zarnik.dat' nicht speichern!")));
    QCOMPARE(W->MessageText(), QStringLiteral("Kann Datei 'zarnik.dat' nicht speichern") + who);
    QVERIFY(ReadWhole());
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), before);
    Answer({QMessageBox::Ok});
    W->Dispatch(CM_LOADDATA);
    QVERIFY(WarnedOnce(QStringLiteral("Kann Datei 'Zarnik.dat' nicht laden!")));
    QCOMPARE(W->MessageText(), QStringLiteral("Kann Datei 'zarnik.dat' nicht laden") + who);
    QVERIFY(ReadWhole());
    QCOMPARE(Snapshot(W), changed);
    trainer.Release();
    Answer({});
    W->Dispatch(CM_SAVEDATA);  // the trainer gone, it stores, and leaves no lock behind
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(Bytes(QStringLiteral("zarnik.dat")), changed);
    QVERIFY(!QFile::exists(QStringLiteral("zarnik.dat.lock")));
  }

  // One rule for every file the window writes. New: 0666 less the umask. Another user's link in a sticky,
  // world-writable folder: never followed (the file it points to stays). Read-only: replaced after the
  // question, keeping its mode. A FIFO: refused at once, never waited on. Each failure with its message.
  void fileRules_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("box");   // the warning shown, or none
    QTest::addColumn<QString>("note");  // the message field afterwards, or unchanged
    const QString linkNote = QStringLiteral("Fitnessverlauf 'h.csv' nicht gelesen: Verweis eines anderen Benutzers");
    const QString fifoNote = QStringLiteral("Fitnessverlauf 'h.csv' nicht gelesen: keine regul\u00e4re Datei");
    const struct {
      TKind Kind;
      const char* Label;
      QString Name, Failure;
    } kinds[] = {{Population, "population", "p.dat", "Kann Datei 'p.dat' nicht speichern!"},
                 {History, "history", "h.dat", ""},
                 {Film, "film", "f.mp4", "Kann Film 'f.mp4' nicht aufnehmen!"},
                 {Picture, "picture", "b.png", "Kann Datei 'b.png' nicht speichern!"}};
    for (const auto& k : kinds) {
      const bool history = k.Kind == History;
      QTest::addRow("%s: new, umask 027", k.Label) << int(k.Kind) << k.Name << "new" << "" << "";
      QTest::addRow("%s: another user's link", k.Label)
          << int(k.Kind) << k.Name << "link" << k.Failure << (history ? linkNote : QString());
      QTest::addRow("%s: read-only", k.Label) << int(k.Kind) << k.Name << "read-only" << "" << "";
      QTest::addRow("%s: FIFO", k.Label) << int(k.Kind) << k.Name << "fifo" << k.Failure << (history ? fifoNote : QString());
    }
  }

  void fileRules() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, situation);
    QFETCH(QString, box);
    QFETCH(QString, note);
    const QString folder = Path(QStringLiteral("rules-%1").arg(QTest::currentDataTag()).replace(' ', '_').remove(':'));
    QVERIFY(QDir().mkpath(folder));
    // The file under test: for a history, the one beside the population.
    const QString file = folder + '/' + (kind == History ? QStringLiteral("h.csv") : name);
    const QString victim = Path(QStringLiteral("victim-%1").arg(name));
    const QByteArray victimBytes = kind == History ? TwoRows : QByteArray("root:x:0:0:root:/root:/bin/bash\n");
    if (situation == "link") {
      if (::geteuid() != 0) QSKIP("a link owned by another user needs root to make");
      QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
      QVERIFY(WriteBytes(victim, victimBytes));
      QVERIFY(QFile::link(victim, file));
      QVERIFY(::lchown(QFile::encodeName(file).constData(), 65534, 65534) == 0);
    } else if (situation == "read-only") {
      QVERIFY(WriteBytes(file, victimBytes));
      QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
    } else if (situation == "fifo") {
      QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    }
    const QString messageBefore = W->MessageText();
    TwoGenerations();
    const mode_t mask = ::umask(027);
    {
      TWatchdog watchdog("a file written by the window", 30);
      Write(TKind(kind), folder + '/' + name);
    }
    ::umask(mask);
    const TMessageBoxHook& hook = MessageBoxHook();
    if (box.isEmpty()) QVERIFY2(hook.LastIcon != QMessageBox::Warning, qPrintable(hook.LastText));
    else QCOMPARE(hook.LastText, box);
    QCOMPARE(W->MessageText(), note.isEmpty() ? messageBefore : note);
    if (situation == "new") {
      QCOMPARE(ModeOf(file) & 07777, mode_t(0640));
    } else if (situation == "link") {
      QVERIFY(QFileInfo(file).isSymLink());
      QCOMPARE(Bytes(victim), victimBytes);
    } else if (situation == "read-only") {
      QCOMPARE(ModeOf(file) & 07777, mode_t(0444));
      QVERIFY(Bytes(file) != victimBytes && QFileInfo(file).size() > 40);
    } else {
      QVERIFY(S_ISFIFO(ModeOf(file)));
    }
    QDir(folder).removeRecursively();
    QFile::remove(victim);
  }
};

QTEST_MAIN(WindowFilesTest)
#include "window_files_test.moc"
