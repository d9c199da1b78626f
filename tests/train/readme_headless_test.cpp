// The README's "Headless training" as a user follows it: the command, then the window's Laden and F7.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window/zarnik_window.h"
#include "watching/fitness_chart.h"
#include "widgets/message_box.h"
#include "world.h"

class ReadmeHeadlessTest : public QObject {
  Q_OBJECT

 private slots:
  void asWritten() {
    QFile readme(QStringLiteral(ZARNIK_README));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString section = text.section(QStringLiteral("## Headless training"), 1).section(QStringLiteral("\n## "), 0, 0);
    const auto command = QRegularExpression(QStringLiteral("\n    zarnik-train ([^\n]*)\n")).match(section);
    QVERIFY2(command.hasMatch(), "no indented zarnik-train command in the section");
    const QStringList args = command.captured(1).split(' ', Qt::SkipEmptyParts);
    const int generations = args.value(args.indexOf("--generations") + 1).toInt();
    QVERIFY2(generations > 0 && generations <= 100, "the example should finish in seconds");

    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QProcess train;
    train.start(QStringLiteral(ZARNIK_TRAIN_EXE), args);
    QVERIFY(train.waitForFinished(300000));
    QCOMPARE(train.exitCode(), 0);
    QCOMPARE(QFile(QStringLiteral("zarnik.dat")).size(), qint64(199620));
    QFile history(QStringLiteral("zarnik.csv"));
    QVERIFY2(history.open(QIODevice::ReadOnly), "no history beside zarnik.dat");
    const QList<QByteArray> lines = history.readAll().split('\n');
    QCOMPARE(lines.first(),
             QByteArray("generation,mode,best_fitness,average_fitness,generation_of_best,seconds,best_deliveries"));
    QCOMPARE(lines.size(), generations + 2);  // header, rows, the empty rest after the last "\n"

    TZarnikWindow window;
    window.SetupWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Dispatch(CM_LOADDATA);
    QCOMPARE(MessageBoxHook().Shown, 0);
    QCOMPARE(window.AnnGaWorld->Generations, generations);
    window.Dispatch(CM_FITCHART);
    QVERIFY(window.FitnessChart != nullptr && window.FitnessChart->isVisible());
    QCOMPARE(window.FitnessChart->Received(TFitnessChartWindow::Best2), size_t(generations));
  }
};

QTEST_MAIN(ReadmeHeadlessTest)
#include "readme_headless_test.moc"
