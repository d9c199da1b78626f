#include "ann-ga/ann.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "ann-ga/random.h"

namespace {

// Truncates toward zero after clamping in the floating domain, so that huge
// sums never reach an out-of-range conversion. Same result as truncate-then-
// clamp for any non-negative limit.
int32_t ClampTrunc(long double v, long double lo, long double hi) {
  if (v != v) v = 0;  // NaN only with a zero precWeight
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return static_cast<int32_t>(v);
}

// A single-precision sum to a node value: the clamp runs in double, which holds
// every int bound exactly, so the conversion is a plain SSE truncation.
int32_t ClampTruncSum(float sum, double lo, double hi) {
  double v = sum;
  if (v != v) v = 0;
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return static_cast<int32_t>(v);
}

}  // namespace

int DrawInitialWeight(int32_t r, int maxWeight, int precWeight) {
  r %= 2147483647;
  const long double v = (static_cast<long double>(r) * 0x1p-31L * 2 - 1) * maxWeight * precWeight;
  const float f = static_cast<float>(v);
  return ClampTrunc(f, INT_MIN, INT_MAX);
}

TANN::~TANN() = default;

void TANN::SetShape(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
                    int PaPrecWeight, int PaMaxIntern) {
  Nodes = static_cast<uint32_t>(PaNodes);
  InputNodes = static_cast<uint32_t>(PaInputNodes);
  HiddenNodes = static_cast<uint32_t>(PaHiddenNodes);
  HiddenLayers = static_cast<uint32_t>(PaHiddenLayers);
  maxWeight = PaMaxWeight;
  precWeight = PaPrecWeight;
  maxIntern = PaMaxIntern;
  calcOutputNodes();
}

void TANN::initANN(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
                   int PaPrecWeight, int PaMaxIntern) {
  SetShape(PaNodes, PaInputNodes, PaHiddenNodes, PaHiddenLayers, PaMaxWeight, PaPrecWeight, PaMaxIntern);

  const size_t n = Nodes;
  OutputList = std::make_unique<int32_t[]>(OutputNodes + 2);
  NodeList = std::make_unique<TNode[]>(n);
  AdjazenzMatrix = std::make_unique<std::unique_ptr<TWeight[]>[]>(n);
  for (size_t i = 0; i < n; ++i) AdjazenzMatrix[i] = std::make_unique<TWeight[]>(n);
  // At most one row per (group, source) pair: groups never exceed the targets.
  Rows = std::make_unique<TRow[]>(static_cast<size_t>(Nodes - InputNodes) * (Nodes - OutputNodes));
  Groups = std::make_unique<TGroup[]>(n);

  for (int L = 0; L <= static_cast<int>(HiddenLayers); ++L) {
    const TLayerBlock b = Block(L);
    for (int s = b.FirstSource; s < b.FirstSource + b.Sources; ++s)
      for (int t = b.FirstTarget; t < b.FirstTarget + b.Targets; ++t)
        AdjazenzMatrix[s][t] = DrawInitialWeight(NextRandom(), maxWeight, precWeight);
  }

  Connections = static_cast<int32_t>(HiddenNodes * HiddenNodes * (HiddenLayers - 1) + InputNodes * HiddenNodes +
                                     HiddenNodes * OutputNodes);
  oldConnections = Connections;
  PlanValid = false;
}

void TANN::BuildPlan() {
  const int nodes = static_cast<int>(Nodes);
  const int sources = nodes - static_cast<int>(OutputNodes);
  int32_t rows = 0;
  GroupCount = 0;
  bool splitOk = precWeight != 0 && maxIntern >= 0 && maxIntern < 2048;
  for (int first = static_cast<int>(InputNodes); first < nodes;) {
    // A target joins the group unless it reads a node of the group that comes
    // before it (that value must be the one of this evaluation).
    int width = 1;
    while (width < GroupWidth && first + width < nodes) {
      const int k = first + width;
      bool independent = true;
      for (int s = first; s < std::min(k, sources); ++s) independent &= AdjazenzMatrix[s][k] == 0;
      if (!independent) break;
      ++width;
    }
    TGroup& g = Groups[GroupCount++];
    g.FirstTarget = first;
    g.Width = width;
    g.FirstRow = rows;
    for (int j = 0; j < sources; ++j) {
      bool any = false;
      for (int k = 0; k < width; ++k) any |= AdjazenzMatrix[j][first + k] != 0;
      if (!any) continue;
      TRow& r = Rows[rows++];
      r.Source = j;
      for (int k = 0; k < GroupWidth; ++k) {
        const TWeight w = k < width ? AdjazenzMatrix[j][first + k] : 0;
        r.Factor[k] = w == 0 ? 0.0L : static_cast<long double>(w) / static_cast<long double>(precWeight);
        r.Hi[k] = static_cast<double>(r.Factor[k]);
        r.Lo[k] = static_cast<double>(r.Factor[k] - r.Hi[k]);
      }
      // A node not yet computed in this call holds an older value, which may
      // be anything (a loaded file); only computed and clamped values are small.
      if (j >= first) splitOk = false;
    }
    g.Rows = rows - g.FirstRow;
    first += width;
  }
  ClampHigh = std::min<double>(maxIntern, INT_MAX);
  ClampLow = std::max<double>(-static_cast<double>(maxIntern), INT_MIN);
  InputHigh = static_cast<int32_t>(ClampHigh);
  InputLow = std::min(static_cast<int32_t>(ClampLow), InputHigh);
  SplitFactors = splitOk;
  PlanValid = true;
}

template <int Width, bool Split>
void TANN::RunGroup(const TGroup& g) {
  TNode* node = NodeList.get();
  float Sum[Width] = {};
  const TRow* row = Rows.get() + g.FirstRow;
  for (int r = 0; r < g.Rows; ++r) {
    const long double out = node[row[r].Source].Output;
    for (int k = 0; k < Width; ++k) {
      long double term;
      if constexpr (Split)
        term = static_cast<long double>(row[r].Hi[k]) * out + static_cast<long double>(row[r].Lo[k]) * out;
      else
        term = row[r].Factor[k] * out;
      Sum[k] = static_cast<float>(static_cast<long double>(Sum[k]) + term);
    }
  }
  for (int k = 0; k < Width; ++k) {
    const int i = g.FirstTarget + k;
    node[i].internValue = ClampTruncSum(Sum[k], ClampLow, ClampHigh);
    OutFunc1(static_cast<unsigned>(i));
  }
}

template <bool Split>
void TANN::RunGroups() {
  for (int32_t k = 0; k < GroupCount; ++k) {
    const TGroup& g = Groups[k];
    switch (g.Width) {
      case 1: RunGroup<1, Split>(g); break;
      case 2: RunGroup<2, Split>(g); break;
      case 3: RunGroup<3, Split>(g); break;
      default: RunGroup<4, Split>(g); break;
    }
  }
}

void TANN::runANN(const int* PaInput, int* PaOutput) {
  if (!PlanValid) BuildPlan();
  TNode* node = NodeList.get();
  const int in = static_cast<int>(InputNodes), nodes = static_cast<int>(Nodes);
  for (int i = 0; i < in; ++i) {
    node[i].internValue = (std::clamp(PaInput[i], InputLow, InputHigh));
    OutFunc1(static_cast<unsigned>(i));
  }
  if (SplitFactors)
    RunGroups<true>();
  else
    RunGroups<false>();
  const int first = nodes - static_cast<int>(OutputNodes);
  for (int k = 0; k < static_cast<int>(OutputNodes); ++k) PaOutput[k] = node[first + k].Output;
}

void TANN::show() const {
  constexpr int EntryWidth = 5, MaxEntries = 11;
  char line[EntryWidth * MaxEntries + 1];
  char entry[16];  // "%+5i" of any int: at most 11 characters
  const int nodes = static_cast<int>(Nodes), hid = static_cast<int>(HiddenNodes);
  const int layers = static_cast<int>(HiddenLayers);

  // The first three blocks, each on its own lines of the window: 11 input
  // lines, then 7 for each hidden layer. A block into a hidden layer shows up
  // to 7 targets, the outputs up to 11.
  constexpr int FirstId[3] = {320, 331, 338}, Lines[3] = {11, 7, 7};
  for (int L = 0; L < 3; ++L) {
    const TLayerBlock b = Block(L);
    const int sourceLines = std::min(b.Sources, Lines[L]);
    const int columns =
        L == 0 || L < layers ? std::min(hid, 7) : std::clamp(nodes - b.FirstTarget, 0, MaxEntries);
    for (int k = 0; k < Lines[L]; ++k) {
      line[0] = '\0';
      const int s = b.FirstSource + k;
      if (k < sourceLines && s < nodes) {
        size_t len = 0;
        for (int c = 0; c < columns && b.FirstTarget + c < nodes; ++c) {
          std::snprintf(entry, sizeof entry, "%+5i", AdjazenzMatrix[s][b.FirstTarget + c]);
          const size_t n = std::min<size_t>(std::strlen(entry), EntryWidth);
          std::memcpy(line + len, entry, n);
          len += n;
        }
        line[len] = '\0';
      }
      ZarnikWindow->SetDlgText(FirstId[L] + k, line);
    }
  }
}
