#include "train/path_commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

#include "history/learning_path.h"
#include "hosts/headless_host.h"
#include "runs/all_episodes.h"
#include "runs/path_comparison.h"
#include "runs/path_entry.h"
#include "runs/path_table.h"
#include "train/train_text.h"
#include "train/write_reason.h"
#include "translation/language.h"

namespace {

// The entry `name` (FILE@GEN) put into `best`; false with the trainer's line if there is none.
bool LoadEntry(const std::string& name, TChromosom& best) {
  TPathEntry entry;
  TUnrankedFile why;
  if (!ReadNamedEntry(name, entry, why)) {
    ReportUnranked(why);
    return false;
  }
  PutEntryNetwork(entry, best);
  return true;
}

}  // namespace

void ReportUnranked(const TUnrankedFile& u) {
  if (!u.entry) {
    ReportLoadFailure(u.file, u.error, u.size);
    return;
  }
  if (u.pathError != TPathError::None) {
    ReportPathFailure(u.file, u.pathError);
    return;
  }
  TPathEntryName name;
  ParsePathEntryName(u.file, name);
  const QString why = MissingEntryText(name.generation, u.nearest);
  std::fprintf(stderr, Tr(QT_TRANSLATE_NOOP("zarnik-train", "zarnik-train: Kann Datei '%s' nicht laden: %s\n")), u.file.c_str(),
               why.toUtf8().constData());
}

int ListLearningPath(const TTrainOptions& o) {
  std::vector<TPathEntry> path;
  const TPathError e = ReadLearningPath(o.pathList.c_str(), path);
  if (e != TPathError::None) {
    ReportPathFailure(o.pathList, e);
    return 2;
  }
  std::fputs(FormatLearningPath(path, Tr).c_str(), stdout);
  return 0;
}

int EvaluatePathEntry(const TTrainOptions& o) {
  THeadlessHost host;
  host.View.Running = true;  // placing the ball asks nothing
  TZarnikHostScope useHost(&host);
  auto world = MakeZarnikWorld(&host);
  if (!LoadEntry(o.file, world->bestIndividual)) return 2;
  std::printf("episode,height_e,height_f,fitness,takes,deliveries\n");
  TEpisodeTally all;
  for (int e = 0; e < AllEpisodes; ++e) {
    TEpisodeTally one;
    AddEpisodeOfAll(world->bestIndividual, host, e, one);
    const TEpisodeHeights h = AllEpisodeHeightsOf(e);
    std::printf("%d,%d,%d,%lld,%lld,%lld\n", e, h.e, h.f, one.fitnessSum, one.takes, one.deliveries);
    all.episodes += one.episodes;
    all.takes += one.takes;
    all.deliveries += one.deliveries;
    all.fitnessSum += one.fitnessSum;
  }
  // The sums, and the mean fitness as the ranking gives it.
  std::printf("all,,,%lld,%lld,%lld\n", all.MeanFitness(), all.takes, all.deliveries);
  return 0;
}

int CompareEntries(const TTrainOptions& o) {
  TPathEntry entries[2];
  for (size_t i = 0; i < 2; ++i) {
    TUnrankedFile why;
    if (!ReadNamedEntry(o.compareEntries[i], entries[i], why)) {
      ReportUnranked(why);
      return 2;
    }
  }
  const TPathComparison c = ComparePathEntries(entries[0], entries[1]);
  std::fputs(FormatPathComparison(c, o.compareEntries[0], o.compareEntries[1], Tr).c_str(), stdout);
  return 0;
}
