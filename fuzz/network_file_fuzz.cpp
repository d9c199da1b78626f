// Feeds arbitrary bytes to the network-file loader. A file it accepts must
// store back to exactly the same bytes and the loaded networks must run; a
// file it refuses must leave the population as it was.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

#include "ann-ga.h"
#include "headless_host.h"

namespace {

struct TSetup {
  THeadlessHost Host;
  std::unique_ptr<TWorld> World;
  TSetup() {
    Host.View.Running = true;
    World = MakeZarnikWorld(&Host);
  }
};

TSetup& Setup() {
  static TSetup setup;
  return setup;
}

std::vector<unsigned char> Stored(TWorld& w) {
  char path[] = "/tmp/annga_fuzz_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) std::abort();
  close(fd);
  if (!w.DoSaveANN(path)) std::abort();
  std::vector<unsigned char> bytes(w.FileSize() + 1);
  FILE* f = std::fopen(path, "rb");
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::remove(path);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // "-write-seed <path>": store a valid file to start the corpus from.
  for (int i = 1; i + 1 < *argc; ++i) {
    if (std::strcmp((*argv)[i], "-write-seed") == 0) std::exit(Setup().World->DoSaveANN((*argv)[i + 1]) ? 0 : 1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWorld& w = *Setup().World;
  static const std::vector<unsigned char> initial = Stored(w);
  if (w.LoadFromBytes(data, size)) {
    if (Stored(w) != std::vector<unsigned char>(data, data + size)) std::abort();
    int in[11] = {50, 286, 197, 119, 50, 258, -1, 180, 180, -90, 0};
    int out[6] = {};
    w.bestIndividual.runANN(in, out);
    w.Population[w.bestIndividualIdx].calcFitness1(in, in);
    w.mutate();
    w.CrossOver();
    w.Selection();
    // Back to the start state for the next input.
    if (!w.LoadFromBytes(initial.data(), initial.size())) std::abort();
  } else if (Stored(w) != initial) {
    std::abort();
  }
  return 0;
}
