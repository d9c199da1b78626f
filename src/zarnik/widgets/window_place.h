#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QWidget;

// Where an additional window (chart, key overview) goes the first time: its
// frame wholly inside `screen`, beside the main window's frame `main` (right
// of it, else left, else below, else above), top- or left-aligned with it. A
// window that fits nowhere beside it at its `size` is made smaller, down to
// `minimum`, on the side with the most room; if even that fits nowhere it
// goes at the screen's right edge, over the main window. Frames in `taken`
// (other additional windows already open) are kept clear where the full size
// fits elsewhere beside the main window: on a side, or stacked below them.
QRect PlaceBeside(const QRect& main, QSize size, QSize minimum, const QRect& screen,
                  const QList<QRect>& taken = {});

// The frame `frame` moved (and, if it is larger, made smaller) so that it
// lies wholly inside `screen`; unchanged if it does already.
QRect FitInside(const QRect& frame, const QRect& screen);

// Gives `window` the place and size it had when last shown (kept across
// starts under `key`), or, the first time or if that place is off every
// screen now, a place beside `main`. From then on its place and size are kept
// whenever it moves, is resized or hidden. Once shown, when its real frame
// (title bar included) is known, a frame that reaches past the screen is
// moved onto it. Call once, before the first show.
void KeepWindowPlace(QWidget* window, const QWidget* main, const QString& key);
