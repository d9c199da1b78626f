#include "platform/write_reason.h"

#include <cerrno>

#include "platform/link_rule.h"
#include "platform/regular_file.h"
#include "platform/translatable.h"

const char* WriteReasonText(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return QT_TRANSLATE_NOOP("zarnik-train", "Datenträger voll");
    case EFBIG: return QT_TRANSLATE_NOOP("zarnik-train", "Datei zu groß");
    case EACCES:
    case EPERM: return QT_TRANSLATE_NOOP("zarnik-train", "keine Schreibberechtigung");
    case EROFS: return QT_TRANSLATE_NOOP("zarnik-train", "Datenträger schreibgeschützt");
    case ENOENT:
    case ENOTDIR: return QT_TRANSLATE_NOOP("zarnik-train", "Verzeichnis fehlt");
    case NotRegularFile: return QT_TRANSLATE_NOOP("zarnik-train", "keine reguläre Datei");
    case EILSEQ: return QT_TRANSLATE_NOOP("zarnik-train", "kein Fitnessverlauf");
    case ELOOP: return QT_TRANSLATE_NOOP("zarnik-train", "zu viele symbolische Verweise");
    case UntrustedLink: return QT_TRANSLATE_NOOP("zarnik-train", "symbolischer Verweis eines anderen Benutzers");
    case ENAMETOOLONG: return QT_TRANSLATE_NOOP("zarnik-train", "Name zu lang");
    case EIO: return QT_TRANSLATE_NOOP("zarnik-train", "Ein-/Ausgabefehler");
    case EEXIST: return QT_TRANSLATE_NOOP("zarnik-train", "gibt es schon, wird nicht überschrieben");
    case EMFILE:
    case ENFILE: return QT_TRANSLATE_NOOP("zarnik-train", "zu viele offene Dateien");
    default: return QT_TRANSLATE_NOOP("zarnik-train", "Schreibfehler");
  }
}

