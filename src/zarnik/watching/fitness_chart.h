#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>

#include <cstddef>
#include <vector>

#include "history/fitness_log.h"
#include "widgets/picture_saving.h"

class QChart;
class QChartView;
class QComboBox;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The window "Fitness-Verlauf": best and average fitness per generation of
// training 2 and best fitness per pass of training 1, the best fitness of
// training 2 found so far, and on a second y-axis the deliveries of each
// generation's best, as line series over the generation. The main window
// owns it and hands it the rows of its history; closing only hides it.
// Training 1 counts passes, training 2 generations: the chart shows one of
// them at a time, the one of the last row unless the user chose the other,
// with its axes fitted to what is shown and ending at the data.
class TFitnessChartWindow : public TPictureWindow {
  Q_OBJECT

 public:
  enum TSeries { Best2, Average2, Best1, BestSoFar2, Deliveries2 };
  static constexpr int SeriesCount = 5;

  explicit TFitnessChartWindow(QWidget* owner);

  // A series never shows more points than this: beyond it, each shown point
  // stands for a run of consecutive generations (the best of them for a best
  // line, their mean for the average), so that a refresh costs the same after
  // ten thousand generations as after a hundred.
  static constexpr size_t MaxShown = 512;

  void Clear();
  // Appends the rows in their order; the axes follow the data.
  void Append(const TFitnessRow* rows, size_t count);
  void Append(const std::vector<TFitnessRow>& rows) { Append(rows.data(), rows.size()); }

  // Marks the entries of the learning path, (generation, deliveries per
  // episode over all 100 episodes), on the deliveries' axis of training 2;
  // they stay until marked anew.
  void MarkPath(const QList<QPointF>& points);
  QScatterSeries* PathMarks() const { return Marks; }

  // The training shown (1 or 2); choosing one keeps it, 0 follows the last row again.
  int ShownMode() const { return Mode; }
  void ChooseMode(int mode);

  QLineSeries* Series(TSeries s) const { return Lines[s]; }
  // Generations the series has received, shown or merged.
  size_t Received(TSeries s) const { return Raw[s].size(); }
  QValueAxis* AxisX() const { return X; }
  QValueAxis* AxisY() const { return Y; }
  QValueAxis* AxisDeliveries() const { return Y2; }
  QChartView* View() const { return ChartView; }

 private:
  void FitAxes();
  void ShowMode(int mode);
  // The shown points of series `s` from its received ones.
  void ShowSeries(int s);

  QChart* Chart = nullptr;
  QChartView* ChartView = nullptr;
  QLineSeries* Lines[SeriesCount] = {};
  QScatterSeries* Marks = nullptr;  // the learning path; not in the legend, whose row is laid out for the lines
  QValueAxis* X = nullptr;
  QValueAxis* Y = nullptr;
  QValueAxis* Y2 = nullptr;  // deliveries, on the right
  std::vector<QPointF> Raw[SeriesCount];  // every received point, by series
  QList<QPointF> Shown;         // scratch for ShowSeries
  // Extent of the points of each training (index 1, 2) so far; valid when Points > 0.
  struct TExtent {
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    size_t Points = 0;
  } Extent[3];
  int Mode = 2;          // the training shown
  int ChosenMode = 0;    // chosen by the user, or 0
  QComboBox* ModeBox = nullptr;
  // The axes' ranges as set, to set them only when they change.
  double LowX = 0, HighX = 0, LowY = 0, HighY = 0;
  double MaxDeliveries = 0, HighDeliveries = 0;
  bool AnyBest2 = false;
  double BestSoFar = 0;  // highest best fitness of training 2 so far, when AnyBest2
};
