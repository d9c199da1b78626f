#include "train/path_commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

#include "history/learning_path.h"
#include "hosts/headless_host.h"
#include "runs/all_episodes.h"
#include "runs/path_entry.h"
#include "runs/path_table.h"
#include "train/train_text.h"
#include "train/write_reason.h"
#include "translation/language.h"

namespace {

// The entry `name` (FILE@GEN) put into `best`; false with the trainer's line if there is none.
bool LoadEntry(const std::string& name, TChromosom& best) {
  TPathEntryName entry;
  if (!ParsePathEntryName(name, entry)) {
    ReportUnranked({name, TLoadError::None, 0, true, TPathError::Missing, {}});
    return false;
  }
  std::vector<TPathEntry> path;
  TUnrankedFile why{name, TLoadError::None, 0, true, ReadLearningPath(entry.file.c_str(), path), {}};
  const TPathEntry* found = why.pathError == TPathError::None ? FindPathEntry(path, entry.generation, why.nearest) : nullptr;
  if (!found) {
    ReportUnranked(why);
    return false;
  }
  PutEntryNetwork(*found, best);
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
