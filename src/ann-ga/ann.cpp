#include "ann.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "random.h"
#include "zarnik_host.h"

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

}  // namespace

int DrawInitialWeight(int32_t r, int maxWeight, int precWeight) {
  r %= 2147483647;
  const long double v = (static_cast<long double>(r) * 0x1p-31L * 2 - 1) * maxWeight * precWeight;
  const float f = static_cast<float>(v);
  return ClampTrunc(f, INT_MIN, INT_MAX);
}

TANN::~TANN() = default;

TANN::TBlock TANN::Block(int L) const {
  const int in = static_cast<int>(InputNodes), hid = static_cast<int>(HiddenNodes);
  const int layers = static_cast<int>(HiddenLayers);
  TBlock b;
  b.FirstSource = L == 0 ? 0 : in + (L - 1) * hid;
  b.Sources = L == 0 ? in : hid;
  if (L == layers) {
    b.FirstTarget = static_cast<int>(Nodes - OutputNodes);
    b.Targets = static_cast<int>(OutputNodes);
  } else {
    b.FirstTarget = in + L * hid;
    b.Targets = hid;
  }
  return b;
}

void TANN::initANN(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
                   int PaPrecWeight, int PaMaxIntern) {
  Nodes = static_cast<uint32_t>(PaNodes);
  InputNodes = static_cast<uint32_t>(PaInputNodes);
  HiddenNodes = static_cast<uint32_t>(PaHiddenNodes);
  HiddenLayers = static_cast<uint32_t>(PaHiddenLayers);
  maxWeight = PaMaxWeight;
  precWeight = PaPrecWeight;
  maxIntern = PaMaxIntern;
  calcOutputNodes();

  const size_t n = Nodes;
  OutputList = std::make_unique<int32_t[]>(OutputNodes + 2);
  NodeList = std::make_unique<TNode[]>(n);
  AdjazenzMatrix = std::make_unique<std::unique_ptr<TWeight[]>[]>(n);
  for (size_t i = 0; i < n; ++i) AdjazenzMatrix[i] = std::make_unique<TWeight[]>(n);
  Terms = std::make_unique<TTerm[]>(n * n);
  TermEnd = std::make_unique<int32_t[]>(n);

  for (int L = 0; L <= static_cast<int>(HiddenLayers); ++L) {
    const TBlock b = Block(L);
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
  int32_t n = 0;
  for (int i = static_cast<int>(InputNodes); i < nodes; ++i) {
    for (int j = 0; j < sources; ++j) {
      const TWeight w = AdjazenzMatrix[j][i];
      if (w != 0)
        Terms[n++] = {static_cast<long double>(w) / static_cast<long double>(precWeight), j};
    }
    TermEnd[i] = n;
  }
  PlanValid = true;
}

void TANN::runANN(const int* PaInput, int* PaOutput) {
  if (!PlanValid) BuildPlan();
  const long double hi = std::min<long double>(maxIntern, INT_MAX);
  const long double lo = std::max<long double>(-static_cast<long double>(maxIntern), INT_MIN);
  const int64_t hiI = static_cast<int64_t>(hi), loI = static_cast<int64_t>(lo);

  TNode* node = NodeList.get();
  const int in = static_cast<int>(InputNodes), nodes = static_cast<int>(Nodes);
  for (int i = 0; i < in; ++i) {
    node[i].internValue = static_cast<int32_t>(std::clamp<int64_t>(PaInput[i], std::min(loI, hiI), hiI));
    OutFunc1(static_cast<unsigned>(i));
  }
  const TTerm* term = Terms.get();
  int32_t t = 0;
  for (int i = in; i < nodes; ++i) {
    float Sum = 0;
    for (const int32_t end = TermEnd[i]; t < end; ++t)
      Sum = static_cast<float>(static_cast<long double>(Sum) +
                               term[t].Factor * static_cast<long double>(node[term[t].Source].Output));
    node[i].internValue = ClampTrunc(Sum, lo, hi);
    OutFunc1(static_cast<unsigned>(i));
  }
  const int first = nodes - static_cast<int>(OutputNodes);
  for (int k = 0; k < static_cast<int>(OutputNodes); ++k) PaOutput[k] = node[first + k].Output;
}

void TANN::show() const {
  constexpr int EntryWidth = 5, MaxEntries = 11;
  char line[EntryWidth * MaxEntries + 1];
  char entry[16];  // "%+5i" of any int: at most 11 characters
  const int nodes = static_cast<int>(Nodes), in = static_cast<int>(InputNodes);
  const int hid = static_cast<int>(HiddenNodes), layers = static_cast<int>(HiddenLayers);

  struct TShowBlock {
    int FirstId, Lines, FirstSource, SourceLines, FirstColumn, Columns;
  };
  const auto toEnd = [&](int first) { return std::clamp(nodes - first, 0, MaxEntries); };
  const int c1 = in, c2 = in + hid, c3 = in + 2 * hid;
  const TShowBlock blocks[3] = {
      {320, 11, 0, std::min(in, 11), c1, std::min(hid, 7)},
      {331, 7, in, std::min(hid, 7), c2, layers > 1 ? std::min(hid, 7) : toEnd(c2)},
      {338, 7, in + hid, std::min(hid, 7), c3, layers > 2 ? std::min(hid, 7) : toEnd(c3)},
  };
  for (const TShowBlock& b : blocks) {
    for (int k = 0; k < b.Lines; ++k) {
      line[0] = '\0';
      const int s = b.FirstSource + k;
      if (k < b.SourceLines && s < nodes) {
        size_t len = 0;
        for (int c = 0; c < b.Columns && b.FirstColumn + c < nodes; ++c) {
          std::snprintf(entry, sizeof entry, "%+5i", AdjazenzMatrix[s][b.FirstColumn + c]);
          const size_t n = std::min<size_t>(std::strlen(entry), EntryWidth);
          std::memcpy(line + len, entry, n);
          len += n;
        }
        line[len] = '\0';
      }
      ZarnikWindow->SetDlgText(b.FirstId + k, line);
    }
  }
}
