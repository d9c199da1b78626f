// The network file: a 44-byte header and 101 individual records, all 32-bit
// little-endian values (floats as IEEE single). Written whole to a temporary
// file and renamed over the old one; read whole and checked before use.
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <cstring>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "ann-ga/world.h"

namespace {

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


// Closes a file that is only read, on every path; reading is done by then,
// so the result of the close does not matter.
struct TFileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

// The header's eleven 32-bit fields in file order, written, checked and read
// by this one table. Values that index arrays or count loops have a range;
// the rest cannot do harm.
struct TWorld::THeaderField {
  int TWorld::*Int;      // one of the two is set
  float TWorld::*Float;
  int32_t Min = INT32_MIN, Max = INT32_MAX;
};
const TWorld::THeaderField TWorld::HeaderFields[11] = {
    {&TWorld::bestIndividualIdx, nullptr, 0, TWorld::Individuals - 1},
    {&TWorld::bestFitness, nullptr},
    {&TWorld::Generations, nullptr, 0},
    {&TWorld::maxPoints, nullptr, 1, TWorld::MaxCrossoverPoints},
    {nullptr, &TWorld::MatingRate},
    {&TWorld::MatingPoolSize, nullptr, 0, TWorld::Individuals},
    {nullptr, &TWorld::MutationRate},
    {nullptr, &TWorld::BitFaktor},
    {&TWorld::minGen, nullptr},
    {nullptr, &TWorld::GrowthRate},
    {&TWorld::maxHiddenNodes, nullptr},
};

struct TChromosom::TField {
  enum TRule { Any, Own, LinkCount };  // anything; this network's value; 0 .. Nodes²
  uint32_t TChromosom::*Unsigned;      // one of the two is set
  int32_t TChromosom::*Signed;
  TRule Rule;
};

// A stored network must have the shape and scale of the one built at start:
// anything else would not fit its storage or would change what weights mean.
const TChromosom::TField TChromosom::RecordFields[11] = {
    {nullptr, &TChromosom::Fitness, TField::Any},
    {&TChromosom::Nodes, nullptr, TField::Own},
    {&TChromosom::InputNodes, nullptr, TField::Own},
    {&TChromosom::OutputNodes, nullptr, TField::Own},  // before HiddenNodes, as declared
    {&TChromosom::HiddenNodes, nullptr, TField::Own},
    {&TChromosom::HiddenLayers, nullptr, TField::Own},
    {nullptr, &TChromosom::maxWeight, TField::Own},
    {nullptr, &TChromosom::precWeight, TField::Own},
    {nullptr, &TChromosom::maxIntern, TField::Own},
    {nullptr, &TChromosom::Connections, TField::LinkCount},
    {nullptr, &TChromosom::oldConnections, TField::LinkCount},
};

namespace {

size_t RecordBytes(size_t nodes) { return 4 * 11 + 8 * nodes + 4 * nodes * nodes; }  // 11: RecordFields

}  // namespace

size_t TChromosom::RecordSize() const {
  static_assert(std::size(RecordFields) == 11);
  return RecordBytes(Nodes);
}

size_t NetworkFileSize(const TWorldDef& def) {
  return TWorld::HeaderBytes + (TWorld::Individuals + 1) * RecordBytes(static_cast<size_t>(def.Nodes));
}

void TChromosom::EncodeRecord(unsigned char* p) const {
  for (const TField& f : RecordFields)
    Put(p, f.Unsigned ? this->*f.Unsigned : static_cast<uint32_t>(this->*f.Signed));
  for (uint32_t i = 0; i < Nodes; ++i) {
    PutInt(p, NodeList[i].internValue);
    PutInt(p, NodeList[i].Output);
  }
  for (uint32_t s = 0; s < Nodes; ++s)
    for (uint32_t t = 0; t < Nodes; ++t) PutInt(p, AdjazenzMatrix[s][t]);
}

bool TChromosom::CheckRecord(const unsigned char* p) const {
  const int64_t maxLinks = static_cast<int64_t>(Nodes) * Nodes;  // at most one per matrix entry
  for (const TField& f : RecordFields) {
    const uint32_t v = Get(p);
    const uint32_t own = f.Unsigned ? this->*f.Unsigned : static_cast<uint32_t>(this->*f.Signed);
    if (f.Rule == TField::Own && v != own) return false;
    if (f.Rule == TField::LinkCount && (static_cast<int32_t>(v) < 0 || static_cast<int32_t>(v) > maxLinks))
      return false;
  }
  return true;
}

void TChromosom::ApplyRecord(const unsigned char* p) {
  for (const TField& f : RecordFields) {
    const uint32_t v = Get(p);
    if (f.Rule == TField::Own) continue;  // checked equal
    if (f.Unsigned)
      this->*f.Unsigned = v;
    else
      this->*f.Signed = static_cast<int32_t>(v);
  }
  for (uint32_t i = 0; i < Nodes; ++i) {
    NodeList[i].internValue = GetInt(p);
    NodeList[i].Output = GetInt(p);
  }
  for (uint32_t s = 0; s < Nodes; ++s)
    for (uint32_t t = 0; t < Nodes; ++t) AdjazenzMatrix[s][t] = GetInt(p);
  Touch();
}

size_t TWorld::FileSize() const { return NetworkFileSize({.Nodes = static_cast<int>(bestIndividual.getNodes())}); }

void TWorld::EncodeHeader(unsigned char* p) const {
  static_assert(4 * std::size(HeaderFields) == HeaderBytes);
  for (const THeaderField& f : HeaderFields) {
    if (f.Int)
      PutInt(p, this->*f.Int);
    else
      PutFloat(p, this->*f.Float);
  }
}

bool TWorld::CheckHeader(const unsigned char* p) {
  for (const THeaderField& f : HeaderFields) {
    const int32_t v = GetInt(p);
    if (f.Int && (v < f.Min || v > f.Max)) return false;
  }
  return true;
}

void TWorld::ApplyHeader(const unsigned char* p) {
  for (const THeaderField& f : HeaderFields) {
    if (f.Int)
      this->*f.Int = GetInt(p);
    else
      this->*f.Float = GetFloat(p);
  }
}

bool TWorld::LoadFromBytes(const unsigned char* data, size_t size) { return LoadBytes(data, size) == TLoadError::None; }

namespace {

// Every record of the file image `data` (the individuals, then the best)
// has the shape and scale of `shape`, which all of a world's networks share.
bool RecordsFit(const unsigned char* data, const TChromosom& shape) {
  const size_t record = shape.RecordSize();
  const unsigned char* first = data + TWorld::HeaderBytes;
  for (int i = 0; i <= TWorld::Individuals; ++i)
    if (!shape.CheckRecord(first + i * record)) return false;
  return true;
}

// The file at `path`, up to one byte more than `complete` to see an oversized
// one; `size` gets its real size.
TLoadError ReadNetworkBytes(const char* path, size_t complete, std::vector<unsigned char>& data, size_t& size) {
  size = 0;
  data.clear();
  std::unique_ptr<FILE, TFileCloser> f(OpenRegularStream(path, false));
  if (!f) {
    if (errno == ENOENT) return TLoadError::Missing;
    return errno == NotRegularFile ? TLoadError::NotRegular : TLoadError::Unreadable;
  }
  data.resize(complete + 1);
  const size_t got = std::fread(data.data(), 1, data.size(), f.get());
  if (std::ferror(f.get())) return TLoadError::Unreadable;
  data.resize(got);
  size = got;
  // Report the real size of an oversized file.
  if (got > complete && std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long end = std::ftell(f.get());
    if (end > 0) size = static_cast<size_t>(end);
  }
  return TLoadError::None;
}

}  // namespace

TLoadError CheckNetworkFile(const unsigned char* data, size_t size, TNetworkFileHeader& header,
                            const TWorldDef& def) {
  if (size != NetworkFileSize(def)) return TLoadError::WrongSize;
  TChromosom shape;
  shape.SetShape(def.Nodes, def.InputNodes, def.HiddenNodes, def.HiddenLayers, def.MaxWeight, def.PrecWeight,
                 def.MaxIntern);
  if (!TWorld::CheckHeader(data) || !RecordsFit(data, shape)) return TLoadError::ForeignShape;
  for (size_t i = 0; i < std::size(TWorld::HeaderFields); ++i)
    if (TWorld::HeaderFields[i].Int == &TWorld::Generations) {
      const unsigned char* p = data + 4 * i;
      header.Generations = GetInt(p);
    }
  return TLoadError::None;
}

TLoadError ReadNetworkFileHeader(const char* path, TNetworkFileHeader& header, size_t& size, const TWorldDef& def) {
  std::vector<unsigned char> data;
  const TLoadError read = ReadNetworkBytes(path, NetworkFileSize(def), data, size);
  if (read != TLoadError::None) return read;
  return CheckNetworkFile(data.data(), data.size(), header, def);
}

TLoadError TWorld::LoadBytes(const unsigned char* data, size_t size) {
  if (size != FileSize()) return TLoadError::WrongSize;
  if (!CheckHeader(data) || !RecordsFit(data, bestIndividual)) return TLoadError::ForeignShape;

  const size_t record = bestIndividual.RecordSize();
  const unsigned char* first = data + HeaderBytes;
  ApplyHeader(data);
  for (int i = 0; i < Individuals; ++i) Population[i].ApplyRecord(first + i * record);
  bestIndividual.ApplyRecord(first + Individuals * record);
  return TLoadError::None;
}

void TWorld::EncodeFile(std::vector<unsigned char>& data) const {
  data.assign(FileSize(), 0);
  EncodeHeader(data.data());
  const size_t record = bestIndividual.RecordSize();
  unsigned char* first = data.data() + HeaderBytes;
  for (int i = 0; i < Individuals; ++i) Population[i].EncodeRecord(first + i * record);
  bestIndividual.EncodeRecord(first + Individuals * record);
}

bool TWorld::DoSaveANN(const char* path) {
  std::vector<unsigned char> data;
  EncodeFile(data);
  return WriteFileAtomically(path, data.data(), data.size());
}

bool TWorld::DoLoadANN(const char* path) {
  size_t size = 0;
  return LoadANN(path, size) == TLoadError::None;
}

TLoadError TWorld::LoadANN(const char* path, size_t& size) {
  std::vector<unsigned char> data;
  const TLoadError read = ReadNetworkBytes(path, FileSize(), data, size);
  if (read != TLoadError::None) return read;
  return LoadBytes(data.data(), data.size());
}

