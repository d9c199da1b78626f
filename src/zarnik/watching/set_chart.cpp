#include "watching/set_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

#include "runs/set_drawing.h"
#include "runs/set_picture.h"

namespace {

// The colours of the written picture.
QColor Color(TRgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

TSetChartWindow::TSetChartWindow(QWidget* owner) : TPictureWindow(owner) {
  setWindowTitle(tr("Alle Läufe"));
  ChartPart = new QChart;
  ChartPart->setAnimationOptions(QChart::NoAnimation);
  ChartPart->setTitle(tr("Alle Läufe: Ablagen je Episode in allen 100 Episoden"));
  ChartPart->setBackgroundRoundness(0);
  ChartPart->setMargins(QMargins(4, 4, 4, 4));
  ChartPart->layout()->setContentsMargins(0, 0, 0, 0);
  ChartPart->legend()->setAlignment(Qt::AlignRight);
  X = new QValueAxis;
  X->setTitleText(tr("Generationen des Platzes"));
  X->setLabelFormat(QStringLiteral("%lld"));
  Y = new QValueAxis;
  Y->setTitleText(tr("Ablagen je Episode"));
  ChartPart->addAxis(X, Qt::AlignBottom);
  ChartPart->addAxis(Y, Qt::AlignLeft);
  View = new QChartView(ChartPart, this);
  View->setRenderHint(QPainter::Antialiasing);
  View->setMinimumSize(640, 400);
  SetPicture(View);
  resize(1000, 640);  // as the written picture; wholly on a 1280x1024 screen
}

void TSetChartWindow::Show(const TSetPicture& picture) {
  ChartPart->removeAllSeries();
  double maxWork = 100, maxMean = picture.goal.value_or(0);
  const auto add = [&](QXYSeries* s, bool named) {
    ChartPart->addSeries(s);
    s->attachAxis(X);
    s->attachAxis(Y);
    if (!named)
      for (QLegendMarker* m : ChartPart->legend()->markers(s)) m->setVisible(false);
  };
  const auto spreadAt = [](const TSpreadPoint& p, double v) { return QPointF(static_cast<double>(p.work), v); };
  if (!picture.spread.empty()) {
    auto* band = new QAreaSeries;
    auto* high = new QLineSeries(band);  // the band does not own its edges
    auto* low = new QLineSeries(band);
    for (const TSpreadPoint& p : picture.spread) {
      high->append(spreadAt(p, p.high));
      low->append(spreadAt(p, p.low));
    }
    band->setUpperSeries(high);
    band->setLowerSeries(low);
    band->setName(tr("mittlere Hälfte"));
    band->setColor(QColor(0, 0, 0, 38));
    band->setBorderColor(Qt::transparent);
    ChartPart->addSeries(band);
    band->attachAxis(X);
    band->attachAxis(Y);
  }
  const bool many = picture.places.size() > 4;
  for (size_t k = 0; k < picture.places.size(); ++k) {
    auto* line = new QLineSeries;
    line->setName(tr("Lauf %1").arg(k));
    QColor color = Color(PlaceColor(static_cast<int>(k)));
    if (many) color.setAlpha(180);
    line->setPen(QPen(color, many ? 1.5 : 2));
    for (const TPlacePoint& p : picture.places[k]) {
      line->append(static_cast<double>(p.work), p.mean);
      maxWork = std::max(maxWork, static_cast<double>(p.work));
      maxMean = std::max(maxMean, p.mean);
    }
    add(line, picture.places.size() <= MaxNamedPlaces);
  }
  if (!picture.spread.empty()) {
    auto* median = new QLineSeries;
    median->setName(tr("Median"));
    median->setPen(QPen(Qt::black, 3));
    for (const TSpreadPoint& p : picture.spread) median->append(spreadAt(p, p.median));
    add(median, true);
  }
  if (picture.goal) {
    auto* goal = new QLineSeries;
    goal->setName(tr("Ziel %1").arg(QString::number(*picture.goal, 'f', 1)));
    goal->setPen(QPen(Color(GoalColor), 2, Qt::DashLine));
    goal->append(0, *picture.goal);
    goal->append(maxWork, *picture.goal);
    add(goal, true);
  }
  for (const bool copies : {false, true}) {
    auto* marks = new QScatterSeries;
    marks->setName(copies ? tr("Kopie eines Besten") : tr("Neustart"));
    marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    marks->setMarkerSize(10);
    marks->setColor(copies ? QColor(60, 60, 60) : QColor(Qt::white));
    marks->setBorderColor(QColor(60, 60, 60));
    for (const TPlaceMark& m : picture.marks)
      if ((m.from >= 0) == copies) marks->append(static_cast<double>(m.work), m.mean);
    add(marks, marks->count() > 0);
  }
  X->setRange(0, maxWork);
  Y->setRange(0, std::max(1.0, maxMean * 1.1));
  X->applyNiceNumbers();
  Y->applyNiceNumbers();
}
