#include "watching/fitness_chart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QList>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "widgets/picture_saving.h"

TFitnessChartWindow::TFitnessChartWindow(QWidget* owner) : TPictureWindow(owner) {
  setWindowTitle(tr("Fitness-Verlauf"));

  Chart = new QChart;
  Chart->setAnimationOptions(QChart::NoAnimation);  // points come in during runs
  const char* names[SeriesCount] = {QT_TR_NOOP("bester (Training 2)"), QT_TR_NOOP("Durchschnitt (Training 2)"),
                                    QT_TR_NOOP("bester (Training 1)"), QT_TR_NOOP("bisher bestes"),
                                    QT_TR_NOOP("Ablagen des Besten")};
  const QColor colors[SeriesCount] = {QColor(0, 90, 200), QColor(120, 170, 230), QColor(210, 80, 0),
                                      QColor(0, 40, 110), QColor(40, 150, 60)};
  X = new QValueAxis;
  X->setTitleText(tr("Generation"));
  // The labels are made from 64-bit values: "%d" would print the low half
  // of them, and an axis just past 2147483647 would end at -2147483648.
  X->setLabelFormat(QStringLiteral("%lld"));
  X->setTickType(QValueAxis::TicksDynamic);
  X->setTickAnchor(0);
  Y = new QValueAxis;
  Y->setTitleText(tr("Fitness"));
  Y->setLabelFormat(QStringLiteral("%lld"));
  Y->setTickType(QValueAxis::TicksDynamic);
  Y->setTickAnchor(0);
  Y2 = new QValueAxis;
  Y2->setTitleText(tr("Ablagen des Besten"));
  Y2->setLabelFormat(QStringLiteral("%d"));
  Y2->setTickType(QValueAxis::TicksDynamic);
  Y2->setTickAnchor(0);
  Chart->addAxis(X, Qt::AlignBottom);
  Chart->addAxis(Y, Qt::AlignLeft);
  Chart->addAxis(Y2, Qt::AlignRight);
  for (int i = 0; i < SeriesCount; ++i) {
    Lines[i] = new QLineSeries;
    Lines[i]->setName(tr(names[i]));
    Lines[i]->setColor(colors[i]);
    Chart->addSeries(Lines[i]);
    Lines[i]->attachAxis(X);
    Lines[i]->attachAxis(i == Deliveries2 ? Y2 : Y);
  }
  {
    QPen dashed = Lines[BestSoFar2]->pen();
    dashed.setStyle(Qt::DashLine);
    Lines[BestSoFar2]->setPen(dashed);
  }
  Chart->legend()->setAlignment(Qt::AlignBottom);
  Clear();

  ChartView = new QChartView(Chart, this);
  SetPicture(ChartView);
  resize(1020, 480);  // wide enough for the five names of the legend in one row
}

void TFitnessChartWindow::Clear() {
  for (int s = 0; s < SeriesCount; ++s) {
    Raw[s].clear();
    Lines[s]->clear();
  }
  Points = 0;
  LowX = LowY = 0;
  HighX = HighY = -1;  // the first point sets the axes
  X->setRange(0, 1);
  X->setTickInterval(1);
  Y->setRange(-1, 1);
  Y->setTickInterval(1);
  MaxDeliveries = 0;
  HighDeliveries = -1;  // the first point sets the axis
  AnyBest2 = false;
  Y2->setRange(0, 1);
  Y2->setTickInterval(1);
}

void TFitnessChartWindow::Append(const TFitnessRow* rows, size_t count) {
  if (count == 0) return;
  bool added[SeriesCount] = {};
  for (size_t i = 0; i < count; ++i) {
    const TFitnessRow& r = rows[i];
    const double x = r.generation;
    const double lowest = r.mode == 2 ? std::min(r.bestFitness, r.averageFitness) : r.bestFitness;
    const double highest = r.mode == 2 ? std::max(r.bestFitness, r.averageFitness) : r.bestFitness;
    if (Points++ == 0) {
      MinX = MaxX = x;
      MinY = lowest;
      MaxY = highest;
    } else {
      MinX = std::min(MinX, x);
      MaxX = std::max(MaxX, x);
      MinY = std::min(MinY, lowest);
      MaxY = std::max(MaxY, highest);
    }
    if (r.mode == 2) {
      Raw[Best2].emplace_back(x, r.bestFitness);
      Raw[Average2].emplace_back(x, r.averageFitness);
      BestSoFar = AnyBest2 ? std::max<double>(BestSoFar, r.bestFitness) : r.bestFitness;
      AnyBest2 = true;
      Raw[BestSoFar2].emplace_back(x, BestSoFar);
      added[Best2] = added[Average2] = added[BestSoFar2] = true;
      if (r.bestDeliveries >= 0) {  // rows of older files have none
        Raw[Deliveries2].emplace_back(x, r.bestDeliveries);
        MaxDeliveries = std::max<double>(MaxDeliveries, r.bestDeliveries);
        added[Deliveries2] = true;
      }
    } else {
      Raw[Best1].emplace_back(x, r.bestFitness);
      added[Best1] = true;
    }
  }
  for (int s = 0; s < SeriesCount; ++s)
    if (added[s]) ShowSeries(s);
  FitAxes();
}

void TFitnessChartWindow::ShowSeries(int s) {
  const std::vector<QPointF>& raw = Raw[s];
  QLineSeries& line = *Lines[s];
  if (raw.size() <= MaxShown) {
    // Every point shown as it is: only the new ones go in, each append costing the chart one update.
    const qsizetype have = line.count();
    Shown.clear();
    for (size_t i = static_cast<size_t>(have); i < raw.size(); ++i) Shown.append(raw[i]);
    line.append(Shown);
    return;
  }
  // Runs of `stride` generations, a power of two so that the runs only ever
  // merge in pairs; the last run may be short. Each shows at its last generation.
  size_t stride = 1;
  while ((raw.size() + stride - 1) / stride > MaxShown) stride *= 2;
  Shown.clear();
  for (size_t first = 0; first < raw.size(); first += stride) {
    const size_t end = std::min(first + stride, raw.size());
    double y = raw[first].y();
    for (size_t i = first + 1; i < end; ++i) y = s == Average2 ? y + raw[i].y() : std::max(y, raw[i].y());
    if (s == Average2) y /= static_cast<double>(end - first);
    Shown.append(QPointF(raw[end - 1].x(), y));
  }
  line.replace(Shown);
}

namespace {

// The smallest of 1, 2, 5, 10, 20, 50, ... that splits `span` into at most `ticks` steps.
double NiceStep(double span, int ticks) {
  double step = 1;
  for (;;) {
    for (double f : {1.0, 2.0, 5.0})
      if (span / (step * f) <= ticks) return step * f;
    step *= 10;
  }
}

// [low, high] on whole steps around [lo, hi]; the step goes to `step`.
void NiceRange(double lo, double hi, int ticks, double& low, double& high, double& step) {
  step = NiceStep(hi - lo, ticks);
  low = std::floor(lo / step) * step;
  high = std::max(std::ceil(hi / step) * step, low + step);
}

}  // namespace

void TFitnessChartWindow::FitAxes() {
  // A new range lays the whole chart out again, which costs many times what a
  // point costs: the axes change only when a point falls outside them, and
  // then leave room for the next ones (half as many generations again, a tenth of
  // the fitness span either way).
  if (MinX < LowX || MaxX > HighX) {
    double step;
    NiceRange(MinX, MinX + std::max(1.0, (MaxX - MinX) * 1.5), 8, LowX, HighX, step);
    // The interval first: a wide range on the old, finer interval would lay out thousands of ticks.
    X->setTickInterval(step);  // generations are whole numbers: so are the ticks
    X->setRange(LowX, HighX);
  }
  if (MinY < LowY || MaxY > HighY) {
    const double pad = std::max(1.0, (MaxY - MinY) * 0.1);
    double step;
    NiceRange(MinY - pad, MaxY + pad, 6, LowY, HighY, step);
    Y->setTickInterval(step);
    Y->setRange(LowY, HighY);
  }
  if (MaxDeliveries > HighDeliveries) {
    // Whole deliveries from 0, with headroom as on the other axes.
    double low, step;
    NiceRange(0, std::max(5.0, MaxDeliveries * 1.5), 6, low, HighDeliveries, step);
    Y2->setTickInterval(step);
    Y2->setRange(0, HighDeliveries);
  }
}
