#include <cerrno>
// The network file: a 44-byte header and 101 individual records, all 32-bit
// little-endian values (floats as IEEE single). Written whole to a temporary
// file and renamed over the old one; read whole and checked before use.
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "atomic_file.h"
#include "regular_file.h"
#include "world.h"

namespace {

constexpr const char* FileName = "zarnik.dat";

void Put(unsigned char*& p, uint32_t v) {
  for (int i = 0; i < 4; ++i) *p++ = static_cast<unsigned char>(v >> (8 * i));
}
void PutInt(unsigned char*& p, int32_t v) { Put(p, static_cast<uint32_t>(v)); }
void PutFloat(unsigned char*& p, float v) { Put(p, std::bit_cast<uint32_t>(v)); }

uint32_t Get(const unsigned char*& p) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(*p++) << (8 * i);
  return v;
}
int32_t GetInt(const unsigned char*& p) { return static_cast<int32_t>(Get(p)); }
float GetFloat(const unsigned char*& p) { return std::bit_cast<float>(Get(p)); }

// Closes on every path; a failed close counts as a failed write.
struct TFileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

size_t TChromosom::RecordSize() const {
  const size_t n = Nodes;
  return 44 + 8 * n + 4 * n * n;
}

void TChromosom::EncodeRecord(unsigned char* p) const {
  PutInt(p, Fitness);
  for (uint32_t v : {Nodes, InputNodes, OutputNodes, HiddenNodes, HiddenLayers}) Put(p, v);
  for (int32_t v : {maxWeight, precWeight, maxIntern, Connections, oldConnections}) PutInt(p, v);
  for (uint32_t i = 0; i < Nodes; ++i) {
    PutInt(p, NodeList[i].internValue);
    PutInt(p, NodeList[i].Output);
  }
  for (uint32_t s = 0; s < Nodes; ++s)
    for (uint32_t t = 0; t < Nodes; ++t) PutInt(p, AdjazenzMatrix[s][t]);
}

bool TChromosom::CheckRecord(const unsigned char* p) const {
  p += 4;  // any fitness
  // Same shape and scale as the network built at start: anything else would
  // not fit its storage or would change what the weights mean.
  for (uint32_t own : {Nodes, InputNodes, OutputNodes, HiddenNodes, HiddenLayers})
    if (Get(p) != own) return false;
  for (int32_t own : {maxWeight, precWeight, maxIntern})
    if (GetInt(p) != own) return false;
  // Link counts: at most one per matrix entry.
  const int64_t maxLinks = static_cast<int64_t>(Nodes) * Nodes;
  for (int i = 0; i < 2; ++i) {
    const int32_t links = GetInt(p);
    if (links < 0 || links > maxLinks) return false;
  }
  return true;
}

void TChromosom::ApplyRecord(const unsigned char* p) {
  Fitness = GetInt(p);
  p += 4 * 8;  // shape and scale: checked equal
  Connections = GetInt(p);
  oldConnections = GetInt(p);
  for (uint32_t i = 0; i < Nodes; ++i) {
    NodeList[i].internValue = GetInt(p);
    NodeList[i].Output = GetInt(p);
  }
  for (uint32_t s = 0; s < Nodes; ++s)
    for (uint32_t t = 0; t < Nodes; ++t) AdjazenzMatrix[s][t] = GetInt(p);
  Touch();
}

bool TChromosom::DoSaveANN(FILE* PaFile) const {
  std::vector<unsigned char> record(RecordSize());
  EncodeRecord(record.data());
  return std::fwrite(record.data(), 1, record.size(), PaFile) == record.size();
}

bool TChromosom::DoLoadANN(FILE* PaFile) {
  std::vector<unsigned char> record(RecordSize());
  if (std::fread(record.data(), 1, record.size(), PaFile) != record.size()) return false;
  if (!CheckRecord(record.data())) return false;
  ApplyRecord(record.data());
  return true;
}

size_t TWorld::FileSize() const { return HeaderBytes + (Individuals + 1) * bestIndividual.RecordSize(); }

void TWorld::EncodeHeader(unsigned char* p) const {
  PutInt(p, bestIndividualIdx);
  PutInt(p, bestFitness);
  PutInt(p, Generations);
  PutInt(p, maxPoints);
  PutFloat(p, MatingRate);
  PutInt(p, MatingPoolSize);
  PutFloat(p, MutationRate);
  PutFloat(p, BitFaktor);
  PutInt(p, minGen);
  PutFloat(p, GrowthRate);
  PutInt(p, maxHiddenNodes);
}

bool TWorld::CheckHeader(const unsigned char* p) const {
  const int32_t idx = GetInt(p);
  p += 4;  // any best fitness
  const int32_t generations = GetInt(p);
  const int32_t points = GetInt(p);
  p += 4;
  const int32_t poolSize = GetInt(p);
  // Values that index arrays or count loops; the rest cannot do harm.
  return idx >= 0 && idx < Individuals && generations >= 0 && points >= 1 && points <= MaxCrossoverPoints &&
         poolSize >= 0 && poolSize <= Individuals;
}

void TWorld::ApplyHeader(const unsigned char* p) {
  bestIndividualIdx = GetInt(p);
  bestFitness = GetInt(p);
  Generations = GetInt(p);
  maxPoints = GetInt(p);
  MatingRate = GetFloat(p);
  MatingPoolSize = GetInt(p);
  MutationRate = GetFloat(p);
  BitFaktor = GetFloat(p);
  minGen = GetInt(p);
  GrowthRate = GetFloat(p);
  maxHiddenNodes = GetInt(p);
}

bool TWorld::LoadFromBytes(const unsigned char* data, size_t size) { return LoadBytes(data, size) == TLoadError::None; }

TLoadError TWorld::LoadBytes(const unsigned char* data, size_t size) {
  if (size != FileSize()) return TLoadError::WrongSize;
  if (!CheckHeader(data)) return TLoadError::ForeignShape;
  const size_t record = bestIndividual.RecordSize();
  const unsigned char* first = data + HeaderBytes;
  for (int i = 0; i < Individuals; ++i)
    if (!Population[i].CheckRecord(first + i * record)) return TLoadError::ForeignShape;
  if (!bestIndividual.CheckRecord(first + Individuals * record)) return TLoadError::ForeignShape;

  ApplyHeader(data);
  for (int i = 0; i < Individuals; ++i) Population[i].ApplyRecord(first + i * record);
  bestIndividual.ApplyRecord(first + Individuals * record);
  return TLoadError::None;
}

bool TWorld::DoSaveANN(const char* path) {
  std::vector<unsigned char> data(FileSize());
  EncodeHeader(data.data());
  const size_t record = bestIndividual.RecordSize();
  unsigned char* first = data.data() + HeaderBytes;
  for (int i = 0; i < Individuals; ++i) Population[i].EncodeRecord(first + i * record);
  bestIndividual.EncodeRecord(first + Individuals * record);
  return WriteFileAtomically(path, data.data(), data.size());
}

bool TWorld::DoLoadANN(const char* path) {
  size_t size = 0;
  return LoadANN(path, size) == TLoadError::None;
}

TLoadError TWorld::LoadANN(const char* path, size_t& size) {
  size = 0;
  std::unique_ptr<FILE, TFileCloser> f(OpenRegularStream(path, false));
  if (!f) {
    if (errno == ENOENT) return TLoadError::Missing;
    return errno == NotRegularFile ? TLoadError::NotRegular : TLoadError::Unreadable;
  }
  // One byte more than a complete file, to see an oversized one.
  std::vector<unsigned char> data(FileSize() + 1);
  const size_t got = std::fread(data.data(), 1, data.size(), f.get());
  if (std::ferror(f.get())) return TLoadError::Unreadable;
  if (got > FileSize()) {
    // Report the real size of an oversized file.
    if (std::fseek(f.get(), 0, SEEK_END) == 0) {
      const long end = std::ftell(f.get());
      size = end > 0 ? static_cast<size_t>(end) : got;
    } else {
      size = got;
    }
  } else {
    size = got;
  }
  return LoadBytes(data.data(), got);
}

bool TWorld::DoSaveANN() { return DoSaveANN(FileName); }
bool TWorld::DoLoadANN() { return DoLoadANN(FileName); }
