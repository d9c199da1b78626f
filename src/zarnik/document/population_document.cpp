#include "document/population_document.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include "platform/population_lock.h"
#include "platform/atomic_file.h"
#include "runs/stale_path.h"

namespace {

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Name(const std::string& bytes) { return QFile::decodeName(bytes.c_str()); }
QString Absolute(const QString& path) { return QFileInfo(TPopulationDocument::DiskName(path)).absoluteFilePath(); }

}  // namespace

TPopulationDocument::TPopulationDocument() = default;
TPopulationDocument::~TPopulationDocument() = default;

void TPopulationDocument::Renew(TZarnikHost* host, TTaskRunner* pool) {
  World = std::make_unique<TWorld>(host, DefaultWorldDef());  // built before the old one goes
  World->Pool = pool;
  PathOwner.clear();
}

QString TPopulationDocument::DiskName(const QString& path) {
  return path.isEmpty() ? QString::fromLatin1(DefaultPopulationFile) : path;
}

QString TPopulationDocument::HistoryOf(const QString& path) { return Name(TPopulationFiles(Bytes(path)).History); }

TLoadError TPopulationDocument::Load(const QString& path, size_t& size) {
  const TLoadError e = World->LoadANN(QFile::encodeName(DiskName(path)).constData(), size);
  if (e == TLoadError::None) PathOwner = Absolute(path);
  return e;
}

int TPopulationDocument::Store(const QString& path, pid_t& holder, QString& pathKeptAs) {
  const QByteArray file = QFile::encodeName(DiskName(path));
  holder = 0;
  pathKeptAs.clear();
  TPopulationLock lock;
  if (!lock.Acquire(file.constData()) && errno == EWOULDBLOCK) {
    holder = lock.Holder() == 0 ? -1 : lock.Holder();
    return EWOULDBLOCK;
  }
  // A FIFO or device in its place, or an untrusted link, is never written.
  const int error = CheckWritable(file.constData(), true);
  if (error != 0) return error;
  if (!World->DoSaveANN(file.constData())) return errno;
  // Moved only once the population is there: a failed store leaves the old file with its path.
  if (Absolute(path) != PathOwner) {
    std::string kept;
    if (!SetAsideStalePath(TPopulationFiles(file.toStdString()), kept)) return errno;
    pathKeptAs = Name(kept);
    PathOwner = Absolute(path);
  }
  return 0;
}

pid_t TPopulationDocument::TrainerHolding(const QString& path) {
  return PopulationLockHolder(QFile::encodeName(DiskName(path)).constData());
}

void TPopulationDocument::BelongsTo(const QString& path) {
  File = path;
  Changed = false;
}

void TPopulationDocument::MarkChanged(bool changed) {
  Changed = changed;
  if (changed) ++EditCount;
}
