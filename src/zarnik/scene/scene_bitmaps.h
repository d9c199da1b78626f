#pragma once

// The pictures the coloured scene is built from (joints, platform blocks,
// link, claws, ball), with their letters, and the font of the letters.

#include <QFont>
#include <QImage>

// Side of the square cell each label letter is drawn in.
constexpr int SQUARE = 25;

// The pictures the coloured scene is built from, all Format_RGB32. Entries
// that share a picture are separate images because they get different letters.
struct TSceneBitmaps {
  QImage AxleBmp[9];  // [0..3] joints A..D, [4..7] the same selected, [8] joint mask
  QImage PlatBmp[5];  // [0], [1] bottom block of E, F; [2], [3] selected; [4] plain block
  QImage LinkBmp[3];  // [0] link bar, [1] claw while empty, [2] claw holding the ball
  QImage BallBmp[2];  // [0] ball, [1] ball mask

  // Loads every entry from the embedded bitmaps 256..263.
  void Load();
  // Draws the letters A..D and E, F into the joint and platform pictures:
  // light blue in the normal ones, light cyan in the selected ones.
  void DrawLabels(const QFont& font);
};

// The bold label font: a proportional face whose lines are at most 25 pixels
// high, drawn without antialiasing so that the letters stay crisp pixels.
QFont MakeSimFont();
