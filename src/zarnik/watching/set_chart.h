#pragma once

#include "widgets/picture_saving.h"

class QChart;
class QChartView;
class QValueAxis;
struct TSetPicture;

// "Alle Läufe": every place of a set of runs in one chart, its validated mean
// over the generations it trained, the runs that took a place over marked
// (a ring: begun anew; a dot: a copy of another run's best), the goal as a
// dashed line, and with more than four places their median and middle half.
// The same picture that `zarnik-train --plot` writes.
class TSetChartWindow : public TPictureWindow {
  Q_OBJECT

 public:
  explicit TSetChartWindow(QWidget* owner);

  // Shows `picture` in place of what was shown.
  void Show(const TSetPicture& picture);

  QChart* Chart() const { return ChartPart; }
  QValueAxis* AxisX() const { return X; }
  QValueAxis* AxisY() const { return Y; }

 private:
  QChart* ChartPart = nullptr;
  QChartView* View = nullptr;
  QValueAxis* X = nullptr;
  QValueAxis* Y = nullptr;
};
