#pragma once

#include <QString>

#include <functional>

class QWidget;

// "Bild speichern..." of the chart and network windows: asks for a PNG file,
// adds ".png" when the name has no suffix and calls `save` with the path. A
// failed save gets the designed file message under the main window's caption.
void SavePictureAs(QWidget* owner, const std::function<bool(const QString&)>& save);
