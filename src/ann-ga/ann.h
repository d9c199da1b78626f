#pragma once

// The network: a layered feed-forward net of integer nodes and integer
// weights, its random building, its evaluation and the display of its weights.
#include <cstdint>
#include <memory>

#include "ann-ga/layer_blocks.h"
#include "ann-ga/zarnik_host.h"  // show() writes to the host's progress display

using TWeight = int32_t;
using PWeight = TWeight*;

// Initial weight for the raw generator value r (0 .. 2^31 - 1): uniform over
// -maxWeight*precWeight .. +maxWeight*precWeight, truncated toward zero.
int DrawInitialWeight(int32_t r, int maxWeight, int precWeight);

// Layered feed-forward network of integer nodes. AdjazenzMatrix[s][t] is the
// weight from source s to target t; a stored w stands for w / precWeight.
class TANN {
 public:
  struct TNode {
    int32_t internValue;
    int32_t Output;
  };
  using PNode = TNode*;

  TANN() = default;
  TANN(const TANN&) = delete;
  TANN& operator=(const TANN&) = delete;
  ~TANN();

  void initANN(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
               int PaPrecWeight, int PaMaxIntern);
  // The shape and scale alone, without storage or weights (nothing drawn):
  // enough to check a stored record against.
  void SetShape(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
                int PaPrecWeight, int PaMaxIntern);
  void runANN(const int* PaInput, int* PaOutput);
  void OutFunc1(unsigned int PaIdx) { NodeList[PaIdx].Output = NodeList[PaIdx].internValue; }

  int getNodes() const { return static_cast<int>(Nodes); }
  int getInputNodes() const { return static_cast<int>(InputNodes); }
  int getHiddenNodes() const { return static_cast<int>(HiddenNodes); }
  int getHiddenLayers() const { return static_cast<int>(HiddenLayers); }
  int getOutputNodes() const { return static_cast<int>(OutputNodes); }
  int getMaxWeight() const { return maxWeight; }
  int getPrecWeight() const { return precWeight; }
  int getMaxIntern() const { return maxIntern; }
  int getConnections() const { return Connections; }
  int getOldConnections() const { return oldConnections; }

  // Header setters change numbers only, never storage (copies between networks
  // of one shape).
  void setNodes(int v) { Nodes = static_cast<uint32_t>(v); }
  void setInputNodes(int v) { InputNodes = static_cast<uint32_t>(v); }
  void setHiddenNodes(int v) { HiddenNodes = static_cast<uint32_t>(v); }
  void setMaxWeight(int v) { maxWeight = v; Touch(); }
  void setPrecWeight(int v) { precWeight = v; Touch(); }
  void setMaxIntern(int v) { maxIntern = v; Touch(); }
  void setConnections(int v) { Connections = v; }
  void setOldConnections(int v) { oldConnections = v; }
  void calcOutputNodes() { OutputNodes = Nodes - InputNodes - HiddenNodes * HiddenLayers; }

  int getWeight(int PaLine, int PaColumn) const { return AdjazenzMatrix[PaLine][PaColumn]; }
  void setWeight(int PaLine, int PaColumn, int PaWeight) {
    AdjazenzMatrix[PaLine][PaColumn] = PaWeight;
    Touch();
  }
  // The live row: the caller may write through it, so the plan is dropped.
  int* getLineWeight(int PaLine) {
    Touch();
    return AdjazenzMatrix[PaLine].get();
  }
  const int* getLineWeight(int PaLine) const { return AdjazenzMatrix[PaLine].get(); }
  // Takes over the row; the old row now belongs to whoever handed it out.
  void setLineWeight(int PaLine, int* PaLineWeight) {
    (void)AdjazenzMatrix[PaLine].release();
    AdjazenzMatrix[PaLine].reset(PaLineWeight);
    Touch();
  }

  // Writes the 25 weight lines to the progress window (controls 320 .. 344).
  void show() const;

  TNode* getNodeList() { return NodeList.get(); }
  const TNode* getNodeList() const { return NodeList.get(); }
  int* getOutputList() { return OutputList.get(); }

 protected:
  // Feed-forward block L of this network's shape, in drawing order.
  TLayerBlock Block(int L) const {
    return LayerBlock(L, static_cast<int>(Nodes), static_cast<int>(InputNodes), static_cast<int>(HiddenNodes),
                      static_cast<int>(HiddenLayers), static_cast<int>(OutputNodes));
  }
  void Touch() { PlanValid = false; }

  uint32_t Nodes = 0;
  uint32_t InputNodes = 0;
  uint32_t OutputNodes = 0;
  uint32_t HiddenNodes = 0;
  uint32_t HiddenLayers = 0;
  int32_t maxWeight = 0;
  int32_t precWeight = 0;
  int32_t maxIntern = 0;
  int32_t Connections = 0;
  int32_t oldConnections = 0;
  std::unique_ptr<TNode[]> NodeList;
  std::unique_ptr<int32_t[]> OutputList;
  std::unique_ptr<std::unique_ptr<TWeight[]>[]> AdjazenzMatrix;

 private:
  // Evaluation plan. Targets are taken in groups of up to four consecutive
  // nodes that do not read each other's new values, and their sums advance
  // together source by source, so the extended-precision chains of a layer
  // overlap. A missing weight is a factor of 0: adding an exact zero leaves
  // the single-precision sum as it is. Rebuilt lazily after any weight change;
  // storage is sized once in initANN.
  static constexpr int GroupWidth = 4;
  struct TRow {
    long double Factor[GroupWidth];  // w / precWeight per target of the group
    // The same factor as a sum of two doubles: with node values below 2^11
    // both partial products are exact in extended precision, so their sum is
    // the extended product rounded once, as before, without 80-bit loads.
    double Hi[GroupWidth], Lo[GroupWidth];
    int32_t Source;
  };
  struct TGroup {
    int32_t FirstTarget, Width, FirstRow, Rows;
  };
  void BuildPlan();
  template <int Width, bool Split>
  void RunGroup(const TGroup& g);
  template <bool Split>
  void RunGroups();
  bool SplitFactors = false;
  std::unique_ptr<TRow[]> Rows;
  std::unique_ptr<TGroup[]> Groups;
  int32_t GroupCount = 0;
  double ClampLow = 0, ClampHigh = 0;  // node value bounds, within int
  int32_t InputLow = 0, InputHigh = 0;
  bool PlanValid = false;
};
