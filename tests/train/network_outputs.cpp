// What the program's own network computes, for the test that a reader elsewhere computes the same:
//   network_outputs POPULATION             the best's outputs for the input vectors on stdin, one a line
//   network_outputs --episodes POPULATION  the input vectors the best sees in the 100 episodes, one a line
#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ann-ga/world.h"
#include "hosts/headless_host.h"
#include "runs/all_episodes.h"

namespace {

// Keeps every sensor vector the arm hands out.
struct TRecordingHost : THeadlessHost {
  std::vector<std::array<int, SensorCount>> Seen;
  int* GetCalcData(const int* delta, bool keep, bool draw) override {
    int* sensors = THeadlessHost::GetCalcData(delta, keep, draw);
    std::array<int, SensorCount>& v = Seen.emplace_back();
    std::memcpy(v.data(), sensors, sizeof(int) * SensorCount);
    return sensors;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const bool episodes = argc == 3 && std::strcmp(argv[1], "--episodes") == 0;
  if (argc != 2 && !episodes) {
    std::fprintf(stderr, "usage: network_outputs [--episodes] POPULATION\n");
    return 2;
  }
  TRecordingHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  size_t size = 0;
  if (world->LoadANN(argv[argc - 1], size) != TLoadError::None) {
    std::fprintf(stderr, "network_outputs: cannot load %s\n", argv[argc - 1]);
    return 2;
  }
  TChromosom& best = world->bestIndividual;
  if (episodes) {
    host.Seen.clear();
    MeasureAllEpisodes(best, host);
    for (const auto& v : host.Seen) {
      for (int i = 0; i < SensorCount; ++i) std::printf(i ? " %d" : "%d", v[static_cast<size_t>(i)]);
      std::printf("\n");
    }
    return 0;
  }
  std::array<int, SensorCount> in{};
  std::array<int, 6> out{};
  for (;;) {
    for (int i = 0; i < SensorCount; ++i) {
      long long v = 0;  // read wide: scanf's %d on a value beyond int is undefined
      if (std::scanf("%lld", &v) != 1) return i == 0 ? 0 : 2;
      if (v < INT_MIN || v > INT_MAX) return 2;
      in[static_cast<size_t>(i)] = static_cast<int>(v);
    }
    best.runANN(in.data(), out.data());
    std::printf("%d %d %d %d\n", out[0], out[1], out[2], out[3]);
  }
}
