#pragma once

// The network sums of the batched episode, several networks at once in the
// lanes of one vector, with the bits of the one-at-a-time sums.

#include <cstdint>

// The vector helpers below are always inlined: no vector crosses a call.
#pragma GCC diagnostic ignored "-Wpsabi"

// Node sums of several networks at once, one network per lane of a vector of
// doubles, giving the bits of the x87 rule
//   Sum = float((long double)Sum + F * out),  F = (long double)w / precWeight,
// where the product is rounded to extended precision, the sum to extended and
// then to single precision.
//
// In doubles, with F' = double(F): t = F' * out and x = Sum + t differ from
// the exact extended values by less than |t| 2^-51 + |x| 2^-53. The two
// roundings of the x87 rule give the single-precision neighbour of x unless
// the extended sum falls on a midpoint between two floats, which needs x
// within about 2^-64 |x| of that midpoint. So where x lies farther than the
// error bound from every midpoint, float(x) is exactly the x87 result; the
// other lanes are marked doubtful and their term is taken again the x87 way
// (about one lane term in a hundred: a product that comes out whole lands a sum on a
// midpoint, where the last bits of the extended product decide).
// Every value is a multiple of 2^-(64 + log2 precWeight) (no subnormals), so
// the bound holds for precWeight up to 2^20.

constexpr int LaneCount = 8;
using TLaneDouble = double __attribute__((vector_size(8 * LaneCount)));
using TLaneFloat = float __attribute__((vector_size(4 * LaneCount)));
using TLaneInt64 = int64_t __attribute__((vector_size(8 * LaneCount)));
using TLaneInt32 = int32_t __attribute__((vector_size(4 * LaneCount)));

template <class V, class I>
[[gnu::always_inline]] inline V LaneAbs(V v) {
  return reinterpret_cast<V>(reinterpret_cast<I>(v) & 0x7FFF'FFFF'FFFF'FFFFll);
}

// One term of a node sum in every lane; `doubtful` gets the lanes whose
// result may differ from the x87 rule.
template <class V, class F, class I>
[[gnu::always_inline]] inline V AddLaneTerm(V sum, V factor, V out, I& doubtful) {
  const V t = factor * out;
  const V x = sum + t;
  const V r = __builtin_convertvector(__builtin_convertvector(x, F), V);
  // Half the float spacing in x's binade; x - r is exact (Sterbenz).
  const V half = reinterpret_cast<V>(reinterpret_cast<I>(x) & 0x7FF0'0000'0000'0000ll) * 0x1p-24;
  const V gap = half - LaneAbs<V, I>(x - r);  // distance to the nearest midpoint
  const V bound = (LaneAbs<V, I>(t) + LaneAbs<V, I>(x)) * 0x1p-50;  // above |t| 2^-50 + |x| 2^-51
  doubtful = gap < bound;
  return r;
}

// Whether any lane of a comparison result is set: halves folded together.
[[gnu::always_inline]] inline bool AnyLane(const TLaneInt64& mask) {
  static_assert(LaneCount == 8);
  const auto four = __builtin_shufflevector(mask, mask, 0, 1, 2, 3) | __builtin_shufflevector(mask, mask, 4, 5, 6, 7);
  const auto two = __builtin_shufflevector(four, four, 0, 1) | __builtin_shufflevector(four, four, 2, 3);
  return (two[0] | two[1]) != 0;
}

// A term whose doubtful lanes are settled after the step that ran ahead.
struct alignas(64) TDoubtfulTerm {
  TLaneDouble Sum;  // the sum before the term
  const TLaneDouble* Factor;
  const TLaneDouble* Out;
  unsigned Lanes;  // bit k for lane k
};

// One term of the x87 rule for one lane: the sum (a float's value) widened
// to extended precision as it is, the product and the total in extended
// precision, rounded to float.
[[gnu::always_inline]] inline float X87Term(double sum, long double factor, double out) {
  return static_cast<float>(static_cast<long double>(static_cast<float>(sum)) + factor * static_cast<long double>(out));
}

// The x87 rule for the doubtful lanes of a term (bit k for lane k; usually
// one): factor[k] is w / precWeight in extended precision.
[[gnu::always_inline]] inline void RedoLanes(TLaneDouble& result, const TLaneDouble& sum, const long double* factor,
                                            const TLaneDouble& out, unsigned lanes) {
  for (; lanes != 0; lanes &= lanes - 1) {
    const int k = __builtin_ctz(lanes);
    result[k] = X87Term(sum[k], factor[k], out[k]);
  }
}

[[gnu::always_inline]] inline void RedoLaneTerm(TLaneDouble& result, const TLaneDouble& sum, const long double* factor,
                                               const TLaneDouble& out, const TLaneInt64& doubtful) {
  unsigned lanes = 0;
  for (int k = 0; k < LaneCount; ++k) lanes |= static_cast<unsigned>(doubtful[k] & 1) << k;
  RedoLanes(result, sum, factor, out, lanes);
}

// Whether the values a step that ran ahead gave its doubtful lanes are the
// x87 ones: usually they are (the sum lies on a midpoint and both ways round
// it alike). Taken in the order of the step: up to the first that differs,
// every value the step used was the x87 one, so each is checked on true
// inputs. `longFactors` holds the terms' factors (`factors`) in extended
// precision, lane by lane.
[[gnu::always_inline]] inline bool DoubtsSettled(const TDoubtfulTerm* doubts, long long count,
                                                 const TLaneDouble* factors, const long double* longFactors) {
  for (long long i = 0; i < count; ++i) {
    const TDoubtfulTerm& d = doubts[i];
    const long double* longFactor = longFactors + (d.Factor - factors) * LaneCount;
    for (unsigned lanes = d.Lanes; lanes != 0; lanes &= lanes - 1) {
      const int k = __builtin_ctz(lanes);
      const double sum = d.Sum[k], factor = (*d.Factor)[k], out = (*d.Out)[k];
      if (X87Term(sum, longFactor[k], out) != static_cast<float>(sum + factor * out)) return false;
    }
  }
  return true;
}
