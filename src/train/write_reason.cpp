#include "write_reason.h"

#include <cerrno>

#include "fitness_log.h"
#include "headless_host.h"
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
    case ENAMETOOLONG: return "Name zu lang";
    case EIO: return "Ein-/Ausgabefehler";
    case EMFILE:
    case ENFILE: return "zu viele offene Dateien";
    default: return "Schreibfehler";
  }
}

const char* LoadReason(TLoadError e) {
  switch (e) {
    case TLoadError::Missing: return "nicht vorhanden";
    case TLoadError::Unreadable: return "nicht lesbar";
    case TLoadError::WrongSize: return "falsche Größe";
    case TLoadError::ForeignShape: return "fremde Netzform";
    case TLoadError::NotRegular: return "keine reguläre Datei";
    case TLoadError::None: break;
  }
  return "";
}

std::string LoadFailure(TLoadError e, size_t size) {
  if (e != TLoadError::WrongSize) return LoadReason(e);
  THeadlessHost host;
  const size_t expected = MakeZarnikWorld(&host)->FileSize();
  return std::string(LoadReason(e)) + " (" + std::to_string(size) + " statt " + std::to_string(expected) + " Bytes)";
}
