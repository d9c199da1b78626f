#pragma once

#include <QFont>
#include <QImage>

#include "arm/arm_model.h"
#include "scene/scene_bitmaps.h"

// Builds the whole 756 x 468 scene picture from the arm model and the window's
// selection (0, or the letter 'A'..'F' drawn highlighted). Qt-only and
// window-free, so the drawing can be measured and checked offscreen. The
// picture must be a 756 x 468 Format_RGB32 image.
namespace Render {

// The coloured scene: platform blocks, ball, links and claw placed pixel by
// pixel in their joint frames, joint sprites, and the red contact marks.
void DrawColoredModel(QImage& simulator, const TArmModel& arm, int32_t selection, const TSceneBitmaps& bitmaps);

// The same scene as thin outlines with letters, drawn with the label font.
void DrawOutLinesOnly(QImage& simulator, const TArmModel& arm, int32_t selection, const QFont& simFont);

}  // namespace Render
