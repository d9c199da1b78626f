#include "document/population_document.h"

#include <QFile>

#include <cerrno>

#include "platform/population_lock.h"
#include "platform/atomic_file.h"

namespace {

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Name(const std::string& bytes) { return QFile::decodeName(bytes.c_str()); }

}  // namespace

TPopulationDocument::TPopulationDocument() = default;
TPopulationDocument::~TPopulationDocument() = default;

void TPopulationDocument::Renew(TZarnikHost* host, TTaskRunner* pool) {
  World = std::make_unique<TWorld>(host, DefaultWorldDef());  // built before the old one goes
  World->Pool = pool;
}

QString TPopulationDocument::DiskName(const QString& path) {
  return path.isEmpty() ? QString::fromLatin1(DefaultPopulationFile) : path;
}

QString TPopulationDocument::HistoryOf(const QString& path) { return Name(TPopulationFiles(Bytes(path)).History); }

TLoadError TPopulationDocument::Load(const QString& path, size_t& size) {
  return World->LoadANN(QFile::encodeName(DiskName(path)).constData(), size);
}

int TPopulationDocument::Store(const QString& path, pid_t& holder) {
  const QByteArray file = QFile::encodeName(DiskName(path));
  holder = 0;
  TPopulationLock lock;
  if (!lock.Acquire(file.constData()) && errno == EWOULDBLOCK) {
    holder = lock.Holder() == 0 ? -1 : lock.Holder();
    return EWOULDBLOCK;
  }
  // A FIFO or device in its place, or an untrusted link, is never written.
  const int error = CheckWritable(file.constData(), true);
  if (error != 0) return error;
  return World->DoSaveANN(file.constData()) ? 0 : errno;
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
