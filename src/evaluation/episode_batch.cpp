#include "evaluation/episode_batch.h"

#include <immintrin.h>

#include <algorithm>
#include <climits>

#include "ann-ga/episode_stepper.h"
#include "ann-ga/layer_blocks.h"

namespace {

// The factors of every term and lane, in doubles and in extended precision
// (the x87 rule's, for the rare lanes that need them).
struct TFactors {
  const TLaneDouble* Base;
  const long double* Long;
  const long double* LongOf(const TLaneDouble* factor) const { return Long + (factor - Base) * LaneCount; }
};

// Vector terms with doubtful lanes, and steps taken again term by term.
struct TSumCounts {
  long long Doubtful;
  int Careful;
};

struct TShapeView {
  int Nodes, InputNodes, HiddenNodes, HiddenLayers, OutputNodes;
  const TLaneInt32* Inputs;  // per input node, before clamping
  TLaneInt32 InputLow, InputHigh;
};

// The input nodes' values: clamped and converted a vector at a time.
[[gnu::always_inline]] inline void SetInputs(const TShapeView& s, TLaneDouble* values) {
  for (int i = 0; i < s.InputNodes; ++i) {
    TLaneInt32 v = s.Inputs[i] < s.InputLow ? s.InputLow : s.Inputs[i];
    v = v > s.InputHigh ? s.InputHigh : v;
    values[i] = __builtin_convertvector(v, TLaneDouble);
  }
}

// A target's value from its sum: clamped to the node range and cut to an
// integer, as the plain rule does. Written through a reference: clang refuses
// a wide vector returned by value into the AVX-512 path.
[[gnu::always_inline]] inline void StoreClampedNodeValue(TLaneDouble& value, const TLaneDouble& sum,
                                                         const TLaneDouble& low, const TLaneDouble& high) {
  TLaneDouble v = sum < low ? low : sum;
  v = v > high ? high : v;
  value = __builtin_convertvector(__builtin_convertvector(v, TLaneInt32), TLaneDouble);
}

// The sums of one block's targets, source by source, so that the chains of
// the targets interleave, kept in registers.
template <int Width>
[[gnu::always_inline]] inline long long SumBlock(const TLayerBlock& b, const TLaneDouble*& factor,
                                                 const TFactors& tables, TLaneDouble* values,
                                                 const TLaneDouble& low, const TLaneDouble& high) {
  long long redone = 0;
  TLaneDouble sum[Width] = {};
  for (int j = 0; j < b.Sources; ++j) {
    const TLaneDouble out = values[b.FirstSource + j];
#pragma GCC unroll 8
    for (int t = 0; t < Width; ++t) {
      TLaneInt64 doubtful;
      TLaneDouble r = AddLaneTerm<TLaneDouble, TLaneFloat, TLaneInt64>(sum[t], factor[t], out, doubtful);
      if (AnyLane(doubtful)) [[unlikely]] {
        RedoLaneTerm(r, sum[t], tables.LongOf(factor + t), out, doubtful);
        ++redone;
      }
      sum[t] = r;
    }
    factor += Width;
  }
#pragma GCC unroll 8
  for (int t = 0; t < Width; ++t) StoreClampedNodeValue(values[b.FirstTarget + t], sum[t], low, high);
  return redone;
}

// Blocks of other widths, one term at a time with the sums in memory.
inline long long SumAnyBlock(const TLayerBlock& b, const TLaneDouble*& factor, const TFactors& tables,
                             TLaneDouble* values, TLaneDouble* sum, const TLaneDouble& low, const TLaneDouble& high) {
  long long redone = 0;
  for (int t = 0; t < b.Targets; ++t) sum[t] = TLaneDouble{};
  for (int j = 0; j < b.Sources; ++j) {
    const TLaneDouble out = values[b.FirstSource + j];
    for (int t = 0; t < b.Targets; ++t, ++factor) {
      TLaneInt64 doubtful;
      TLaneDouble r = AddLaneTerm<TLaneDouble, TLaneFloat, TLaneInt64>(sum[t], *factor, out, doubtful);
      if (AnyLane(doubtful)) {
        RedoLaneTerm(r, sum[t], tables.LongOf(factor), out, doubtful);
        ++redone;
      }
      sum[t] = r;
    }
  }
  for (int t = 0; t < b.Targets; ++t) StoreClampedNodeValue(values[b.FirstTarget + t], sum[t], low, high);
  return redone;
}

// SumBlock for processors with AVX-512: the same arithmetic, and the test of
// a source's terms is one mask, which the generic vectors cannot express
// without moving every comparison through general registers. The error
// bound is taken from the larger of |t| and |x| (one range instruction):
// 2 max(|t|, |x|) 2^-50 is at least (|t| + |x|) 2^-50, so every lane the
// generic rule doubts is doubted here too (a few more, which the x87 way
// gives their exact value anyway).
// GCC 12 warns inside its own conversion intrinsics (its bug 105593).
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#define ZARNIK_V4 __attribute__((target("arch=x86-64-v4"), always_inline)) inline

// The x87 rule for the lanes of `lanes` (usually one), kept out of the
// common path so that its sums stay in registers.
__attribute__((target("arch=x86-64-v4"), noinline)) __m512d RedoLanesV4(__m512d result, __m512d sum,
                                                                        const long double* factor, __m512d out,
                                                                        unsigned lanes) {
  for (; lanes != 0; lanes &= lanes - 1) {
    const int k = __builtin_ctz(lanes);
    const __mmask8 lane = static_cast<__mmask8>(1u << k);
    // The lane moved down by a register shuffle: a wide store read back in
    // parts would wait for the store to finish.
    const double s = _mm512_cvtsd_f64(_mm512_maskz_compress_pd(lane, sum));
    const double o = _mm512_cvtsd_f64(_mm512_maskz_compress_pd(lane, out));
    result = _mm512_mask_broadcastsd_pd(result, lane, _mm_set_sd(X87Term(s, factor[k], o)));
  }
  return result;
}

// One term of a block in every lane, AddLaneTerm step for step with the
// bound from the larger term; returns the doubtful lanes.
ZARNIK_V4 __mmask8 AddTermV4(__m512d sum, __m512d factor, __m512d out, __m512d& result) {
  const __m512d expMask = _mm512_castsi512_pd(_mm512_set1_epi64(0x7FF0'0000'0000'0000ll));
  const __m512d absMask = _mm512_castsi512_pd(_mm512_set1_epi64(0x7FFF'FFFF'FFFF'FFFFll));
  const __m512d term = _mm512_mul_pd(factor, out);
  const __m512d x = _mm512_add_pd(sum, term);
  result = _mm512_cvtps_pd(_mm512_cvtpd_ps(x));
  const __m512d half = _mm512_mul_pd(_mm512_and_pd(x, expMask), _mm512_set1_pd(0x1p-24));
  const __m512d gap = _mm512_sub_pd(half, _mm512_and_pd(_mm512_sub_pd(x, result), absMask));
  // max(|term|, |x|): range with the larger magnitude, sign cleared.
  const __m512d bound = _mm512_mul_pd(_mm512_range_pd(term, x, 0x0B), _mm512_set1_pd(0x1p-49));
  return _mm512_cmp_pd_mask(gap, bound, _CMP_LT_OQ);
}

// The sums of one block. Careful: each doubtful lane is settled before the
// next term. Ahead: the terms go on with the doubles' value and the doubtful
// ones are written to `doubts` (the sum before the term, its factor and
// source, the lanes), to be settled after the step: a branch per term that
// goes one way or the other at random costs more than the rare lane itself.
template <int Width, bool Ahead>
ZARNIK_V4 long long SumBlockV4(const TLayerBlock& b, const TLaneDouble*& factor, const TFactors& tables,
                               TLaneDouble* values, const TLaneDouble& low, const TLaneDouble& high,
                               TDoubtfulTerm* doubts) {
  long long redone = 0;
  __m512d sum[Width];
#pragma GCC unroll 8
  for (int t = 0; t < Width; ++t) sum[t] = _mm512_setzero_pd();
  const TLaneDouble* f = factor;
  for (int j = 0; j < b.Sources; ++j, f += Width) {
    const TLaneDouble* source = values + b.FirstSource + j;
    const __m512d out = reinterpret_cast<const __m512d&>(*source);
    __m512d r[Width];
    __mmask8 doubtful[Width];
#pragma GCC unroll 8
    for (int t = 0; t < Width; ++t) {
      doubtful[t] = AddTermV4(sum[t], reinterpret_cast<const __m512d&>(f[t]), out, r[t]);
      if constexpr (Ahead) {
        // Written every time, kept only when doubtful: no branch.
        TDoubtfulTerm& d = doubts[redone];
        reinterpret_cast<__m512d&>(d.Sum) = sum[t];
        d.Factor = f + t;
        d.Out = source;
        d.Lanes = doubtful[t];
        redone += doubtful[t] != 0;
      }
    }
    if constexpr (!Ahead) {
      __mmask8 anyDoubtful = doubtful[0];
#pragma GCC unroll 8
      for (int t = 1; t < Width; ++t) anyDoubtful |= doubtful[t];
      if (anyDoubtful != 0) [[unlikely]] {
#pragma GCC unroll 8
        for (int t = 0; t < Width; ++t) {
          if (doubtful[t] == 0) continue;
          r[t] = RedoLanesV4(r[t], sum[t], tables.LongOf(f + t), out, doubtful[t]);
          ++redone;
        }
      }
    }
#pragma GCC unroll 8
    for (int t = 0; t < Width; ++t) sum[t] = r[t];
  }
  factor = f;
#pragma GCC unroll 8
  for (int t = 0; t < Width; ++t)
    StoreClampedNodeValue(values[b.FirstTarget + t], reinterpret_cast<const TLaneDouble&>(sum[t]), low, high);
  return redone;
}

// All blocks of one network step in every lane; node values in `values`,
// inputs from the shape's. Returns the number of vector terms whose doubtful
// lanes were taken again the x87 way.
[[gnu::always_inline]] inline long long SumLayersBody(const TShapeView& s, const TLaneDouble* factor,
                                                      const TFactors& tables, TLaneDouble* values,
                                                      TLaneDouble* sums, const TLaneDouble& low,
                                                      const TLaneDouble& high) {
  SetInputs(s, values);
  long long redone = 0;
  for (int L = 0; L <= s.HiddenLayers; ++L) {
    const TLayerBlock b = LayerBlock(L, s.Nodes, s.InputNodes, s.HiddenNodes, s.HiddenLayers, s.OutputNodes);
    switch (b.Targets) {
      case 3: redone += SumBlock<3>(b, factor, tables, values, low, high); break;
      case 4: redone += SumBlock<4>(b, factor, tables, values, low, high); break;
      default: redone += SumAnyBlock(b, factor, tables, values, sums, low, high); break;
    }
  }
  return redone;
}

template <bool Ahead>
ZARNIK_V4 long long SumLayersV4Pass(const TShapeView& s, const TLaneDouble* factor, const TFactors& tables,
                                    TLaneDouble* values, TLaneDouble* sums, const TLaneDouble& low,
                                    const TLaneDouble& high, TDoubtfulTerm* doubts) {
  SetInputs(s, values);
  long long redone = 0;
  for (int L = 0; L <= s.HiddenLayers; ++L) {
    const TLayerBlock b = LayerBlock(L, s.Nodes, s.InputNodes, s.HiddenNodes, s.HiddenLayers, s.OutputNodes);
    switch (b.Targets) {
      case 3: redone += SumBlockV4<3, Ahead>(b, factor, tables, values, low, high, doubts + redone); break;
      case 4: redone += SumBlockV4<4, Ahead>(b, factor, tables, values, low, high, doubts + redone); break;
      default: SumAnyBlock(b, factor, tables, values, sums, low, high); break;  // settled as it goes
    }
  }
  return redone;
}

// The same for the baseline and for wider vector units, chosen once by what
// the processor has (not by an ifunc, which the sanitizers cannot start);
// all give the same bits. With AVX-512 the step runs ahead of its doubtful
// lanes, which nearly always had the x87 value anyway; when one had not, the
// step is taken again, each term settled before the next.
__attribute__((target("arch=x86-64-v4"))) TSumCounts SumLayersV4(const TShapeView& s, const TLaneDouble* factor,
                                                                  const TFactors& tables, TLaneDouble* values,
                                                                  TLaneDouble* sums, const TLaneDouble& low,
                                                                  const TLaneDouble& high, TDoubtfulTerm* doubts) {
  const long long doubtful = SumLayersV4Pass<true>(s, factor, tables, values, sums, low, high, doubts);
  if (DoubtsSettled(doubts, doubtful, tables.Base, tables.Long)) return {doubtful, 0};
  return {SumLayersV4Pass<false>(s, factor, tables, values, sums, low, high, doubts), 1};
}
#undef ZARNIK_V4
#pragma GCC diagnostic pop

#define ZARNIK_SUM_LAYERS(name, target)                                                                    \
  target TSumCounts name(const TShapeView& s, const TLaneDouble* factor, const TFactors& tables,          \
                         TLaneDouble* values, TLaneDouble* sums, const TLaneDouble& low,                 \
                         const TLaneDouble& high, TDoubtfulTerm*) {                                      \
    return {SumLayersBody(s, factor, tables, values, sums, low, high), 0};                                  \
  }
ZARNIK_SUM_LAYERS(SumLayersBaseline, )
ZARNIK_SUM_LAYERS(SumLayersV3, __attribute__((target("arch=x86-64-v3"))))
#undef ZARNIK_SUM_LAYERS

using TSumLayers = decltype(&SumLayersBaseline);

// Whether the processor has the x86-64 level 3 or 4. Clang 14 knows no level
// names in __builtin_cpu_supports; its builds (the fuzzer) keep the baseline.
bool CpuHasLevel(int level) {
#if defined(__clang__)
  (void)level;
  return false;
#else
  __builtin_cpu_init();
  return level >= 4 ? __builtin_cpu_supports("x86-64-v4") : __builtin_cpu_supports("x86-64-v3");
#endif
}

TSumLayers PickSumLayers() {
  if (CpuHasLevel(4)) return SumLayersV4;
  if (CpuHasLevel(3)) return SumLayersV3;
  return SumLayersBaseline;
}

TSumLayers SumLayers = PickSumLayers();

}  // namespace

struct TEpisodeBatch::TLane {
  TSimulator* Sim = nullptr;
  TEpisodeJob* Job = nullptr;  // null: nothing to play
  TChromosom* C = nullptr;
  int32_t* Out = nullptr;      // the lane's output vector, OutputNodes + 2 entries
  bool Stepped = false;      // the network has taken a step in this episode
  bool NodesInList = false;  // its last step ran in the individual itself
  TEpisodeStepper Episode;
};

bool UseLaneVariant(int level) {
  switch (level) {
    case 0: SumLayers = SumLayersBaseline; return true;
    case 3: if (!CpuHasLevel(3)) return false; SumLayers = SumLayersV3; return true;
    case 4: if (!CpuHasLevel(4)) return false; SumLayers = SumLayersV4; return true;
    default: SumLayers = PickSumLayers(); return true;
  }
}

TEpisodeBatch::TEpisodeBatch(std::span<TSimulator* const> lanes)
    : LaneSims(static_cast<int>(std::min<size_t>(lanes.size(), LaneCount))),
      LaneState(std::make_unique<TLane[]>(LaneCount)),
      // Storage for the largest shape up front: a worker that gets its first
      // episode late allocates nothing then.
      Factors(std::make_unique<TLaneDouble[]>(MaxTerms)),
      Values(std::make_unique<TLaneDouble[]>(MaxNodes)),
      Sums(std::make_unique<TLaneDouble[]>(MaxNodes)),
      OutBuffer(std::make_unique<int32_t[]>(LaneCount * (MaxNodes + 2))),
      Doubts(std::make_unique<TDoubtfulTerm[]>(MaxTerms + 1)),
      LongFactors(std::make_unique<long double[]>(MaxTerms * LaneCount)) {
  for (int k = 0; k < LaneSims; ++k) LaneState[k].Sim = lanes[k];
}

TEpisodeBatch::~TEpisodeBatch() = default;

bool TEpisodeBatch::FitsShape(const TChromosom& c) const {
  if (Nodes > MaxNodes || static_cast<size_t>(Terms) > MaxTerms || c.getNodes() != Nodes || c.getInputNodes() != InputNodes || c.getHiddenNodes() != HiddenNodes ||
      c.getHiddenLayers() != HiddenLayers || c.getOutputNodes() != OutputNodes)
    return false;
  const int p = c.getPrecWeight();
  if (p == 0 || p > (1 << 20) || p < -(1 << 20) || c.getMaxIntern() < 0) return false;
  // Every weight the plain rule reads must lie in a block of the layers.
  const int sources = Nodes - OutputNodes;
  for (int j = 0; j < sources; ++j) {
    const int* row = c.getLineWeight(j);
    for (int t = InputNodes; t < RowTargets[j].first; ++t)
      if (row[t] != 0) return false;
    for (int t = RowTargets[j].second; t < Nodes; ++t)
      if (row[t] != 0) return false;
  }
  return true;
}

void TEpisodeBatch::SetShape(const TChromosom& c) {
  Nodes = c.getNodes();
  InputNodes = c.getInputNodes();
  HiddenNodes = c.getHiddenNodes();
  HiddenLayers = c.getHiddenLayers();
  OutputNodes = c.getOutputNodes();
  Terms = 0;
  for (int L = 0; L <= HiddenLayers && Nodes <= MaxNodes; ++L) {
    const TLayerBlock b = LayerBlock(L, Nodes, InputNodes, HiddenNodes, HiddenLayers, OutputNodes);
    Terms += b.Sources * b.Targets;
    for (int j = b.FirstSource; j < b.FirstSource + b.Sources; ++j)
      RowTargets[j] = {b.FirstTarget, b.FirstTarget + b.Targets};
  }
  for (int k = 0; k < LaneCount; ++k) LaneState[k].Out = OutBuffer.get() + k * (MaxNodes + 2);
}

void TEpisodeBatch::LoadFactors(TLane& lane, int k) {
  const TChromosom& c = *lane.C;
  const long double p = c.getPrecWeight();
  int term = 0;
  for (int L = 0; L <= HiddenLayers; ++L) {
    const TLayerBlock b = LayerBlock(L, Nodes, InputNodes, HiddenNodes, HiddenLayers, OutputNodes);
    for (int j = b.FirstSource; j < b.FirstSource + b.Sources; ++j)
      for (int t = b.FirstTarget; t < b.FirstTarget + b.Targets; ++t) {
        const int w = c.getWeight(j, t);
        const long double f = w == 0 ? 0.0L : static_cast<long double>(w) / p;
        LongFactors[static_cast<size_t>(term) * LaneCount + k] = f;
        Factors[term++][k] = static_cast<double>(f);
      }
  }
  const int m = c.getMaxIntern();
  InputLow[k] = -m;
  InputHigh[k] = m;
  Low[k] = -static_cast<double>(m);
  High[k] = m;
}

int TEpisodeBatch::BusyLanes() const {
  int busy = 0;
  for (int k = 0; k < LaneSims; ++k) busy += LaneState[k].Job != nullptr;
  return busy;
}

bool TEpisodeBatch::Begin(TLane& lane, TEpisodeSource& source) {
  for (;;) {
    TEpisodeJob* job = source.TakeFor(BusyLanes());
    if (job == nullptr) return false;
    TChromosom& c = *job->Individual;
    if (Nodes == 0) SetShape(c);
    lane.Sim->ResetSimulator();
    if (!FitsShape(c)) {
      job->LastTargetX = c.playLaneEpisode2(*lane.Sim, job->HeightE, job->HeightF);
      ++ReferenceEpisodes;
      continue;
    }
    lane.Job = job;
    lane.C = &c;
    LoadFactors(lane, static_cast<int>(&lane - LaneState.get()));
    lane.Stepped = lane.NodesInList = false;
    lane.Episode.Begin(*lane.Sim, lane.Out, OutputNodes, c.getConnections(), job->HeightE, job->HeightF);
    return true;
  }
}

void TEpisodeBatch::Finish(TLane& lane) {
  TChromosom& c = *lane.C;
  c.setFitness(lane.Episode.Fitness());
  c.setBallCounts(lane.Episode.Counts());
  if (lane.Stepped && !lane.NodesInList) {
    const int k = static_cast<int>(&lane - LaneState.get());
    TANN::TNode* node = c.getNodeList();
    for (int n = 0; n < Nodes; ++n) node[n].internValue = node[n].Output = static_cast<int32_t>(Values[n][k]);
  }
  std::copy(lane.Out, lane.Out + OutputNodes + 2, c.getOutputList());
  lane.Job->LastTargetX = lane.Episode.LastTargetX();
  lane.Job = nullptr;
}

// Moves the lane on to its next network step: through the ends of episodes
// and into new ones. False when nothing is left for it.
bool TEpisodeBatch::AdvanceToStep(TLane& lane, TEpisodeSource& source) {
  for (;;) {
    if (lane.Job == nullptr && !Begin(lane, source)) return false;
    if (lane.Episode.StepDue()) return true;
    Finish(lane);
  }
}

void TEpisodeBatch::RunNetworks(int active) {
  // A vector step costs about as much as three networks one at a time: when
  // the last episodes of a pass leave few lanes busy, they go one at a time.
  if (active <= 3) {
    for (int k = 0; k < LaneSims; ++k) {
      TLane& lane = LaneState[k];
      if (lane.Job == nullptr) continue;
      ++Steps;
      lane.Stepped = lane.NodesInList = true;
      lane.C->runANN(lane.Episode.Input(), lane.Out);
    }
    return;
  }
  // Inputs lane by lane as integers; the vector rule clamps and converts them.
  TLaneDouble* value = Values.get();
  const int inputs = InputNodes, outputs = OutputNodes;
  for (int k = 0; k < LaneCount; ++k) {
    const TLane& lane = LaneState[k];
    if (lane.Job != nullptr) {
      const int* in = lane.Episode.Input();
      for (int i = 0; i < inputs; ++i) Inputs[i][k] = in[i];
    } else {
      for (int i = 0; i < inputs; ++i) Inputs[i][k] = 0;
    }
  }
  const TShapeView shape{Nodes, InputNodes, HiddenNodes, HiddenLayers, OutputNodes, Inputs, InputLow, InputHigh};
  const TFactors tables{Factors.get(), LongFactors.get()};
  const TSumCounts counts = SumLayers(shape, Factors.get(), tables, value, Sums.get(), Low, High, Doubts.get());
  RedoneTerms += counts.Doubtful;
  CarefulSteps += counts.Careful;
  const TLaneDouble* result = value + (Nodes - outputs);
  long long steps = 0;
  for (int k = 0; k < LaneSims; ++k) {
    TLane& lane = LaneState[k];
    if (lane.Job == nullptr) continue;
    ++steps;
    lane.Stepped = true;
    lane.NodesInList = false;
    int32_t* out = lane.Out;
    for (int o = 0; o < outputs; ++o) out[o] = static_cast<int32_t>(result[o][k]);
  }
  Steps += steps;
}

void TEpisodeBatch::Play(TEpisodeSource& source) {
  int active = 0;
  for (int k = 0; k < LaneSims; ++k) {
    TLane& lane = LaneState[k];
    lane.Job = nullptr;
    if (AdvanceToStep(lane, source)) ++active;
  }
  while (active > 0 || source.Withheld()) {
    if (active > 0) RunNetworks(active);
    active = 0;
    for (int k = 0; k < LaneSims; ++k) {
      TLane& lane = LaneState[k];
      // An idle lane asks again while episodes were held back for others.
      if (lane.Job != nullptr) {
        lane.Episode.Step();
        if (AdvanceToStep(lane, source)) ++active;
      } else if (source.Withheld() && AdvanceToStep(lane, source)) {
        ++active;
      }
    }
  }
}
