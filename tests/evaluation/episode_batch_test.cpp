// The batched episode against the one-at-a-time one.
#include <bit>
#include <random>
#include "evaluation/episode_batch.h"
#include "hosts/headless_pool.h"
#include "evaluation/lane_sum.h"
#include "ann-ga/layer_blocks.h"
#include "test_support.h"

namespace {
struct TJobList : TEpisodeSource {
  std::vector<TEpisodeJob> Jobs;
  size_t Next = 0;
  TEpisodeJob* Take() override { return Next < Jobs.size() ? &Jobs[Next++] : nullptr; }
};

std::vector<int> ResultOf(TChromosom& c, int lastTargetX) {
  std::vector<int> r{c.getFitness(), lastTargetX, static_cast<int>(c.getBallCounts().takes),
                     static_cast<int>(c.getBallCounts().deliveries)};
  for (int n = 0; n < c.getNodes(); ++n) r.insert(r.end(), {c.getNodeList()[n].internValue, c.getNodeList()[n].Output});
  r.insert(r.end(), c.getOutputList(), c.getOutputList() + c.getOutputNodes() + 2);
  return r;
}

using EpisodeBatch = WorldTest<>;

// A trained population (many take and deliver), random, huge and layer-skipping weights.
TEST_F(EpisodeBatch, PlaysEveryEpisodeAsTheOneAtATimeEpisode) {
  THeadlessPool pool(1);
  w.Pool = &pool.Pool();
  w.BeginTrainANN2();
  for (int g = 0; g < 20; ++g) w.TrainGeneration2();
  w.Pool = nullptr;
  std::mt19937 rng(23);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  constexpr int Count = 404;
  std::vector<std::unique_ptr<TChromosom>> nets;
  THeadlessHost single;
  single.View.Running = true;
  single.Arm.SetStartPose();
  std::vector<std::vector<int>> want;
  TJobList jobs;
  int takers = 0, deliverers = 0;
  for (int i = 0; i < Count; ++i) {
    TChromosom& c = *nets.emplace_back(std::make_unique<TChromosom>());
    c.init(21, 11, 3, 2, 2, 100, 1000);
    const TChromosom& trained = w.Population[i % 100];
    for (int s = 0; s < 21; ++s)
      for (int t = 0; t < 21; ++t) {
        int v = trained.getWeight(s, t);
        if (i >= 100 && v != 0) v = pick(-255, 255);
        if (i >= 200 && v != 0 && pick(0, 3) == 0) v = pick(-40000, 40000);
        c.setWeight(s, t, v);
      }
    c.setConnections(trained.getConnections());
    if (i >= 300 && i % 2) c.setWeight(pick(0, 16), pick(11, 20), pick(-200, 200));  // may skip a layer
  }
  // Links a network loaded from elsewhere may bring that no layer has: within hidden layer 1, back from hidden
  // layer 2 to 1, from an input past hidden layer 1 (networks 0..2 are trained ones, which take and deliver).
  const std::array<int, 3> foreign[] = {{11, 12, 150}, {14, 13, -150}, {0, 15, 120}};
  for (int k = 0; k < 3; ++k) nets[k]->setWeight(foreign[k][0], foreign[k][1], foreign[k][2]);
  for (auto& c : nets) {
    const TEpisodeJob& job = jobs.Jobs.emplace_back(TEpisodeJob{c.get(), pick(1, 10), pick(1, 10), -1});
    single.ResetSimulator();
    for (int n = 0; n < 21; ++n) c->getNodeList()[n] = {-7, -7};  // a link back reads the values left before
    want.push_back(ResultOf(*c, c->playEpisode2(single, job.HeightE, job.HeightF)));
    takers += c->getBallCounts().takes > 0;
    deliverers += c->getBallCounts().deliveries > 0;
  }
  EXPECT_GE(takers, 20);
  EXPECT_GE(deliverers, 5);
  std::vector<std::unique_ptr<TArmSimulator>> lanes;
  std::vector<TSimulator*> sims;
  for (int k = 0; k < LaneCount; ++k) sims.push_back(lanes.emplace_back(std::make_unique<TArmSimulator>()).get());
  for (const int level : {0, 3, 4}) {  // every compiled variant this processor runs
    if (!UseLaneVariant(level)) continue;
    for (auto& c : nets) {  // overwrite what the single episodes left
      c->setFitness(12345);
      c->setBallCounts({-1, -1});
      for (int n = 0; n < 21; ++n) c->getNodeList()[n] = {-7, -7};
    }
    for (auto& sim : lanes) sim->Steps = 0;
    TEpisodeBatch batch(sims);
    jobs.Next = 0;
    batch.Play(jobs);
    long long steps = 0;
    for (auto& sim : lanes) steps += sim->Steps;
    EXPECT_EQ(steps, single.Pumps);  // one step per pump of the one-at-a-time episodes
    for (int i = 0; i < Count; ++i)
      EXPECT_EQ(ResultOf(*nets[i], jobs.Jobs[i].LastTargetX), want[i]) << "network " << i << ", level " << level;
    EXPECT_GT(batch.RedoneTerms, 0);
    // With AVX-512 the steps run ahead of their doubtful lanes; some must be taken again.
    if (level == 4) {
      EXPECT_GT(batch.CarefulSteps, 0);
    }
    // Only networks with a link outside the layers go the one-at-a-time way.
    EXPECT_GT(batch.ReferenceEpisodes, 23);
    EXPECT_LE(batch.ReferenceEpisodes, 55);
  }
  UseLaneVariant(-1);
}

// The plain rule reads every weight, the lanes only those in the layer blocks: a weight just beside any
// block (a skip at each block's first and last source, before its first and after its last target, a link
// into the first hidden node from its own layer) must send its network the one-at-a-time way, with the
// plain rule's result.
TEST_F(EpisodeBatch, AWeightBesideEveryBlockPlaysOneAtATime) {
  const TChromosom& base = w.Population[0];  // a fresh random network of the window's shape
  const int nodes = base.getNodes(), inputs = base.getInputNodes(), layers = base.getHiddenLayers();
  std::vector<std::array<int, 2>> spots{{inputs + 1, inputs}};
  for (int L = 0; L <= layers; ++L) {
    const TLayerBlock b = LayerBlock(L, nodes, inputs, base.getHiddenNodes(), layers, base.getOutputNodes());
    for (const int j : {b.FirstSource, b.FirstSource + b.Sources - 1})
      for (const int t : {b.FirstTarget - 1, b.FirstTarget + b.Targets})
        if (t >= inputs && t < nodes && t != j) spots.push_back({j, t});
  }
  // 21 nodes: inputs 0..10, hidden 11..13 and 14..16, outputs 17..20. By hand: 12->11; 0->14, 10->14;
  // 11->13, 11->17, 13->17; 14->16 (a column beside a block that is an input, past the last node or the
  // source itself is none).
  ASSERT_EQ(spots.size(), 7u);
  std::vector<std::unique_ptr<TChromosom>> nets;
  TJobList jobs;
  THeadlessHost single;
  single.View.Running = true;
  single.Arm.SetStartPose();
  std::vector<std::vector<int>> want;
  for (size_t i = 0; i < spots.size(); ++i) {
    TChromosom& c = *nets.emplace_back(std::make_unique<TChromosom>());
    c.init(21, 11, 3, 2, 2, 100, 1000);
    for (int s = 0; s < nodes; ++s)
      for (int t = 0; t < nodes; ++t) c.setWeight(s, t, base.getWeight(s, t));
    c.setConnections(base.getConnections() + 1);
    c.setWeight(spots[i][0], spots[i][1], 300);
    jobs.Jobs.push_back(TEpisodeJob{&c, 1 + static_cast<int>(i % 10), 10 - static_cast<int>(i % 10), -1});
    single.ResetSimulator();
    for (int n = 0; n < nodes; ++n) c.getNodeList()[n] = {0, 0};
    want.push_back(ResultOf(c, c.playEpisode2(single, jobs.Jobs[i].HeightE, jobs.Jobs[i].HeightF)));
  }
  std::vector<std::unique_ptr<TArmSimulator>> lanes;
  std::vector<TSimulator*> sims;
  for (int k = 0; k < LaneCount; ++k) sims.push_back(lanes.emplace_back(std::make_unique<TArmSimulator>()).get());
  for (auto& c : nets)
    for (int n = 0; n < nodes; ++n) c->getNodeList()[n] = {0, 0};
  TEpisodeBatch batch(sims);
  batch.Play(jobs);
  EXPECT_EQ(batch.ReferenceEpisodes, static_cast<long long>(spots.size()));
  for (size_t i = 0; i < spots.size(); ++i)
    EXPECT_EQ(ResultOf(*nets[i], jobs.Jobs[i].LastTargetX), want[i]) << spots[i][0] << " -> " << spots[i][1];
}
}  // namespace
