#include "ann-ga/load_reason.h"

#include "platform/translatable.h"

const char* LoadReason(TLoadError e) {
  switch (e) {
    case TLoadError::Missing: return QT_TRANSLATE_NOOP("LoadReason", "nicht vorhanden");
    case TLoadError::Unreadable: return QT_TRANSLATE_NOOP("LoadReason", "nicht lesbar");
    case TLoadError::WrongSize: return QT_TRANSLATE_NOOP("LoadReason", "falsche Größe");
    case TLoadError::ForeignShape: return QT_TRANSLATE_NOOP("LoadReason", "fremde Netzform");
    case TLoadError::NotRegular: return QT_TRANSLATE_NOOP("LoadReason", "keine reguläre Datei");
    case TLoadError::None: break;
  }
  return "";
}

const char* const WrongSizeReason = QT_TRANSLATE_NOOP("LoadReason", "falsche Größe (%1 statt %2 Bytes)");

const char* LoadReasonFormat(TLoadError e, bool sizesKnown) {
  return e == TLoadError::WrongSize && sizesKnown ? WrongSizeReason : LoadReason(e);
}
