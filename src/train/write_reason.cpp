#include "write_reason.h"

#include <cerrno>
#include <string>

#include "fitness_log.h"
#include "headless_host.h"
#include "link_rule.h"
#include "regular_file.h"

const char* WriteReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return "Datenträger voll";
    case EFBIG: return "Datei zu groß";
    case EACCES:
    case EPERM: return "keine Schreibberechtigung";
    case EROFS: return "Datenträger schreibgeschützt";
    case ENOENT:
    case ENOTDIR: return "Verzeichnis fehlt";
    case NotRegularFile: return "keine reguläre Datei";
    case NotAFitnessLog: return "kein Fitnessverlauf";
    case ELOOP: return "zu viele symbolische Verweise";
    case UntrustedLink: return "symbolischer Verweis eines anderen Benutzers";
    case ENAMETOOLONG: return "Name zu lang";
    case EIO: return "Ein-/Ausgabefehler";
    case EMFILE:
    case ENFILE: return "zu viele offene Dateien";
    default: return "Schreibfehler";
  }
}

std::string LoadFailure(TLoadError e, size_t size) {
  if (e != TLoadError::WrongSize) return LoadReason(e);
  THeadlessHost host;
  std::string text = WrongSizeReason;
  text.replace(text.find("%1"), 2, std::to_string(size));
  text.replace(text.find("%2"), 2, std::to_string(MakeZarnikWorld(&host)->FileSize()));
  return text;
}

std::string LockedReason(pid_t holder) {
  if (holder > 0) return "Prozess " + std::to_string(holder) + " arbeitet schon daran";
  return "ein anderes Programm arbeitet schon daran";
}
