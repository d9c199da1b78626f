#include "runs/set_identity.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/link_rule.h"
#include "platform/regular_file.h"
#include "platform/translatable.h"
#include "runs/run_files.h"
#include "runs/text_fields.h"

namespace {

constexpr std::string_view Format = "zarnik-set 1";
constexpr std::string_view FormatWithStrategy = "zarnik-set 2";
constexpr size_t MaxIdentityBytes = 4096;

std::string GoalText(const std::optional<double>& goal) {
  if (!goal) return "-";
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, *goal).ptr;
  return std::string(text, end);
}

}  // namespace

std::string FormatSetIdentity(const TSetIdentity& set) {
  const bool restart = set.strategy == TSetStrategy::Restart;
  return std::string(restart ? Format : FormatWithStrategy) + "\nseed " + std::to_string(set.seed) + "\nruns " + std::to_string(set.runs) +
         "\ngoal " + GoalText(set.goal) + "\nrestarts " + (set.restarts ? "1" : "0") + "\n" +
         (restart ? "" : std::string("strategy ") + SetStrategyWord(set.strategy) + "\n");
}

bool ParseSetIdentity(std::string_view text, TSetIdentity& out) {
  const std::vector<std::string_view> lines = CompleteLines(text);
  const bool withStrategy = lines.size() == 6 && lines[0] == FormatWithStrategy;
  if (!withStrategy && (lines.size() != 5 || lines[0] != Format)) return false;
  const auto value = [&](int i, std::string_view key) {
    return lines[i].starts_with(key) && lines[i].size() > key.size() && lines[i][key.size()] == ' '
               ? lines[i].substr(key.size() + 1)
               : std::string_view("?");
  };
  TSetIdentity s;
  const std::string_view goal = value(3, "goal"), restarts = value(4, "restarts");
  if (!ParseNumber(value(1, "seed"), s.seed) || !ParseNumber(value(2, "runs"), s.runs) || s.runs < 1) return false;
  if (goal != "-") {
    double g = 0;
    if (!ParseNumber(goal, g) || !(g >= 0)) return false;
    s.goal = g;
  }
  if (restarts != "0" && restarts != "1") return false;
  s.restarts = restarts == "1";
  s.strategy = TSetStrategy::Restart;
  if (withStrategy) {
    const std::string word(value(5, "strategy"));
    if (!ParseSetStrategy(word.c_str(), s.strategy) || s.strategy == TSetStrategy::Restart) return false;
  }
  out = s;
  return true;
}

std::optional<TIdentityDifference> FirstDifference(const TSetIdentity& stored, const TSetIdentity& asked) {
  if (stored.seed != asked.seed)
    return TIdentityDifference{QT_TRANSLATE_NOOP("zarnik-train", "Startwert %1 statt %2"), std::to_string(stored.seed),
                               std::to_string(asked.seed)};
  if (stored.runs != asked.runs)
    return TIdentityDifference{QT_TRANSLATE_NOOP("zarnik-train", "%1 Läufe statt %2"), std::to_string(stored.runs),
                               std::to_string(asked.runs)};
  if (stored.goal != asked.goal)
    return TIdentityDifference{QT_TRANSLATE_NOOP("zarnik-train", "Ziel %1 statt %2"), GoalText(stored.goal),
                               GoalText(asked.goal)};
  if (stored.restarts != asked.restarts)
    return TIdentityDifference{QT_TRANSLATE_NOOP("zarnik-train", "Neustart %1 statt %2"), stored.restarts ? "1" : "0",
                               asked.restarts ? "1" : "0"};
  if (stored.strategy != asked.strategy)
    return TIdentityDifference{QT_TRANSLATE_NOOP("zarnik-train", "Strategie %1 statt %2"), SetStrategyWord(stored.strategy),
                               SetStrategyWord(asked.strategy)};
  return std::nullopt;
}

bool ReadSetIdentity(const std::string& file, std::optional<TSetIdentity>& out) {
  out.reset();
  const std::string path = SetIdentityFileName(file);
  const int fd = OpenRegularForReading(path.c_str());
  if (fd < 0) return errno == ENOENT;
  char bytes[MaxIdentityBytes + 1];
  size_t size = 0;
  for (ssize_t n; size < sizeof bytes && (n = read(fd, bytes + size, sizeof bytes - size)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      close(fd);
      errno = error;
      return false;
    }
    size += static_cast<size_t>(n);
  }
  close(fd);
  TSetIdentity set;
  if (size > MaxIdentityBytes || !ParseSetIdentity(std::string_view(bytes, size), set)) {
    errno = EILSEQ;
    return false;
  }
  out = set;
  return true;
}

bool WriteSetIdentity(const std::string& file, const TSetIdentity& set) {
  const std::string folder = SetFolderName(file);
  if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  const std::string text = FormatSetIdentity(set);
  return WriteFileAtomically(SetIdentityFileName(file).c_str(), text.data(), text.size());
}

bool MoveSetAside(const std::string& file, std::string& movedTo) {
  const std::string folder = SetFolderName(file);
  for (int n = 1; n < 100000; ++n) {
    movedTo = SetFolderBackupName(file, n);
    if (renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, movedTo.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EEXIST && errno != ENOTEMPTY) return false;
  }
  errno = EEXIST;
  return false;
}
