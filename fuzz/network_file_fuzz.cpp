// Feeds arbitrary bytes to the two readers of files a user may hand in.
// The network-file loader: a file it accepts must store back to exactly the
// same bytes and the loaded networks must run; a file it refuses must leave
// the population as it was. The fitness-history reader: the same answer
// whether the bytes come whole or in two pieces, and every row it accepts
// within the documented ranges. The learning-path reader: a path it accepts
// encodes back to exactly the same bytes and keeps its bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "ann-ga/ann-ga.h"
#include "history/fitness_log.h"
#include "history/learning_path.h"
#include "hosts/headless_host.h"

namespace {

struct TSetup {
  THeadlessHost Host;
  TZarnikHostScope UseHost{&Host};  // the training code reaches its host through this
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
  // In memory where there is a tmpfs: a store syncs to the disk, which would
  // make the fuzzing crawl.
  std::string name = access("/dev/shm", W_OK) == 0 ? "/dev/shm/annga_fuzz_XXXXXX" : "/tmp/annga_fuzz_XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) std::abort();
  const char* path = name.c_str();
  close(fd);
  if (!w.DoSaveANN(path)) std::abort();
  std::vector<unsigned char> bytes(w.FileSize() + 1);
  FILE* f = std::fopen(path, "rb");
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::remove(path);
  return bytes;
}

void CheckHistory(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<TFitnessRow> whole, pieces;
  const bool ok = ParseFitnessLog(text, whole);
  TFitnessLogParser parser;
  const size_t cut = size > 0 ? data[0] % size : 0;
  const bool okPieces = parser.Feed(text.substr(0, cut)) && parser.Feed(text.substr(cut)) && parser.Finish(pieces);
  if (ok != okPieces || whole.size() != pieces.size()) std::abort();
  for (size_t i = 0; i < whole.size(); ++i) {
    const TFitnessRow& r = whole[i];
    if (r.generation != pieces[i].generation || r.seconds != pieces[i].seconds) std::abort();
    if (r.generation < 0 || r.generationOfBest < 0 || (r.mode != 1 && r.mode != 2) || !(r.seconds >= 0) ||
        r.seconds > MaxHistorySeconds)
      std::abort();
    // What the reader accepts, the writer writes again in a form it accepts.
    char line[128];
    const size_t n = FormatFitnessRow(r, line, sizeof line);
    TFitnessRow back;
    if (n == 0 || !ParseFitnessRow(std::string_view(line, n - 1), back) || back.bestFitness != r.bestFitness ||
        back.generation != r.generation || back.bestDeliveries != r.bestDeliveries)
      std::abort();
  }
}

// Records of 4 bytes let the fuzzer reach whole entries; the program's size checks the same code.
void CheckLearningPath(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const size_t recordBytes : {size_t{4}, PathRecordBytes()}) {
    std::vector<TPathEntry> path;
    if (ParseLearningPath(bytes, recordBytes, nullptr, path) != TPathError::None) continue;
    if (path.size() > MaxPathEntries || EncodeLearningPath(path, recordBytes) != bytes) std::abort();
  }
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
  CheckHistory(data, size);
  CheckLearningPath(data, size);
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
