#include "history/learning_path.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "ann-ga/world.h"
#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "platform/translatable.h"

namespace {

constexpr std::string_view Magic = "ZARNIKLP";
constexpr uint32_t Version = 1;
constexpr size_t HeaderBytes = 8 + 4 + 4 + 4;
constexpr size_t EntryFigureBytes = 4 + 4 + 8 + 8 + 8;
constexpr size_t ChecksumBytes = 4;

uint32_t Crc32(std::string_view bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void Put(std::string& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
}

uint64_t Get(std::string_view& in, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
  in.remove_prefix(bytes);
  return v;
}

size_t FileBytes(size_t entries, size_t recordBytes) {
  return HeaderBytes + entries * (EntryFigureBytes + recordBytes) + ChecksumBytes;
}

// The shape every network of this program has, set once (networks cannot be copied).
struct TProgramShape {
  TChromosom shape;
  TProgramShape() {
    const TWorldDef def = DefaultWorldDef();
    shape.SetShape(def.Nodes, def.InputNodes, def.HiddenNodes, def.HiddenLayers, def.MaxWeight, def.PrecWeight,
                   def.MaxIntern);
  }
};

const TChromosom& ProgramShape() {
  static const TProgramShape program;
  return program.shape;
}

bool FitsProgramShape(const unsigned char* record) { return ProgramShape().CheckRecord(record); }

// Figures no measure can give: negative counts, or deliveries per episode
// that do not rise (the path keeps only improvements).
bool Plausible(const TPathEntry& e, const TPathEntry* before) {
  if (e.generation < 0 || e.episodes <= 0 || e.takes < 0 || e.deliveries < 0) return false;
  if (!before) return true;
  // deliveries/episodes rises; cross-multiplied in 128 bits, as counts may be large.
  const __int128 now = static_cast<__int128>(e.deliveries) * before->episodes;
  const __int128 then = static_cast<__int128>(before->deliveries) * e.episodes;
  return e.generation > before->generation && now > then;
}

}  // namespace

const char* PathReason(TPathError e) {
  switch (e) {
    case TPathError::Missing: return QT_TRANSLATE_NOOP("LoadReason", "nicht vorhanden");
    case TPathError::NotRegular: return QT_TRANSLATE_NOOP("LoadReason", "keine reguläre Datei");
    case TPathError::Unreadable: return QT_TRANSLATE_NOOP("LoadReason", "nicht lesbar");
    case TPathError::TooLarge: return QT_TRANSLATE_NOOP("LoadReason", "größer als ein voller Lernweg");
    case TPathError::Foreign: return QT_TRANSLATE_NOOP("LoadReason", "kein Lernweg dieses Programms");
    case TPathError::Truncated: return QT_TRANSLATE_NOOP("LoadReason", "Lernweg unvollständig (abgeschnitten)");
    case TPathError::Damaged: return QT_TRANSLATE_NOOP("LoadReason", "Lernweg beschädigt (Prüfsumme oder Einträge falsch)");
    case TPathError::None: break;
  }
  return "";
}

void AppendToPath(std::vector<TPathEntry>& path, TPathEntry entry, size_t cap) {
  if (path.size() >= cap) {
    // The older half's odd places go; everything after it moves up.
    std::vector<TPathEntry> kept;
    kept.reserve(cap);
    for (size_t i = 0; i < path.size(); ++i)
      if (i >= cap / 2 || i % 2 == 0) kept.push_back(std::move(path[i]));
    path = std::move(kept);
  }
  path.push_back(std::move(entry));
}

std::string EncodeLearningPath(const std::vector<TPathEntry>& path, size_t recordBytes) {
  std::string out(Magic);
  Put(out, Version, 4);
  Put(out, recordBytes, 4);
  Put(out, path.size(), 4);
  for (const TPathEntry& e : path) {
    Put(out, static_cast<uint32_t>(e.generation), 4);
    Put(out, static_cast<uint32_t>(e.episodes), 4);
    Put(out, static_cast<uint64_t>(e.takes), 8);
    Put(out, static_cast<uint64_t>(e.deliveries), 8);
    Put(out, static_cast<uint64_t>(e.fitnessSum), 8);
    out.append(reinterpret_cast<const char*>(e.network.data()), e.network.size());
  }
  Put(out, Crc32(out), 4);
  return out;
}

TPathError ParseLearningPath(std::string_view bytes, size_t recordBytes, bool (*shapeFits)(const unsigned char*),
                             std::vector<TPathEntry>& path) {
  if (bytes.size() < HeaderBytes) return Magic.starts_with(bytes.substr(0, Magic.size())) ? TPathError::Truncated
                                                                                          : TPathError::Foreign;
  std::string_view in = bytes;
  if (in.substr(0, Magic.size()) != Magic) return TPathError::Foreign;
  in.remove_prefix(Magic.size());
  if (Get(in, 4) != Version || Get(in, 4) != recordBytes) return TPathError::Foreign;
  const uint64_t count = Get(in, 4);
  if (count > MaxPathEntries) return TPathError::Damaged;
  const size_t whole = FileBytes(count, recordBytes);
  if (bytes.size() < whole) return TPathError::Truncated;
  if (bytes.size() > whole) return TPathError::Damaged;
  std::string_view sum = bytes.substr(whole - ChecksumBytes);
  if (Get(sum, 4) != Crc32(bytes.substr(0, whole - ChecksumBytes))) return TPathError::Damaged;
  std::vector<TPathEntry> read(count);
  for (size_t i = 0; i < count; ++i) {
    TPathEntry& e = read[i];
    e.generation = static_cast<int32_t>(Get(in, 4));
    e.episodes = static_cast<int32_t>(Get(in, 4));
    e.takes = static_cast<int64_t>(Get(in, 8));
    e.deliveries = static_cast<int64_t>(Get(in, 8));
    e.fitnessSum = static_cast<int64_t>(Get(in, 8));
    const auto* record = reinterpret_cast<const unsigned char*>(in.data());
    if (!Plausible(e, i > 0 ? &read[i - 1] : nullptr)) return TPathError::Damaged;
    if (shapeFits && !shapeFits(record)) return TPathError::Foreign;
    e.network.assign(record, record + recordBytes);
    in.remove_prefix(recordBytes);
  }
  path = std::move(read);
  return TPathError::None;
}

size_t PathRecordBytes() {
  return ProgramShape().RecordSize();
}

TPathError ReadLearningPath(const char* file, std::vector<TPathEntry>& path) {
  std::string bytes;
  if (!ReadRegularFile(file, bytes, static_cast<long long>(FileBytes(MaxPathEntries, PathRecordBytes())))) {
    if (errno == ENOENT) return TPathError::Missing;
    if (errno == NotRegularFile) return TPathError::NotRegular;
    return errno == EFBIG ? TPathError::TooLarge : TPathError::Unreadable;
  }
  return ParseLearningPath(bytes, PathRecordBytes(), FitsProgramShape, path);
}

bool WriteLearningPath(const char* file, const std::vector<TPathEntry>& path) {
  const std::string bytes = EncodeLearningPath(path, PathRecordBytes());
  return WriteFileAtomically(file, bytes.data(), bytes.size());
}

std::string LearningPathFor(std::string_view population) {
  const size_t slash = population.rfind('/');
  const size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = population.rfind('.');
  const size_t end = dot != std::string_view::npos && dot >= name ? dot : population.size();
  if (population.substr(end) == ".path") return std::string(population) + ".path";
  return std::string(population.substr(0, end)) + ".path";
}
