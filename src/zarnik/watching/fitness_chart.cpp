#include "watching/fitness_chart.h"

#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QComboBox>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QScatterSeries>
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
  Marks = new QScatterSeries;
  Marks->setName(tr("Lernweg"));
  Marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  Marks->setMarkerSize(8);
  Marks->setColor(QColor(0, 150, 60));
  Chart->addSeries(Marks);
  Marks->attachAxis(X);
  Marks->attachAxis(Y2);
  for (QLegendMarker* marker : Chart->legend()->markers(Marks)) marker->setVisible(false);
  Chart->legend()->setAlignment(Qt::AlignBottom);
  // The plot gets the room: no rounded frame with a wide margin around it.
  Chart->setBackgroundRoundness(0);
  Chart->setMargins(QMargins(4, 4, 4, 4));
  Chart->layout()->setContentsMargins(0, 0, 0, 0);
  Clear();

  ChartView = new QChartView(Chart, this);
  // Qt Charts cuts an axis title that is longer than its axis and a legend
  // name that does not fit in the legend's one row, with "...": never smaller
  // than the plot's height for the longest upright title, nor narrower than
  // the legend's row of the training with the most lines.
  {
    const QFontMetrics title(Y2->titleFont());
    const QFontMetrics label(Y->labelsFont());
    const QFontMetrics legend(Chart->legend()->font());
    int upright = 0;
    for (const QValueAxis* axis : {Y, Y2}) upright = std::max(upright, title.horizontalAdvance(axis->titleText()));
    int row = 0;
    for (int s = 0; s < SeriesCount; ++s)
      if (s != Best1) row += legend.horizontalAdvance(Lines[s]->name()) + legend.height() + 16;
    // Below the plot the x axis' labels and title and the legend, above it half a label; 4 px margins.
    const int around = 2 * label.height() + 2 * title.height() + 2 * legend.height() + 40;
    // Left and right of the legend's row, the chart's margins and the legend's own.
    ChartView->setMinimumSize(row + 40, upright + 24 + around);
  }
  ModeBox = new QComboBox(this);
  ModeBox->addItem(tr("Training 2: Generationen"), 2);
  ModeBox->addItem(tr("Training 1: Durchgänge"), 1);
  connect(ModeBox, &QComboBox::activated, this, [this](int index) { ChooseMode(ModeBox->itemData(index).toInt()); });
  SetPicture(ChartView, ModeBox);
  ShowMode(2);
  resize(1020, 480);  // wide enough for the five names of the legend in one row
}

void TFitnessChartWindow::Clear() {
  for (int s = 0; s < SeriesCount; ++s) {
    Raw[s].clear();
    Lines[s]->clear();
  }
  for (TExtent& e : Extent) e = TExtent();
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
    TExtent& e = Extent[r.mode == 1 ? 1 : 2];
    if (e.Points++ == 0) {
      e.MinX = e.MaxX = x;
      e.MinY = lowest;
      e.MaxY = highest;
    } else {
      e.MinX = std::min(e.MinX, x);
      e.MaxX = std::max(e.MaxX, x);
      e.MinY = std::min(e.MinY, lowest);
      e.MaxY = std::max(e.MaxY, highest);
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
  const int last = rows[count - 1].mode == 1 ? 1 : 2;
  if (ChosenMode == 0 && last != Mode)
    ShowMode(last);
  else
    FitAxes();
}

void TFitnessChartWindow::MarkPath(const QList<QPointF>& points) {
  Marks->replace(points);
  for (const QPointF& p : points) MaxDeliveries = std::max(MaxDeliveries, p.y());
  FitAxes();
}

void TFitnessChartWindow::ChooseMode(int mode) {
  ChosenMode = mode;
  if (mode == 0) {
    // Back to following the training in use: the one with the latest rows.
    mode = Extent[1].Points > 0 && Extent[2].Points == 0 ? 1 : Mode;
  }
  ShowMode(mode);
}

void TFitnessChartWindow::ShowMode(int mode) {
  Mode = mode;
  for (int s = 0; s < SeriesCount; ++s) {
    const bool shown = (s == Best1) == (mode == 1);
    Lines[s]->setVisible(shown);
    for (QLegendMarker* marker : Chart->legend()->markers(Lines[s])) marker->setVisible(shown);
  }
  Y2->setVisible(mode == 2);
  Marks->setVisible(mode == 2);
  X->setTitleText(mode == 1 ? tr("Durchgang (Training 1)") : tr("Generation (Training 2)"));
  if (ModeBox != nullptr) ModeBox->setCurrentIndex(ModeBox->findData(mode));
  HighX = HighY = -1;  // the axes are set anew
  LowX = LowY = 0;
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
  // The shown training's points only, the x axis ending at its last one;
  // an axis is set only when its range changes, since that lays the chart out again.
  const TExtent& e = Extent[Mode];
  if (e.Points == 0) return;
  const double lowX = e.MinX, highX = std::max(e.MaxX, e.MinX + 1);
  if (lowX != LowX || highX != HighX) {
    LowX = lowX;
    HighX = highX;
    // The interval first: a wide range on the old, finer interval would lay out thousands of ticks.
    X->setTickInterval(NiceStep(highX - lowX, 8));  // generations are whole numbers: so are the ticks
    X->setRange(lowX, highX);
  }
  // A little room above and below, so the lines do not run along the frame.
  const double pad = std::max(1.0, (e.MaxY - e.MinY) * 0.05);
  double lowY, highY, step;
  NiceRange(e.MinY - pad, e.MaxY + pad, 6, lowY, highY, step);
  if (lowY != LowY || highY != HighY) {
    LowY = lowY;
    HighY = highY;
    Y->setTickInterval(step);
    Y->setRange(lowY, highY);
  }
  if (MaxDeliveries > HighDeliveries || HighDeliveries < 0) {
    // Whole deliveries from 0, up to a whole step at or above the highest.
    double low, step2;
    NiceRange(0, std::max(1.0, MaxDeliveries), 5, low, HighDeliveries, step2);
    Y2->setTickInterval(step2);
    Y2->setRange(0, HighDeliveries);
  }
}
