#include "watching/fitness_history.h"

#include <QtGlobal>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/link_rule.h"
#include "platform/regular_file.h"

namespace {

// Why a history file was not read, for the status bar (translated there).
const char* Refusal(int error) {
  switch (error) {
    case NotRegularFile: return QT_TRANSLATE_NOOP("TFitnessHistory", "keine reguläre Datei");
    case UntrustedLink: return QT_TRANSLATE_NOOP("TFitnessHistory", "Verweis eines anderen Benutzers");
    case ELOOP: return QT_TRANSLATE_NOOP("TFitnessHistory", "zu viele symbolische Verweise");
    case EACCES:
    case EPERM: return QT_TRANSLATE_NOOP("TFitnessHistory", "keine Leseberechtigung");
    case 0:
    case NotAFitnessLog: return QT_TRANSLATE_NOOP("TFitnessHistory", "kein Fitnessverlauf");
    default: return QT_TRANSLATE_NOOP("TFitnessHistory", "nicht lesbar");
  }
}

}  // namespace

void TFitnessHistory::Add(const TGenerationFigures& figures) {
  const double seconds = std::chrono::duration<double>(Clock::now() - RunStart).count();
  Rows.push_back(MakeFitnessRow(figures, seconds));
}

void TFitnessHistory::Clear() {
  Rows.clear();
  Remember("");
  ++Replaced;
}

const char* TFitnessHistory::Load(const char* path) {
  std::vector<TFitnessRow> read;
  errno = 0;  // a refused content sets none
  const bool ok = ReadFitnessLog(path, read);
  const int error = errno;
  Rows = std::move(read);  // empty unless the whole file was good
  ++Replaced;
  const bool missing = !ok && error == ENOENT;  // a new history then: the next save starts it
  Remember(ok || missing ? path : "");
  return ok || missing ? nullptr : Refusal(error);
}

const char* TFitnessHistory::Save(const char* path, bool replace, bool& failed) {
  failed = false;
  // Only a history read whole is appended to or replaced; anything else stays as it is.
  const int check = CheckFitnessLogForAppend(path);
  if (check == NotAFitnessLog || check == NotRegularFile || check == UntrustedLink || check == ELOOP)
    return Refusal(check);
  if (check == 0 && replace) {
    failed = !WriteFitnessLog(path, Rows);
  } else if (check == 0) {
    // The rows it holds already are not written again.
    FILE* f = OpenFitnessLogForAppend(path);
    if (f == nullptr) {
      failed = true;
      return nullptr;
    }
    std::string text;
    char line[128];
    for (size_t i = Holds(path) ? InFile : 0; i < Rows.size(); ++i)
      text.append(line, FormatFitnessRow(Rows[i], line, sizeof line));
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    failed = (std::fclose(f) != 0) || !written;
  } else {
    failed = true;  // it cannot be written: no room for its name, no permission, ...
  }
  if (!failed) Remember(path);
  return nullptr;
}

void TFitnessHistory::Remember(const std::string& path) {
  File = path;
  InFile = Rows.size();
  struct stat st = {};
  FileId = !path.empty() && ::stat(path.c_str(), &st) == 0 ? std::pair{st.st_dev, st.st_ino} : std::pair<dev_t, ino_t>{};
}

bool TFitnessHistory::Holds(const char* path) const {
  if (File.empty()) return false;
  if (File == path) return true;
  // The same file by another name: "zarnik.csv" and its full path from a file dialog.
  struct stat st = {};
  return ::stat(path, &st) == 0 && FileId == std::pair{st.st_dev, st.st_ino};
}

int TFitnessHistory::LastPass1() const {
  for (auto r = Rows.rbegin(); r != Rows.rend(); ++r)
    if (r->mode == 1) return r->generation;
  return -1;
}

void TFitnessHistory::Replace(const std::vector<TFitnessRow>& rows) {
  Rows = rows;
  InFile = Rows.size();
  ++Replaced;
}

void TFitnessHistory::Append(const std::vector<TFitnessRow>& rows) {
  Rows.insert(Rows.end(), rows.begin(), rows.end());
  InFile = Rows.size();
}
