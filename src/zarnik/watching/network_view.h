#pragma once

#include <QCoreApplication>
#include <QWidget>

#include <vector>

#include "widgets/picture_saving.h"

class TANN;
struct TLayerBlock;

// Draws one network as its layers from left to right: the inputs labelled
// with what they carry, the hidden layers, the outputs "Achse A" .. "Achse D".
// A link is a line coloured by its weight's sign and as wide as its magnitude;
// absent links are not drawn. Each node shows its value when there is one.
class TNetworkView : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(TNetworkView)

 public:
  explicit TNetworkView(QWidget* parent = nullptr);

  // Takes the shape and the weights of `net`; repaints only when they differ
  // from those shown.
  void SetNetwork(const TANN& net);
  // Takes the node values `net` holds from its last evaluation.
  void SetValues(const TANN& net);
  // Nodes show no value (their values would not belong to what is drawn).
  void ClearValues();

  int LinksInUse() const;
  int PossibleLinks() const;
  bool HasValues() const { return ShowValues; }
  int Value(int node) const { return Values[node]; }
  // Link lines the last paint drew, for tests.
  int LinesDrawn() const { return Drawn; }
  // Paints made, for tests and benchmarks.
  long long Paints = 0;

  QSize sizeHint() const override { return {720, 460}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Layer 0 holds the inputs, layer L + 1 the targets of the network's
  // block L; the last layer holds the outputs.
  struct TLayerNodes {
    int First, Count;
  };
  int LayerCount() const { return Hidden > 0 ? HiddenLayers + 2 : 0; }
  TLayerBlock Block(int L) const;
  TLayerNodes Layer(int layer) const;
  // Layer of a node, and its place within the layer.
  int LayerOf(int node, int* place) const;
  QPointF Centre(int node, const QRectF& area) const;

  int Nodes = 0, Inputs = 0, Hidden = 0, HiddenLayers = 0, Outputs = 0;
  std::vector<int> Weights;  // Nodes x Nodes, source row by target column
  std::vector<int> Values;
  int MaxIntern = 1000;
  int MaxWeight = 200;  // in stored units; wider weights draw as wide as this
  bool ShowValues = false;
  int Drawn = 0;
};

// The window "Netzansicht": the network view and its "Bild speichern..."
// button. The main window owns it and feeds it; closing only hides it.
class TNetworkViewWindow : public TPictureWindow {
  Q_OBJECT

 public:
  explicit TNetworkViewWindow(QWidget* owner);

  TNetworkView* View() const { return Net; }

 private:
  TNetworkView* Net = nullptr;
};
