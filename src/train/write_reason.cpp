#include "train/write_reason.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include <QCoreApplication>

#include "history/fitness_log.h"
#include "ann-ga/world.h"
#include "translation/language.h"
#include "platform/atomic_file.h"
#include "platform/link_rule.h"
#include "platform/population_lock.h"
#include "platform/regular_file.h"
#include "platform/write_reason.h"
#include "runs/population_files.h"
#include "train/train_text.h"

const char* WriteReason(int error) { return Tr(WriteReasonText(error)); }

std::string LoadFailure(TLoadError e, size_t size) {
  const qint64 expected = static_cast<qint64>(NetworkFileSize());
  return LoadReasonText(LoadReasonFormat(e, true), static_cast<qint64>(size), expected).toStdString();
}

std::string LockedReason(pid_t holder) {
  if (holder > 0)
    return QCoreApplication::translate("zarnik-train", "Prozess %1 arbeitet schon daran").arg(holder).toStdString();
  return Tr(QT_TRANSLATE_NOOP("zarnik-train", "ein anderes Programm arbeitet schon daran"));
}

void ReportLoadFailure(const std::string& file, TLoadError e, size_t size) {
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")), file.c_str(),
               LoadFailure(e, size).c_str());
}

void ReportWriteFailure(const std::string& file, int error) {
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht schreiben: %s\n")), file.c_str(),
               WriteReason(error));
}

bool RefuseTaken(const std::string& file) {
  struct stat st = {};
  if (::lstat(file.c_str(), &st) != 0) return false;
  ReportWriteFailure(file, EEXIST);
  return true;
}

void ReportUnreadable(const std::string& file, int error) {
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")), file.c_str(),
               error == EILSEQ ? Tr(QT_TRANSLATE_NOOP("zarnik-train", "unvollständig oder fremd")) : WriteReason(error));
}

void ReportPathFailure(const std::string& file, TPathError e) {
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")), file.c_str(),
               LoadReasonText(PathReason(e)).toUtf8().constData());
}

bool TakeLock(const std::string& file, TPopulationLock& lock) {
  if (IsWriteProtected(file.c_str())) {
    ReportWriteFailure(file, EACCES);
    return false;
  }
  if (lock.Acquire(file.c_str())) return true;
  if (errno == EWOULDBLOCK)
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht trainieren: %s\n")), file.c_str(),
                 LockedReason(lock.Holder()).c_str());
  else
    ReportWriteFailure(TPopulationFiles(file).Lock, errno);
  return false;
}
