#include "watching/fitness_follower.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace {

// Often enough to follow a trainer on a shared directory, cheap enough to
// cost nothing: one stat.
constexpr int PollMilliseconds = 1000;
// What follows a change notice before the file is read.
constexpr int NoticeMilliseconds = 100;
// Bytes read at a time; a history of any length is read in pieces.
constexpr size_t Piece = 64 * 1024;

}  // namespace

TFitnessFollower::TFitnessFollower(QObject* parent) : QObject(parent), Watcher(new QFileSystemWatcher(this)) {
  // A trainer appends a row a generation, thousands a second when it is fast:
  // the notices of a tenth of a second are read together, so that the chart
  // lays itself out again ten times a second at most, not once per row.
  auto* soon = new QTimer(this);
  soon->setSingleShot(true);
  soon->setInterval(NoticeMilliseconds);
  connect(soon, &QTimer::timeout, this, [this] { Poll(); });
  const auto notice = [soon] {
    if (!soon->isActive()) soon->start();
  };
  connect(Watcher, &QFileSystemWatcher::fileChanged, soon, notice);
  // The file may come later, or be replaced: its directory tells.
  connect(Watcher, &QFileSystemWatcher::directoryChanged, soon, notice);
  Slow.setInterval(PollMilliseconds);
  connect(&Slow, &QTimer::timeout, this, [this] { Poll(); });
}

TFitnessFollower::~TFitnessFollower() = default;

void TFitnessFollower::Follow(const QString& path) {
  if (!Watcher->files().isEmpty()) Watcher->removePaths(Watcher->files());
  if (!Watcher->directories().isEmpty()) Watcher->removePaths(Watcher->directories());
  File = path;
  Read = 0;
  if (File.isEmpty()) {
    Slow.stop();
    return;
  }
  Watcher->addPath(QFileInfo(File).absolutePath());
  Slow.start();
  Restart();
}

void TFitnessFollower::Restart() {
  Parser = TFitnessLogParser();
  Offset = 0;
  Device = 0;
  Inode = 0;
  Refused = false;
  Rows.clear();
  ReadNew();
  emit rowsRestarted(Rows);  // possibly none yet
  Rows.clear();
}

void TFitnessFollower::Watch() {
  if (Watcher->files().isEmpty() && QFileInfo::exists(File)) Watcher->addPath(File);
}

void TFitnessFollower::Poll() {
  if (File.isEmpty()) return;
  Watch();
  if (!ReadNew()) {
    Restart();
    return;
  }
  if (Rows.empty()) return;
  emit rowsAppended(Rows);
  Rows.clear();
}

bool TFitnessFollower::ReadNew() {
  const int fd = OpenRegularForReading(QFile::encodeName(File).constData());
  if (fd < 0) return true;  // not there (yet), or no regular file: nothing to show
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  struct stat st = {};
  if (::fstat(fd, &st) != 0) return true;
  // Another file now (an atomic replacement), or the same one cut short.
  if (Inode != 0 && (st.st_dev != Device || st.st_ino != Inode)) return false;
  if (st.st_size < Offset) return false;
  Device = st.st_dev;
  Inode = st.st_ino;
  if (Refused || st.st_size == Offset) return true;
  if (st.st_size > MaxHistoryFileBytes) {  // refused by its size, unread
    Refused = true;
    Rows.clear();
    return true;
  }
  std::string bytes(std::min<off_t>(st.st_size - Offset, static_cast<off_t>(Piece)), '\0');
  bool ok = true;
  while (Offset < st.st_size && ok) {
    const size_t want = static_cast<size_t>(std::min<off_t>(st.st_size - Offset, static_cast<off_t>(bytes.size())));
    const ssize_t n = ::pread(fd, bytes.data(), want, Offset);
    if (n <= 0) break;
    Offset += n;
    Read += n;
    ok = Parser.Feed(std::string_view(bytes.data(), static_cast<size_t>(n)));
  }
  if (!ok || !Parser.TakeRows(Rows)) {
    // Not a history, or beyond its limits: nothing of it is shown, as when loading.
    Refused = true;
    Rows.clear();
  }
  return true;
}
