#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <sys/types.h>

#include <vector>

#include "history/fitness_log.h"

class QFileSystemWatcher;

// Follows a history file that another program (a trainer, a Slurm task on a
// shared directory) appends to: after the first reading only the bytes
// appended since are read, through the core's history parser, and the new
// whole rows are handed on. A file that was replaced or cut short is read
// again from its start. Changes come from the file system watcher, and from
// a slow poll for file systems that do not report them (NFS).
class TFitnessFollower : public QObject {
  Q_OBJECT

 public:
  explicit TFitnessFollower(QObject* parent = nullptr);
  ~TFitnessFollower() override;

  // Starts following `path` ("" stops); its rows so far come at once by rowsRestarted.
  void Follow(const QString& path);
  const QString& Path() const { return File; }
  // Reads what was appended since the last reading; called by the watcher and the poll.
  void Poll();
  // Bytes read from the file since Follow(), for tests that check that a follow-up reads only the new ones.
  long long BytesRead() const { return Read; }

 signals:
  // The file's rows from its start (after Follow, a replacement, or a cut).
  void rowsRestarted(const std::vector<TFitnessRow>& rows);
  // Rows appended since the last signal.
  void rowsAppended(const std::vector<TFitnessRow>& rows);

 private:
  // Reads what the file has beyond Offset into Rows; false if the file was
  // replaced or cut short since, and must be read from its start.
  bool ReadNew();
  void Restart();
  void Watch();

  QString File;
  QFileSystemWatcher* Watcher = nullptr;
  QTimer Slow;
  TFitnessLogParser Parser;
  off_t Offset = 0;
  dev_t Device = 0;
  ino_t Inode = 0;
  bool Refused = false;  // not a history: nothing of it is shown until it is replaced
  long long Read = 0;
  std::vector<TFitnessRow> Rows;  // scratch
};
