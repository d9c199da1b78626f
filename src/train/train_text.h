#pragma once

#include <QtGlobal>

// The trainer's lines are German, marked QT_TRANSLATE_NOOP("zarnik-train", ...)
// where they are written, and printed in the language installed: English
// under an English locale. A printf format's English keeps its conversions.
const char* Tr(const char* text);
