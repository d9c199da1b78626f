// Every English translation keeps the places its German source fills: the same
// %1, %2 .. for QString::arg, the same printf conversions in the same order for
// the trainer's lines. A translation that lost or swapped one would print the
// wrong figure, or read past the arguments.
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

class PlaceholdersTest : public QObject {
  Q_OBJECT

  static QStringList Places(const QString& text) {
    static const QRegularExpression place(QStringLiteral("%(?:[0-9]+|[-+ #0]*[0-9]*(?:\\.[0-9]+)?(?:hh|h|ll|l|z|j|t)?[diouxXfFeEgGcsp%])"));
    QStringList places;
    for (auto it = place.globalMatch(text); it.hasNext();) places << it.next().captured();
    return places;
  }

 private slots:
  void samePlaces() {
    QFile ts(QStringLiteral(ZARNIK_TS_FILE));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString source;
    int messages = 0;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == QLatin1String("source")) {
        source = xml.readElementText();
      } else if (xml.name() == QLatin1String("translation")) {
        const QString translation = xml.readElementText();
        QCOMPARE(Places(translation), Places(source));
        ++messages;
      }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 100);
    // The pattern itself, on texts of both kinds.
    QCOMPARE(Places(QStringLiteral("Kann Datei '%1' nicht laden: %2")), QStringList({"%1", "%2"}));
    QCOMPARE(Places(QStringLiteral("zarnik-train: %s: %zu statt %zu Bytes, 100%%")), QStringList({"%s", "%zu", "%zu", "%%"}));
  }
};

QTEST_GUILESS_MAIN(PlaceholdersTest)
#include "placeholders_test.moc"
