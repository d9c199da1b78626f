// The learning path: its thinning, its file and the refusal of a damaged one.
#include <gtest/gtest.h>

#include <fstream>

#include "../support/temp_dir.h"
#include "ann-ga/world.h"
#include "history/learning_path.h"

namespace {

TPathEntry Entry(int generation, long long deliveries, std::vector<unsigned char> network = {1, 2, 3, 4}) {
  return {generation, 100, 2 * deliveries + 7, deliveries, -1000 + generation, std::move(network)};
}

std::vector<int> Generations(const std::vector<TPathEntry>& path) {
  std::vector<int> g;
  for (const TPathEntry& e : path) g.push_back(e.generation);
  return g;
}

TEST(LearningPath, AFullPathThinsItsOlderHalfKeepingTheFirstAndTheNewest) {
  // Worked by hand with room for 8: the 9th entry drops the 2nd and 4th of
  // the older half (generations 2 and 4), the 11th then the 2nd and 4th of
  // the new older half {1, 3, 5, 6}.
  std::vector<TPathEntry> path;
  for (int g = 1; g <= 8; ++g) AppendToPath(path, Entry(g, g), 8);
  EXPECT_EQ(Generations(path), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  AppendToPath(path, Entry(9, 9), 8);
  EXPECT_EQ(Generations(path), (std::vector<int>{1, 3, 5, 6, 7, 8, 9}));
  AppendToPath(path, Entry(10, 10), 8);
  AppendToPath(path, Entry(11, 11), 8);
  EXPECT_EQ(Generations(path), (std::vector<int>{1, 5, 7, 8, 9, 10, 11}));
  // However long the run, the bounds hold and the ends stay.
  std::vector<TPathEntry> full;
  for (int g = 1; g <= 5000; ++g) {
    AppendToPath(full, Entry(g, g, {}));
    ASSERT_LE(full.size(), MaxPathEntries);
    ASSERT_EQ(full.front().generation, 1);
    ASSERT_EQ(full.back().generation, g);
  }
  EXPECT_GE(full.size(), MaxPathEntries * 3 / 4);
}

TEST(LearningPath, TheFileReadsBackWholeOrIsRefusedWhole) {
  // An empty path of 4-byte records: the layout by hand, its CRC-32 from zlib.crc32.
  const std::string empty = EncodeLearningPath({}, 4);
  EXPECT_EQ(empty, std::string("ZARNIKLP\1\0\0\0\4\0\0\0\0\0\0\0\xf6\xb0\xaf\0", 24));

  // Networks of the program's shape, each with its own weights.
  std::vector<TPathEntry> path;
  for (int i = 0; i < 3; ++i) {
    const TWorldDef def = DefaultWorldDef();
    TChromosom net;
    net.initANN(def.Nodes, def.InputNodes, def.HiddenNodes, def.HiddenLayers, def.MaxWeight, def.PrecWeight,
                def.MaxIntern);
    std::vector<unsigned char> record(net.RecordSize());
    net.EncodeRecord(record.data());
    record[record.size() - 1 - i] ^= 0x5a;
    path.push_back(Entry(100 * (i + 1), 40 * i + 3, record));
  }
  TTempDir dir;
  const std::string file = dir / "run-0.path";
  ASSERT_TRUE(WriteLearningPath(file.c_str(), path));
  std::vector<TPathEntry> back;
  ASSERT_EQ(ReadLearningPath(file.c_str(), back), TPathError::None);
  EXPECT_EQ(back, path);

  const std::string bytes = ReadAll(file);
  const std::vector<TPathEntry> untouched{Entry(1, 1)};
  const auto refusal = [&](const std::string& damaged) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged;
    std::vector<TPathEntry> read = untouched;
    const TPathError e = ReadLearningPath(file.c_str(), read);
    EXPECT_EQ(read, untouched) << "half used";
    return e;
  };
  for (size_t cut = 0; cut < bytes.size(); cut += 97) EXPECT_EQ(refusal(bytes.substr(0, cut)), TPathError::Truncated) << cut;
  for (size_t at = 20; at < bytes.size(); at += 389) {
    std::string flipped = bytes;
    flipped[at] ^= 0x10;
    EXPECT_EQ(refusal(flipped), TPathError::Damaged) << at;
  }
  EXPECT_EQ(refusal(bytes + '\0'), TPathError::Damaged);
  EXPECT_EQ(refusal("ZARNIKLQ" + bytes.substr(8)), TPathError::Foreign);
  // Whole and summed, but not a path a run keeps: generations that fall, or networks of another shape.
  std::vector<TPathEntry> backwards = path;
  std::swap(backwards[0].generation, backwards[1].generation);
  EXPECT_EQ(refusal(EncodeLearningPath(backwards, PathRecordBytes())), TPathError::Damaged);
  std::vector<TPathEntry> foreign = path;
  foreign[2].network[4] ^= 1;  // the node count
  EXPECT_EQ(refusal(EncodeLearningPath(foreign, PathRecordBytes())), TPathError::Foreign);
  EXPECT_EQ(LearningPathFor("runs/run-3.dat"), "runs/run-3.path");
  EXPECT_EQ(LearningPathFor("a.path"), "a.path.path");
}

}  // namespace
