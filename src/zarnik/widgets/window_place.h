#pragma once

#include <QRect>
#include <QString>

class QWidget;

// Where an additional window (chart, key overview) goes the first time: its
// frame `size` wholly inside `screen`, beside the main window's frame `main`
// (right of it, else left, else below, else above) where there is room,
// top-aligned with it; otherwise as close to the right of it as the screen allows.
QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& screen);

// Gives `window` the place and size it had when last shown (kept across
// starts under `key`), or, the first time or if that place is off every
// screen now, a place beside `main`. From then on its place and size are kept
// whenever it moves, is resized or hidden. Call once, before the first show.
void KeepWindowPlace(QWidget* window, const QWidget* main, const QString& key);
