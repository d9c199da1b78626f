#include "string_table.h"

#include <cstdio>
#include <cstring>

namespace {

const char* Lookup(unsigned resId) {
  switch (resId) {
    case IDS_CAPTION: return "Zarnik32";
    case IDS_ADJUST_MODE: return "Einstellmodus";
    case IDS_TRAINING: return "ANN trainiert";
    case IDS_ACTIVATED: return "ANN aktiviert";
    case IDS_BINGO: return "Bingo!\n\nKugel wieder mitnehmen?";
    case IDS_CANNOT_LOAD: return "Kann Datei 'Zarnik.dat' nicht laden!";
    case IDS_CANNOT_SAVE: return "Kann Datei 'Zarnik.dat' nicht speichern!";
    case IDS_STILL_ACTIVE: return "Bitte warten, ANN ist noch aktiv!";
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
