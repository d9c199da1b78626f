// zarnik --demonstrate FILE --film OUT: the demonstration ("Vorführen")
// filmed by the window's own steps and recorder, with the window never shown,
// so a machine without a screen makes the very film the window would.
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "main_window/zarnik_options.h"
#include "main_window/zarnik_window.h"
#include "platform/atomic_file.h"
#include "platform/write_reason.h"
#include "runs/path_entry.h"
#include "runs/population_files.h"
#include "translation/language.h"
#include "watching/scene_recorder.h"

namespace {

// A status for what is refused before anything is played, one for a film
// that failed while it was made.
constexpr int Refused = 2, Failed = 1;

int Refuse(const QString& line) {
  std::fprintf(stderr, "zarnik: %s\n", qPrintable(line));
  return Refused;
}

// Why `path` cannot take a film, before the demonstration starts; "" if it can.
// A name that is taken (even by a dangling link) is refused: nobody is there
// to ask whether it may be replaced.
QString FilmTargetRefusal(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("mp4") && suffix != QLatin1String("webm"))
    return TZarnikWindow::tr("nur .mp4 oder .webm");
  const QByteArray file = QFile::encodeName(path);
  struct stat st = {};
  const int error = ::lstat(file.constData(), &st) == 0 ? EEXIST : CheckWritable(file.constData(), true);
  return error == 0 ? QString() : QCoreApplication::translate("zarnik-train", WriteReasonText(error));
}

}  // namespace

// The one place that turns the argument of --demonstrate into the network shown:
// a population file's best, or a learning-path entry ("FILE.path@GEN") put in
// as the best of the population beside its path, as "Lernweg..." puts it in.
QString TZarnikWindow::LoadDemonstrated(const QString& source) {
  TPathEntryName name;
  if (ParsePathEntryName(QFile::encodeName(source).toStdString(), name)) return LoadDemonstratedEntry(name);
  size_t size = 0;
  const TLoadError failure = Document.Load(source, size);
  return failure == TLoadError::None ? QString() : LoadFailureReason(failure, size);
}

// The path is read first, as the trainer reads it: its reasons are the trainer's.
QString TZarnikWindow::LoadDemonstratedEntry(const TPathEntryName& name) {
  std::vector<TPathEntry> path;
  const TPathError error = ReadLearningPath(name.file.c_str(), path);
  if (error != TPathError::None) return LoadReasonText(PathReason(error));
  std::vector<int> nearest;
  const TPathEntry* entry = FindPathEntry(path, name.generation, nearest);
  if (entry == nullptr) return MissingEntryText(name.generation, nearest);
  const QString population = QFile::decodeName(PopulationBesidePath(name.file).c_str());
  size_t size = 0;
  const TLoadError failure = Document.Load(population, size);
  if (failure != TLoadError::None) return QStringLiteral("%1: %2").arg(population, LoadFailureReason(failure, size));
  PutEntryNetwork(*entry, Population()->bestIndividual);
  return QString();
}

int TZarnikWindow::FilmDemonstration(const TZarnikOptions& options) {
  const QString& film = options.film;
  const QString refusal = FilmTargetRefusal(film);
  if (!refusal.isEmpty()) return Refuse(tr("Kann Film '%1' nicht aufnehmen: %2").arg(film, refusal));
  const QString unloaded = LoadDemonstrated(options.demonstrate);
  if (!unloaded.isEmpty()) return Refuse(tr("Kann Datei '%1' nicht laden: %2").arg(options.demonstrate, unloaded));
  Unattended = true;
  FilmLost = false;
  // At the rate of the user's tempo, as the window films; played without waiting, as nobody watches.
  if (!Watching.StartFilm(film, false)) return Refuse(tr("Kann Film '%1' nicht aufnehmen!").arg(QFileInfo(film).fileName()));
  Watching.Pacer.SetTempo(TStepPacer::Maximal);
  const bool whole = Demonstrate(options.episodes);  // its end finishes the film
  // Stopped by a signal, the caller's status says so; a lost film has said why.
  if (FilmLost || !whole) return Failed;
  std::printf("%s\n%s\n", qPrintable(SummaryOf(Shown)),
              qPrintable(tr("Film '%1': %2 Bilder").arg(film).arg(Watching.Recorder->Frames())));
  return 0;
}
