#pragma once

// The program's fixed texts, addressed by their resource ids. The texts are
// single-byte Windows-1252 strings, exactly as the user sees them.
enum : unsigned {
  IDS_CAPTION = 256,      // "Zarnik32"
  IDS_ADJUST_MODE = 257,  // "Einstellmodus"
  IDS_TRAINING = 258,     // "ANN trainiert"
  IDS_ACTIVATED = 259,    // "ANN aktiviert"
  IDS_BINGO = 260,        // "Bingo!\n\nKugel wieder mitnehmen?"
  IDS_CANNOT_LOAD = 261,  // "Kann Datei 'Zarnik.dat' nicht laden!"
  IDS_CANNOT_SAVE = 262,  // "Kann Datei 'Zarnik.dat' nicht speichern!"
  IDS_STILL_ACTIVE = 263, // "Bitte warten, ANN ist noch aktiv!"
};

// Copies string-table entry resId into buf (len bytes including the terminating
// zero). A missing or empty entry leaves "(resId)" in buf and returns false.
bool GetStr(unsigned resId, char* buf, unsigned len);
