#pragma once

// One individual of the genetic training: a network with its score, the two
// fitness measures, mutation and its record in the network file.
#include <cstddef>
#include <cstdint>

#include "ann-ga/ann.h"
#include "ann-ga/run_figures.h"
#include "ann-ga/simulator.h"
#include "ann-ga/zarnik_host.h"

// What a mutation needs that does not depend on the single weight.
struct TMutationSetup {
  int32_t maxValue;           // maxWeight * precWeight
  int HyBit;                  // highest mutated bit position
  float BitPropabilityFirst;  // chance offset of the highest bit
  int32_t BitValueFirst;      // 2^HyBit
  float MutationRate;
  float BitFaktor;
};
TMutationSetup MakeMutationSetup(int maxWeight, int precWeight, float PaMutationRate, float PaBitFaktor);

// Sign flip and bit flips of one weight. `draw` yields (random mod 1000), called
// once for the sign and then once per bit from the highest down.
template <class Draw>
int32_t MutateGen(int32_t Gen, const TMutationSetup& m, Draw&& draw) {
  const int64_t mag = Gen < 0 ? -static_cast<int64_t>(Gen) : Gen;
  const float pSign = static_cast<float>(static_cast<long double>(draw()) * static_cast<long double>(0.001) +
                                         static_cast<long double>(m.maxValue - mag) * m.MutationRate / m.maxValue);
  // Two's-complement negation; wraps for the smallest int instead of overflowing.
  if (pSign >= 1.0f) Gen = static_cast<int32_t>(0u - static_cast<uint32_t>(Gen));
  float BitPropability = m.BitPropabilityFirst;
  for (int32_t BitValue = m.BitValueFirst; BitValue > 0; BitValue /= 2) {
    const float pM = static_cast<float>(static_cast<long double>(draw()) * static_cast<long double>(0.001) +
                                        static_cast<long double>(BitPropability));
    BitPropability = m.BitFaktor * BitPropability;
    if (pM >= 1.0f) Gen ^= BitValue;
  }
  return Gen;
}

// One individual: a network and its score.
class TChromosom : public TANN {
 public:
  void init(int PaNodes, int PaInputNodes, int PaHiddenNodes, int PaHiddenLayers, int PaMaxWeight,
            int PaPrecWeight, int PaMaxIntern);
  int getFitness() const { return Fitness; }
  void setFitness(int PaFitness) { Fitness = PaFitness; }
  // Takes and deliveries of the last episode (calcCFitness2, playEpisode2).
  const TBallCounts& getBallCounts() const { return Counts; }
  void setBallCounts(const TBallCounts& PaCounts) { Counts = PaCounts; }

  // One-step score from the sensor vectors after and before a trial step.
  void calcFitness1(const int* PaInput, const int* PaInputOld);
  // Episode score: five runs of up to 101 steps on the live simulator.
  void calcCFitness2(const int* PaInput);
  // The same episode on `host`, whose simulator the caller has reset, with the
  // two first platform heights already drawn (1..10), pumping its events at
  // every step. Uses only this individual and `host`, so different
  // individuals may play at once on different hosts. Returns the target x of
  // the last direction shown.
  int playEpisode2(TZarnikHost& host, int firstHeightE, int firstHeightF);
  // The same on a bare simulator (a worker's lane): no texts, no events.
  int playLaneEpisode2(TSimulator& sim, int firstHeightE, int firstHeightF);
  void mutate(float PaMutationRate, float PaBitFaktor, int PaMinGen);
  // The same with the draws taken from raw words of the stream in order
  // (TakeRawDraws), MutationDraws() of them.
  void mutate(float PaMutationRate, float PaBitFaktor, int PaMinGen, const uint32_t* words);
  int MutationDraws() const;

  // Bytes of one stored individual of this shape.
  size_t RecordSize() const;
  // Record as bytes (RecordSize() of them), and the check and apply halves of
  // loading, so a whole file can be checked before anything is replaced.
  void EncodeRecord(unsigned char* out) const;
  bool CheckRecord(const unsigned char* in) const;
  void ApplyRecord(const unsigned char* in);

 private:
  int PlayEpisode(TSimulator& sim, TProgressDisplay* display, TEventLoop* loop, int heightE, int heightF);
  template <class Draw>
  void MutateWith(float PaMutationRate, float PaBitFaktor, int PaMinGen, Draw&& draw);

  // The record's eleven 32-bit fields in file order, each with what a file may
  // hold there; writing, checking and reading all go by it (network_file.cpp).
  struct TField;
  static const TField RecordFields[11];

  int32_t Fitness = 0;
  TBallCounts Counts;
};
