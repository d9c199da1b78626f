#include "watching/network_view.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ann-ga/ann.h"
#include "ann-ga/layer_blocks.h"
#include "widgets/picture_saving.h"

namespace {

// What the sensor vector carries, by input node.
const char* const InputLabels[] = {
    QT_TRANSLATE_NOOP("TNetworkView", "Kugel x"),   QT_TRANSLATE_NOOP("TNetworkView", "Kugel y"),
    QT_TRANSLATE_NOOP("TNetworkView", "Greifer x"), QT_TRANSLATE_NOOP("TNetworkView", "Greifer y"),
    QT_TRANSLATE_NOOP("TNetworkView", "Ziel x"),    QT_TRANSLATE_NOOP("TNetworkView", "Ziel y"),
    QT_TRANSLATE_NOOP("TNetworkView", "Richtung"),  QT_TRANSLATE_NOOP("TNetworkView", "Winkel A"),
    QT_TRANSLATE_NOOP("TNetworkView", "Winkel B"),  QT_TRANSLATE_NOOP("TNetworkView", "Winkel C"),
    QT_TRANSLATE_NOOP("TNetworkView", "Winkel D")};
constexpr int LabelledInputs = sizeof InputLabels / sizeof InputLabels[0];

const QColor Positive(200, 40, 30);
const QColor Negative(30, 80, 200);

// White at 0, the sign's colour at the bound.
QColor ValueColor(int value, int bound) {
  const double t = std::clamp(std::abs(static_cast<double>(value)) / std::max(bound, 1), 0.0, 1.0);
  const QColor& c = value < 0 ? Negative : Positive;
  const auto mix = [t](int full) { return static_cast<int>(std::lround(255 + (full - 255) * t)); };
  return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

}  // namespace

TNetworkView::TNetworkView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // paints every pixel itself
  setMinimumSize(320, 240);  // its window fits beside a centred main window on a 1280-pixel screen
}

void TNetworkView::SetNetwork(const TANN& net) {
  const int n = net.getNodes();
  const int in = net.getInputNodes(), hid = net.getHiddenNodes(), layers = net.getHiddenLayers();
  bool same = n == Nodes && in == Inputs && hid == Hidden && layers == HiddenLayers &&
              net.getMaxIntern() == MaxIntern;
  if (!same) {
    Nodes = n;
    Inputs = in;
    Hidden = hid;
    HiddenLayers = layers;
    Outputs = net.getOutputNodes();
    MaxIntern = net.getMaxIntern();
    MaxWeight = std::max(1, net.getMaxWeight() * net.getPrecWeight());
    Weights.assign(static_cast<size_t>(n) * n, 0);
    Values.assign(n, 0);
    ShowValues = false;
  }
  for (int s = 0; s < n; ++s) {
    const int* row = net.getLineWeight(s);
    int* mine = Weights.data() + static_cast<size_t>(s) * n;
    if (!std::equal(row, row + n, mine)) {
      std::copy(row, row + n, mine);
      same = false;
    }
  }
  if (!same) update();
}

void TNetworkView::SetValues(const TANN& net) {
  if (net.getNodes() != Nodes) return;  // SetNetwork first
  const TANN::TNode* nodes = net.getNodeList();
  for (int i = 0; i < Nodes; ++i) Values[i] = nodes[i].Output;
  ShowValues = true;
  update();  // repaints at the next dispatch, however many steps came before it
}

void TNetworkView::ClearValues() {
  if (!ShowValues) return;
  ShowValues = false;
  update();
}

TLayerBlock TNetworkView::Block(int L) const { return LayerBlock(L, Nodes, Inputs, Hidden, HiddenLayers, Outputs); }

TNetworkView::TLayerNodes TNetworkView::Layer(int layer) const {
  if (layer == 0) return {0, Block(0).Sources};
  const TLayerBlock b = Block(layer - 1);
  return {b.FirstTarget, b.Targets};
}

int TNetworkView::LayerOf(int node, int* place) const {
  int layer = 0;
  while (layer + 1 < LayerCount() && node >= Layer(layer + 1).First) ++layer;
  *place = node - Layer(layer).First;
  return layer;
}

int TNetworkView::PossibleLinks() const {
  int links = 0;
  for (int L = 0; L + 1 < LayerCount(); ++L) links += Block(L).Sources * Block(L).Targets;
  return links;
}

int TNetworkView::LinksInUse() const {
  int links = 0;
  for (int L = 0; L + 1 < LayerCount(); ++L) {
    const TLayerBlock b = Block(L);
    for (int s = b.FirstSource; s < b.FirstSource + b.Sources; ++s)
      for (int t = b.FirstTarget; t < b.FirstTarget + b.Targets; ++t)
        if (Weights[static_cast<size_t>(s) * Nodes + t] != 0) ++links;
  }
  return links;
}

QPointF TNetworkView::Centre(int node, const QRectF& area) const {
  int place = 0;
  const int layer = LayerOf(node, &place);
  const double x = area.left() + area.width() * layer / std::max(1, LayerCount() - 1);
  const double rowHeight = area.height() / std::max(1, Layer(layer).Count);
  return {x, area.top() + rowHeight * (place + 0.5)};
}

namespace {

constexpr double MinValuePoints = 7.0;

}  // namespace

void TNetworkView::paintEvent(QPaintEvent*) {
  ++Paints;
  Drawn = 0;
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (LayerCount() == 0) return;

  const QFontMetrics metrics(font());
  const int line = metrics.height();
  int widestLabel = 0;
  for (const char* label : InputLabels) widestLabel = std::max(widestLabel, metrics.horizontalAdvance(tr(label)));
  const int labelWidth = widestLabel + 10;
  // Node values stay readable (7 points at least): a node is never smaller
  // than the widest, "-1000", needs at that size.
  QFont small = font();
  const double base = small.pointSizeF() > 0 ? small.pointSizeF() : 9.0;
  small.setPointSizeF(MinValuePoints);
  const double fits = QFontMetricsF(small).horizontalAdvance(QStringLiteral("-1000")) / 1.8;
  const double radius = std::clamp(std::min(width(), height()) / 28.0, std::max(7.0, fits), std::max(22.0, fits));
  // Room for the labels left and right and for the counts below.
  const QRectF area(labelWidth + radius + 4, radius + 6, width() - 2 * (labelWidth + radius + 4),
                    height() - 2 * radius - 12 - 1.5 * line);

  // Links first, so the nodes lie on top of them; a layer's links lead to the next only.
  for (int L = 0; L + 1 < LayerCount(); ++L) {
    const TLayerBlock b = Block(L);
    for (int s = b.FirstSource; s < b.FirstSource + b.Sources; ++s)
      for (int t = b.FirstTarget; t < b.FirstTarget + b.Targets; ++t) {
        const int w = Weights[static_cast<size_t>(s) * Nodes + t];
        if (w == 0) continue;
        const double width = 0.5 + 4.5 * std::min(1.0, std::abs(w) / static_cast<double>(MaxWeight));
        p.setPen(QPen(w > 0 ? Positive : Negative, width));
        p.drawLine(Centre(s, area), Centre(t, area));
        ++Drawn;
      }
  }

  // Node values in a font in which the widest, "-1000", fits inside a node.
  small.setPointSizeF(base);
  const double widest = QFontMetricsF(small).horizontalAdvance(QStringLiteral("-1000"));
  small.setPointSizeF(std::max(MinValuePoints, base * std::min(1.0, 1.8 * radius / widest)));
  // Smooth circles are cheap; smooth wide lines would double the cost of a
  // paint, which training 2 pays at each new best.
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < Nodes; ++i) {
    int place = 0;
    const int layer = LayerOf(i, &place);
    const QPointF c = Centre(i, area);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(ShowValues ? ValueColor(Values[i], MaxIntern) : QColor(235, 235, 235));
    p.drawEllipse(c, radius, radius);
    if (ShowValues) {
      p.setFont(small);
      // Dark fills take white digits.
      if (std::abs(Values[i]) > MaxIntern * 6 / 10) p.setPen(Qt::white);
      p.drawText(QRectF(c.x() - 2 * radius, c.y() - radius, 4 * radius, 2 * radius), Qt::AlignCenter,
                 QString::number(Values[i]));
      p.setFont(font());
      p.setPen(Qt::black);
    }
    QString label;
    if (layer == 0)
      label = place < LabelledInputs ? tr(InputLabels[place]) : QString::number(i);
    else if (layer == HiddenLayers + 1)
      label = tr("Achse %1").arg(QChar('A' + place));
    if (label.isEmpty()) continue;
    if (layer == 0)
      p.drawText(QRectF(0, c.y() - line, c.x() - radius - 4, 2 * line), Qt::AlignRight | Qt::AlignVCenter, label);
    else
      p.drawText(QRectF(c.x() + radius + 4, c.y() - line, labelWidth + 10, 2 * line),
                 Qt::AlignLeft | Qt::AlignVCenter, label);
  }

  p.drawText(QRectF(0, height() - 1.5 * line, width(), 1.5 * line), Qt::AlignCenter,
             tr("Verbindungen: %1 von %2").arg(LinksInUse()).arg(PossibleLinks()));
}

// --- the window -------------------------------------------------------------------

TNetworkViewWindow::TNetworkViewWindow(QWidget* owner) : TPictureWindow(owner) {
  setWindowTitle(tr("Netzansicht"));
  Net = new TNetworkView(this);
  SetPicture(Net);
  resize(740, 520);
}
