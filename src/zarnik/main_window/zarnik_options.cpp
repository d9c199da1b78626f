#include "main_window/zarnik_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

int UsageError(const QString& text) {
  std::fprintf(stderr, "zarnik: %s\n", qPrintable(text));
  return 2;
}

// The options, the same for the early look before the application object and the parse after it.
void AddOptions(QCommandLineParser& p) {
  p.setApplicationDescription(QCoreApplication::translate("zarnik", "Zarnik32: ein genetischer Algorithmus lehrt neuronale Netze, einen Roboterarm zu steuern. "
                                   "Ohne Optionen öffnet sich das Fenster."));
  p.addHelpOption();
  p.addOptions({
      {QStringLiteral("demonstrate"),
       QCoreApplication::translate("zarnik", "Das beste Netz der Netzdatei FILE vorführen, wie \"Vorführen\" es tut, ohne Fenster; braucht --film. "
                                   "FILE.path@GENERATION führt den Eintrag des Lernwegs vor."),
       QStringLiteral("FILE")},
      {QStringLiteral("film"),
       QCoreApplication::translate("zarnik", "Die Vorführung als Film nach OUT schreiben (.mp4 oder .webm), Bild für Bild wie der Film des Fensters; "
            "ohne grafische Anzeige geht es auch. Ein vorhandenes OUT wird nicht überschrieben."),
       QStringLiteral("OUT")},
      {QStringLiteral("episodes"),
       QCoreApplication::translate("zarnik", "Nur die ersten N der 100 Durchgänge vorführen (Vorgabe 100)."), QStringLiteral("N")},
  });
}

// File names as the window's dialogs hand them over, in the locale's encoding.
QStringList ArgumentsOf(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QFile::decodeName(argv[i]);
  return args;
}

}  // namespace

bool AsksForNoWindow(int argc, char** argv) {
  QCommandLineParser p;
  AddOptions(p);
  // Qt's own options are not known here; they do not hide the ones that are.
  p.parse(ArgumentsOf(argc, argv));
  return p.isSet(QStringLiteral("film")) || p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("help-all"));
}

int ParseZarnikOptions(TZarnikOptions& o, const QStringList& arguments) {
  QCommandLineParser p;
  AddOptions(p);
  if (!p.parse(arguments)) return UsageError(p.errorText());
  // Qt's own options too: only the parser's own road lists them, and it ends the program there.
  if (p.isSet(QStringLiteral("help-all"))) p.process(arguments);
  if (p.isSet(QStringLiteral("help"))) {
    std::fputs(qPrintable(p.helpText()), stdout);
    return 0;
  }
  if (!p.positionalArguments().isEmpty())
    return UsageError(QCoreApplication::translate("zarnik", "Unbekanntes Argument: %1").arg(p.positionalArguments().front()));
  const bool demonstrate = p.isSet(QStringLiteral("demonstrate")), film = p.isSet(QStringLiteral("film"));
  if (!demonstrate && !film && !p.isSet(QStringLiteral("episodes"))) return -1;
  if (!demonstrate || !film) return UsageError(QCoreApplication::translate("zarnik", "--demonstrate und --film gehen nur zusammen."));
  if (p.values(QStringLiteral("demonstrate")).size() > 1 || p.values(QStringLiteral("film")).size() > 1)
    return UsageError(QCoreApplication::translate("zarnik", "Nur eine Netzdatei und einen Film angeben."));
  o.demonstrate = p.value(QStringLiteral("demonstrate"));
  o.film = p.value(QStringLiteral("film"));
  if (o.demonstrate.isEmpty() || o.film.isEmpty()) return UsageError(QCoreApplication::translate("zarnik", "Der Name der Netzdatei oder des Films ist leer."));
  if (p.isSet(QStringLiteral("episodes"))) {
    bool ok = false;
    o.episodes = p.value(QStringLiteral("episodes")).toInt(&ok);
    if (!ok || o.episodes < 1 || o.episodes > AllEpisodes)
      return UsageError(QCoreApplication::translate("zarnik", "--episodes braucht eine Zahl von 1 bis %1.").arg(AllEpisodes));
  }
  return -1;
}
