#include "arm/string_table.h"

#include <cstdio>
#include <cstring>

#include "platform/translatable.h"

namespace {

// German as designed; the window shows them translated (context "StringTable").
const char* Lookup(unsigned resId) {
  switch (resId) {
    case IDS_CAPTION: return "Zarnik32";
    case IDS_ADJUST_MODE: return QT_TRANSLATE_NOOP("StringTable", "Einstellmodus");
    case IDS_TRAINING: return QT_TRANSLATE_NOOP("StringTable", "ANN trainiert");
    case IDS_ACTIVATED: return QT_TRANSLATE_NOOP("StringTable", "ANN aktiviert");
    case IDS_BINGO: return QT_TRANSLATE_NOOP("StringTable", "Bingo!\n\nKugel wieder mitnehmen?");
    case IDS_CANNOT_LOAD: return QT_TRANSLATE_NOOP("StringTable", "Kann Datei 'Zarnik.dat' nicht laden!");
    case IDS_CANNOT_SAVE: return QT_TRANSLATE_NOOP("StringTable", "Kann Datei 'Zarnik.dat' nicht speichern!");
    case IDS_STILL_ACTIVE: return QT_TRANSLATE_NOOP("StringTable", "Bitte warten, ANN ist noch aktiv!");
    default: return nullptr;
  }
}

}  // namespace

bool GetStr(unsigned resId, char* buf, unsigned len) {
  if (buf == nullptr || len == 0) return false;
  const char* text = Lookup(resId);
  if (text == nullptr || *text == '\0') {
    std::snprintf(buf, len, "(%d)", static_cast<int>(resId));
    return false;
  }
  std::snprintf(buf, len, "%s", text);
  return true;
}
