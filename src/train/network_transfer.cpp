#include "train/network_transfer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>

#include "ann-ga/load_reason.h"
#include "ann-ga/portable_network.h"
#include "ann-ga/world.h"
#include "hosts/headless_host.h"
#include "platform/atomic_file.h"
#include "platform/population_lock.h"
#include "platform/regular_file.h"
#include "runs/population_files.h"
#include "runs/stale_path.h"
#include "train/network_json.h"
#include "train/train_text.h"
#include "train/write_reason.h"
#include "translation/language.h"

namespace {

void ReportJsonFailure(const std::string& file, const QString& why) {
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")), file.c_str(),
               why.toUtf8().constData());
}

// The whole JSON file, refused unread when it is larger than any network file.
bool ReadJson(const std::string& file, QByteArray& json) {
  const int fd = OpenRegularForReading(file.c_str());
  if (fd < 0) {
    const TLoadError e = errno == ENOENT           ? TLoadError::Missing
                         : errno == NotRegularFile ? TLoadError::NotRegular
                                                   : TLoadError::Unreadable;
    ReportJsonFailure(file, LoadReasonText(LoadReason(e)));
    return false;
  }
  // One byte more than allowed shows a file that grew after it was measured.
  std::vector<char> data(static_cast<size_t>(MaxNetworkJsonBytes) + 1);
  size_t got = 0;
  struct stat st = {};
  bool ok = ::fstat(fd, &st) == 0;
  const bool small = ok && st.st_size <= MaxNetworkJsonBytes;
  while (ok && small && got < data.size()) {
    const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) {
    ReportJsonFailure(file, LoadReasonText(LoadReason(TLoadError::Unreadable)));
    return false;
  }
  if (!small || got > static_cast<size_t>(MaxNetworkJsonBytes)) {
    ReportJsonFailure(file, QString::fromUtf8(Tr(QT_TRANSLATE_NOOP("zarnik-train", "größer als 1 MiB"))));
    return false;
  }
  json = QByteArray(data.data(), static_cast<qsizetype>(got));
  return true;
}

// The population file's lock, as training and storing take it.
bool LockForWriting(const std::string& file, TPopulationLock& lock) {
  if (lock.Acquire(file.c_str())) return true;
  if (errno == EWOULDBLOCK)
    std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht schreiben: %s\n")),
                 file.c_str(), LockedReason(lock.Holder()).c_str());
  else
    ReportWriteFailure(TPopulationFiles(file).Lock, errno);
  return false;
}

}  // namespace

int ExportNetwork(const TTrainOptions& o) {
  const std::string& json = o.exportJson;
  if (RefuseTaken(json)) return 2;
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  const TLoadError e = world->LoadANN(o.file.c_str(), size);
  if (e != TLoadError::None) {
    ReportLoadFailure(o.file, e, size);
    return 2;
  }
  TPortableNetwork net;
  if (!TakeBestNetwork(*world, net)) {
    std::fprintf(stderr,
                 Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann das beste Netz aus '%s' nicht ausgeben: es hat Verbindungen, "
                                      "die eine Schicht überspringen oder zurückführen\n")),
                 o.file.c_str());
    return 2;
  }
  const QByteArray bytes = NetworkToJson(net);
  if (!WriteNewFileAtomically(json.c_str(), bytes.constData(), static_cast<size_t>(bytes.size()))) {
    ReportWriteFailure(json, errno);
    return 2;
  }
  return 0;
}

int ImportNetwork(const TTrainOptions& o) {
  const std::string& json = o.importJson;
  if (RefuseTaken(o.file)) return 2;
  QByteArray text;
  if (!ReadJson(json, text)) return 2;
  TPortableNetwork net;
  QString why;
  if (!NetworkFromJson(text, net, why)) {
    ReportJsonFailure(json, why);
    return 2;
  }
  THeadlessHost host;
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  if (!FitsWorld(net, *world)) {
    ReportJsonFailure(json, LoadReasonText(LoadReason(TLoadError::ForeignShape)));
    return 2;
  }
  TPopulationLock lock;
  if (!LockForWriting(o.file, lock)) return 2;
  // FILE is not there, so a learning path beside it belongs to no network
  // FILE could hold: moved aside before FILE appears, never shown for this one.
  const TPopulationFiles names(o.file);
  std::string keptPath;
  if (!SetAsideStalePath(names, keptPath)) {
    ReportWriteFailure(names.Path, errno);
    return 2;
  }
  if (!keptPath.empty())
    std::printf(Tr(QT_TRANSLATE_NOOP("zarnik-train", "Der Lernweg '%s' gehört zu keinem Netz in '%s'; er liegt jetzt in '%s'\n")),
                names.Path.c_str(), o.file.c_str(), keptPath.c_str());
  FillWorldWith(*world, net);
  std::vector<unsigned char> bytes;
  world->EncodeFile(bytes);
  if (!WriteNewFileAtomically(o.file.c_str(), bytes.data(), bytes.size())) {
    ReportWriteFailure(o.file, errno);
    return 2;
  }
  return 0;
}
