// zarnik --demonstrate FILE --film OUT started without any display: the film the window makes of the same
// demonstration, frame for frame, and its counts; what it refuses, with the status and reason it gives.
#include "film_reading.h"
#include "gui_test_support.h"

namespace {

struct TExit {
  int Status = -1;
  QByteArray Out, Err;
};

// The program as a user starts it on a machine without a screen (German, as the C locale has it).
void Start(QProcess& zarnik, const QString& dir, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANG"})
    env.remove(QString::fromLatin1(name));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);  // private, as a login gives it: Qt says nothing about it
  zarnik.setProcessEnvironment(env);
  zarnik.setWorkingDirectory(dir);
  zarnik.start(QStringLiteral(ZARNIK_EXE), args);
}

TExit Ended(QProcess& zarnik) {
  EndsWhileProgressing(zarnik);  // ended by its episodes; the safety limit only without progress
  TExit exit;
  if (zarnik.exitStatus() == QProcess::NormalExit) exit.Status = zarnik.exitCode();
  exit.Out = zarnik.readAllStandardOutput();
  exit.Err = zarnik.readAllStandardError();
  return exit;
}

TExit Zarnik(const QString& dir, const QStringList& args) {
  QProcess zarnik;
  Start(zarnik, dir, args);
  return Ended(zarnik);
}

}  // namespace

class UnattendedFilmTest : public QObject, TWindowFixture {
  Q_OBJECT

  // The window's demonstration of the first `episodes`, filmed into `film` by "Film aufnehmen...". A watchdog
  // stops it, failing, once a minute passes without a drawn step.
  void FilmInWindow(const QString& film, int episodes) {
    TDrawingWatchdog watchdog(W);
    Answer({}, {film});
    W->Dispatch(CM_RECORD);
    QVERIFY(W->Watch().Recording());
    QVERIFY(W->Demonstrate(episodes));
    QVERIFY2(!watchdog.Expired, "the demonstration drew no step for a minute");
    QVERIFY(!W->Watch().Recording());  // its end closed the film
    QCOMPARE(MessageBoxHook().Shown, 0);
  }

 private slots:
  void initTestCase() {
    QVERIFY(OpenTestWindow(W, Dir));
    W->Dispatch(CM_TEMPMAXI);  // the child reads the same settings: both film at 60 a second
  }
  void init() { ResetWindow(W); }

  // Two episodes of a population of the trainer: the same frames, the first one decoded alike, and the
  // counts the window's demonstration has, printed as its summary says them.
  void filmWithoutScreenEqualsWindowsFilm() {
    QProcess train;
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), {"--generations", "40", "--seed", "3", "--quiet", Dir.filePath("shown.dat")});
    QVERIFY(EndsWhileProgressing(train));
    Answer({}, {QStringLiteral("shown.dat")});
    W->Dispatch(CM_OPENDATA);
    const long long before = W->Watch().DrawnSteps;
    FilmInWindow(Dir.filePath(QStringLiteral("window.mp4")), 2);
    const long long frames = W->Watch().DrawnSteps - before;
    const TEpisodeTally shown = W->LastShown();
    QCOMPARE(shown.episodes, 2LL);
    QVERIFY(shown.takes > 0);  // a network that does something: the counts say more than zeros

    const TExit exit = Zarnik(Dir.path(), {"--demonstrate", "shown.dat", "--film", "screenless.mp4", "--episodes", "2"});
    QCOMPARE(exit.Err, QByteArray());
    QCOMPARE(exit.Status, 0);
    const QString mean = QString::number(shown.deliveries / 2.0, 'f', 2);
    QCOMPARE(QString::fromUtf8(exit.Out),
             QString::fromUtf8("Ablagen: %1 in 2 Durchgängen (%2 je Durchgang)\nAufnahmen: %3\nmittlere Fitness: %4\n"
                               "Film 'screenless.mp4': %5 Bilder\n")
                 .arg(shown.deliveries).arg(mean).arg(shown.takes).arg(shown.fitnessSum / 2).arg(frames));
    const TFilm window = ReadFilm(Dir.filePath(QStringLiteral("window.mp4")));
    const TFilm screenless = ReadFilm(Dir.filePath(QStringLiteral("screenless.mp4")));
    QCOMPARE(window.Frames, frames);
    QCOMPARE(screenless.Frames, frames);
    QCOMPARE(screenless.Rate, 60.0);
    QVERIFY(!window.FirstFrame.isEmpty());
    QVERIFY2(screenless.FirstFrame == window.FirstFrame, "the first frames differ");
  }

  // A learning-path entry filmed as the best of the population beside its path: the counts the trainer's
  // --evaluate gives that entry in the same two episodes (the population's own best plays otherwise); a
  // generation the path lacks is refused as the trainer refuses it, and nothing is filmed.
  void filmOfLearningPathEntry() {
    QProcess train;
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), {"--generations", "200", "--seed", "3", "--quiet", Dir.filePath("entry.dat")});
    QVERIFY(EndsWhileProgressing(train));
    QProcess evaluate;
    evaluate.setWorkingDirectory(Dir.path());
    evaluate.start(QStringLiteral(ZARNIK_TRAIN_EXE), {"--evaluate", "entry.path@100"});
    QVERIFY(EndsWhileProgressing(evaluate));
    const QList<QByteArray> rows = evaluate.readAllStandardOutput().split('\n');  // episode,e,f,fitness,takes,deliveries
    QVERIFY(rows.size() > 3);
    long long fitness = 0, takes = 0, deliveries = 0;
    for (const QByteArray& row : rows.mid(1, 2)) {
      const QList<QByteArray> cells = row.split(',');
      fitness += cells[3].toLongLong(), takes += cells[4].toLongLong(), deliveries += cells[5].toLongLong();
    }
    QVERIFY(takes > 0);
    const TExit exit = Zarnik(Dir.path(), {"--demonstrate", "entry.path@100", "--film", "entry.mp4", "--episodes", "2"});
    QCOMPARE(exit.Err, QByteArray());
    QCOMPARE(exit.Status, 0);
    QVERIFY2(exit.Out.startsWith(QStringLiteral("Ablagen: %1 in 2 Durchgängen (%2 je Durchgang)\nAufnahmen: %3\nmittlere Fitness: %4\n")
                                     .arg(deliveries).arg(QString::number(deliveries / 2.0, 'f', 2)).arg(takes).arg(fitness / 2)
                                     .toUtf8()),
             exit.Out.constData());
    QVERIFY(ReadFilm(Dir.filePath(QStringLiteral("entry.mp4"))).Frames > 0);
    const TExit missing = Zarnik(Dir.path(), {"--demonstrate", "entry.path@150", "--film", "missing.mp4"});
    QCOMPARE(missing.Status, 2);
    QCOMPARE(QString::fromUtf8(missing.Err),
             QString::fromUtf8("zarnik: Kann Datei 'entry.path@150' nicht laden: Generation 150 fehlt im Lernweg; die nächsten: 100, 200\n"));
    QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("missing.mp4"))));
  }

  // Refused before anything is played, with status 2 and one line saying why: an existing film (left as it
  // was, byte for byte), a missing folder, a kind not offered, a file that is no population, the options'
  // own mistakes; one that appears meanwhile is left alone too. The help lists the options, also without a display.
  void refusals() {
    const QByteArray old("alter Film\n");
    AppendText(Dir.filePath(QStringLiteral("taken.mp4")), old);
    W->Population()->DoSaveANN("some.dat");
    AppendText(Dir.filePath(QStringLiteral("broken.dat")), QByteArray(100, 'x'));
    const auto refused = [&](const QStringList& args, const QString& line) {
      const TExit exit = Zarnik(Dir.path(), args);
      QCOMPARE(exit.Status, 2);
      QCOMPARE(QString::fromUtf8(exit.Err), line + '\n');
      QCOMPARE(exit.Out, QByteArray());
    };
    refused({"--demonstrate", "some.dat", "--film", "taken.mp4"},
            "zarnik: Kann Film 'taken.mp4' nicht aufnehmen: gibt es schon, wird nicht überschrieben");
    QCOMPARE(Bytes(Dir.filePath(QStringLiteral("taken.mp4"))), old);
    refused({"--demonstrate", "some.dat", "--film", "no/such/film.mp4"},
            "zarnik: Kann Film 'no/such/film.mp4' nicht aufnehmen: Verzeichnis fehlt");
    refused({"--demonstrate", "some.dat", "--film", "film.avi"}, "zarnik: Kann Film 'film.avi' nicht aufnehmen: nur .mp4 oder .webm");
    refused({"--demonstrate", "broken.dat", "--film", "film.mp4"},
            QStringLiteral("zarnik: Kann Datei 'broken.dat' nicht laden: falsche Größe (100 statt %1 Bytes)")
                .arg(QFileInfo(Dir.filePath(QStringLiteral("some.dat"))).size()));
    refused({"--demonstrate", "some.dat", "--film", "film.mp4", "--episodes", "0"},
            "zarnik: --episodes braucht eine Zahl von 1 bis 100.");
    refused({"--film", "film.mp4"}, "zarnik: --demonstrate und --film gehen nur zusammen.");
    QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("film.mp4"))) && !QFile::exists(Dir.filePath(QStringLiteral("film.avi"))));
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("*.tmp*")}), QStringList());
    // A film that appears while it is made stays too: the demonstration's film is dropped.
    QProcess late;
    Start(late, Dir.path(), {"--demonstrate", "some.dat", "--film", "late.mp4", "--episodes", "1"});
    while (late.state() != QProcess::NotRunning && QDir(Dir.path()).entryList({QStringLiteral("late.mp4.tmp.*")}).isEmpty())
      late.waitForFinished(20);
    AppendText(Dir.filePath(QStringLiteral("late.mp4")), old);
    const TExit lost = Ended(late);
    QCOMPARE(lost.Status, 1);
    QCOMPARE(lost.Err, QByteArray("zarnik: Kann Film 'late.mp4' nicht aufnehmen!\n"));
    QCOMPARE(Bytes(Dir.filePath(QStringLiteral("late.mp4"))), old);
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("*.tmp*")}), QStringList());
    const TExit help = Zarnik(Dir.path(), {"--help"});
    QCOMPARE(help.Status, 0);
    for (const char* option : {"--demonstrate <FILE>", "--film <OUT>", "--episodes <N>"})
      QVERIFY2(help.Out.contains(option), help.Out.constData());
  }
};

QTEST_MAIN(UnattendedFilmTest)
#include "unattended_film_test.moc"
