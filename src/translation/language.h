#pragma once

#include <QString>

#include <vector>

class QCoreApplication;

// The language of both programs: German as designed, English where the
// locale's messages ask for it. Shared by the window and the trainer, which
// both reach the Qt-free core's German texts through CoreText.

// English when the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty is "en" or begins with "en_" or "en."; German for every other locale and C.
bool EnglishWanted(const char* lcAll, const char* lcMessages, const char* lang);
// The same, from this process's environment.
bool EnglishWanted();

// English: the programs' own English texts (Qt's are English already).
// German: Qt's own texts in German from `qtDir` (Debian's qt6-translations-l10n).
// Installed into the application, whose children they become; false if not found.
bool InstallTranslations(QCoreApplication& app, bool english, const QString& qtDir);

// A text of the Qt-free core, written there in Windows-1252 and marked with
// QT_TRANSLATE_NOOP(context, ...), in the language installed.
QString CoreText(const char* context, const char* text);

// Why a population file could not be loaded: a reason of the core's load
// rule (UTF-8, marked in the context "LoadReason") in the language
// installed, its %1 and %2, where it has them, the sizes found and expected.
QString LoadReasonText(const char* reason, qint64 found = -1, qint64 expected = -1);

// Why a learning path has no entry of `generation`: the generations of the
// entries nearest to it, or that the path is empty. Both programs say it alike.
QString MissingEntryText(int generation, const std::vector<int>& nearest);

// A text of the Qt-free tables (ranking, learning path), marked in the context
// "zarnik-train", in the language installed as UTF-8: translated once and
// kept as long as the program lives, as those tables' translators need.
const char* TrainerText(const char* text);
