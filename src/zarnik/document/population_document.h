#pragma once

// The window's population as a document, beside the widgets that show it:
// the population, the file it came from or goes to with that file's family
// of names, its fitness history, and whether it changed since it was last
// loaded or saved, and the trainer's lock while it is stored. The window asks
// the user; this holds what was decided.

#include <QString>

#include <sys/types.h>

#include <memory>

#include "ann-ga/world.h"
#include "runs/population_files.h"
#include "watching/fitness_history.h"

class TTaskRunner;

class TPopulationDocument {
 public:
  TPopulationDocument();
  ~TPopulationDocument();

  // A fresh random population on `host`, its training on `pool`'s workers.
  // Draws from the shared random numbers, as every new population does.
  void Renew(TZarnikHost* host, TTaskRunner* pool);
  // The population goes before the host it was built on.
  void Drop() { World.reset(); }
  TWorld* Population() const { return World.get(); }
  TFitnessHistory& History() { return Rows; }
  const TFitnessHistory& History() const { return Rows; }

  // The file as the user named it ("": zarnik.dat, with the designed messages).
  const QString& FileName() const { return File; }
  // The names of `path`'s family ("": zarnik.dat), in the window's terms.
  static QString DiskName(const QString& path);
  static QString HistoryOf(const QString& path);

  // Loads the file at `path` ("": zarnik.dat); `size` as TWorld::LoadANN gives
  // it. Anything but None leaves the population as it was.
  TLoadError Load(const QString& path, size_t& size);
  // Stores the population at `path` under the trainer's lock of its file, so
  // that no trainer starts on it halfway, if nothing in its place forbids it:
  // 0, or errno. A trainer at work on it: nothing stored, EWOULDBLOCK and
  // `holder` its process (-1 unknown). A learning path beside the file that
  // is not this population's (it is new, or came from another file) is
  // moved aside to the file's next free backup number, named in `pathKeptAs`.
  int Store(const QString& path, pid_t& holder, QString& pathKeptAs);
  // The process holding the trainer's lock of `path` (-1 unknown, 0 none).
  static pid_t TrainerHolding(const QString& path);

  // Loaded from or stored in `path`: the document's file, unchanged.
  void BelongsTo(const QString& path);
  // The file the population is stored in by "Speichern" ("": zarnik.dat),
  // changed or not as before.
  void SetFileName(const QString& path) { File = path; }
  void MarkChanged(bool changed);
  bool Unsaved() const { return Changed; }
  // Every change, also of an unsaved population.
  unsigned Edits() const { return EditCount; }

 private:
  std::unique_ptr<TWorld> World;
  TFitnessHistory Rows;  // every generation of both trainings this session
  QString File;
  QString PathOwner;  // the file whose learning path is this population's, absolute; "" for a new one
  bool Changed = false;  // trained since last loaded or saved
  unsigned EditCount = 0;
};
