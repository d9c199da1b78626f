#pragma once

#include <QWidget>

#include <cstddef>

#include "fitness_log.h"

class QChart;
class QChartView;
class QLineSeries;
class QPushButton;
class QValueAxis;

// The window "Fitness-Verlauf": best and average fitness per generation of
// training 2 and best fitness per pass of training 1, as three line series
// over the generation. The main window owns it and hands it the rows of its
// history; closing only hides it.
class TFitnessChartWindow : public QWidget {
  Q_OBJECT

 public:
  enum TSeries { Best2, Average2, Best1 };

  explicit TFitnessChartWindow(QWidget* owner);

  void Clear();
  // Appends the rows in their order; the axes follow the data.
  void Append(const TFitnessRow* rows, size_t count);

  QLineSeries* Series(TSeries s) const { return Lines[s]; }
  QValueAxis* AxisX() const { return X; }
  QValueAxis* AxisY() const { return Y; }
  QChartView* View() const { return ChartView; }
  // The chart as a PNG file; false if it cannot be written.
  bool SavePicture(const QString& path) const;

 signals:
  // Shown or hidden by its own close box, so the menu's check mark can follow.
  void visibilityChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CmSavePicture();
  void FitAxes();

  QChart* Chart = nullptr;
  QChartView* ChartView = nullptr;
  QLineSeries* Lines[3] = {};
  QValueAxis* X = nullptr;
  QValueAxis* Y = nullptr;
  QPushButton* SaveButton = nullptr;
  // Extent of all points so far; valid when Points > 0.
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  size_t Points = 0;
  // The axes' ranges; they contain every point.
  double LowX = 0, HighX = 0, LowY = 0, HighY = 0;
};
