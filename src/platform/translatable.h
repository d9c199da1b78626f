#pragma once

// Marks a user-visible text of the Qt-free code for Qt Linguist: lupdate finds
// the marked literals by this name, and the Qt programs translate the text
// where they show it (QCoreApplication::translate with the same context).
// Here it is the text itself, German as written.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
