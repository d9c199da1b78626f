// The vector node sum against the x87 rule.
#include <gtest/gtest.h>
#include <bit>
#include <vector>
#include "evaluation/lane_sum.h"

namespace {
float X87Term(float sum, int w, int prec, int out) {
  return static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(w) / prec * out);
}

struct TTerm { float Sum; int W, Prec, Out; };

// Eight lanes at a time: with its doubted lanes redone, the vector rule gives the x87 bits. Returns the doubted.
int ExpectVectorRuleMatches(const std::vector<TTerm>& terms) {
  int doubted = 0;
  for (size_t first = 0; first < terms.size(); first += LaneCount) {
    TLaneDouble sum{}, factor{}, out{};
    long double longFactor[LaneCount] = {};
    TLaneInt64 doubtful{};
    const size_t n = std::min<size_t>(LaneCount, terms.size() - first);
    for (size_t k = 0; k < n; ++k) {
      const TTerm& t = terms[first + k];
      longFactor[k] = static_cast<long double>(t.W) / t.Prec;
      sum[k] = t.Sum, factor[k] = static_cast<double>(longFactor[k]), out[k] = t.Out;
    }
    TLaneDouble r = AddLaneTerm<TLaneDouble, TLaneFloat, TLaneInt64>(sum, factor, out, doubtful);
    RedoLaneTerm(r, sum, longFactor, out, doubtful);
    for (size_t k = 0; k < n; ++k) {
      const TTerm& t = terms[first + k];
      doubted += doubtful[k] != 0;
      const float want = X87Term(t.Sum, t.W, t.Prec, t.Out);
      EXPECT_EQ(std::bit_cast<uint32_t>(static_cast<float>(r[k])), std::bit_cast<uint32_t>(want))
          << t.Sum << " + " << t.W << "/" << t.Prec << " * " << t.Out;
    }
  }
  return doubted;
}

TEST(LaneSum, GivesTheX87BitsAndDoubtsMidpoints) {
  // The worked node: 1.5 * 500 + (-0.5) * (-300) = 900.
  EXPECT_EQ(ExpectVectorRuleMatches({{0.0f, 150, 100, 500}, {750.0f, -50, 100, -300}}), 0);
  // Exact midpoints 2^22 + 0.5 k + 0.25, and sums that cancel in doubles only, must be doubted.
  std::vector<TTerm> ties;
  for (int k = 0; k < 64; ++k) ties.push_back({static_cast<float>(0x1p22 + 0.5 * k), 25, 100, 1});
  ties.push_back({-X87Term(0.0f, 1, 3, 1), 1, 3, 1});
  // 2^22 + 0.25 + 2^-33 is a midpoint in doubles only: the vector rounds to 2^22, x87 to 2^22 + 0.5.
  ties.push_back({0x1p22f, 536870912, 2147483647, 1});
  EXPECT_EQ(ExpectVectorRuleMatches(ties), 66);
}

// A step that ran ahead kept the doubles' value of its doubtful lanes; only where that is the x87 one may it stand.
TEST(LaneSum, DoubtsSettleOnlyWhereTheDoublesGaveTheX87Value) {
  TLaneDouble sum{}, factor{}, out{};
  long double longFactor[LaneCount] = {};
  for (int k = 0; k < LaneCount; ++k) sum[k] = 0x1p22, out[k] = 1;
  // Lane 0: 2^22 + 25/100 lies on a midpoint both ways, and both round it to the even 2^22.
  longFactor[0] = 25.0L / 100;
  // Lane 3: 2^22 + 2^29/(2^31 - 1) is that midpoint in doubles only; x87 rounds it up to 2^22 + 0.5.
  longFactor[3] = 536870912.0L / 2147483647;
  for (int k = 0; k < LaneCount; ++k) factor[k] = static_cast<double>(longFactor[k]);
  const TDoubtfulTerm midpoint{sum, &factor, &out, 1u << 0}, differs{sum, &factor, &out, 1u << 3};
  EXPECT_EQ(static_cast<float>(sum[3] + factor[3] * out[3]), 0x1p22f);
  const TDoubtfulTerm both[] = {midpoint, differs};
  EXPECT_TRUE(DoubtsSettled(both, 1, &factor, longFactor));
  EXPECT_FALSE(DoubtsSettled(both, 2, &factor, longFactor));
  EXPECT_FALSE(DoubtsSettled(both + 1, 1, &factor, longFactor));
  EXPECT_TRUE(DoubtsSettled(both, 0, &factor, longFactor));
}
}  // namespace
