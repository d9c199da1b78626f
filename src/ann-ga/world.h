#pragma once

// The population of the genetic training: its breeding steps, the training
// and activation loops that drive it, and its network file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ann-ga/chromosom.h"
#include "ann-ga/run_control.h"
#include "ann-ga/task_runner.h"
#include "ann-ga/zarnik_host.h"

// Why a network file could not be loaded. NotRegular: a FIFO, socket, device
// or directory, refused without waiting for it.
enum class TLoadError { None, Missing, Unreadable, WrongSize, ForeignShape, NotRegular };

// What a network file's header says of its population.
struct TNetworkFileHeader {
  int Generations = 0;
};

void copyArrayInt(const int* PaArray1, int* PaArray2, int PaSize);

// Everything a population is built with: the network shape and the breeding
// parameters. The defaults are the program's own values; a caller that needs
// other ones changes fields of DefaultWorldDef().
struct TWorldDef {
  int Nodes = 21;
  int InputNodes = 11;
  int HiddenNodes = 3;
  int HiddenLayers = 2;
  int MaxWeight = 2;        // initial weights up to +-MaxWeight
  int PrecWeight = 100;     // a stored weight w stands for w / PrecWeight
  int MaxIntern = 1000;     // node values saturate here
  float MutationRate = 0.1f;
  float BitFaktor = 2.0f;
  int MinGen = 10;          // smaller weights are pruned by mutation
  float MatingRate = 0.8f;
  int MatingPoolSize = 10;  // Selection runs 100 - MatingPoolSize tournaments
  int MaxNoImprovement = 20;
  int MaxPoints = 21;       // crossover points
  float GrowthRate = 0.08f;
  int MaxHiddenNodes = 20;
};

inline TWorldDef DefaultWorldDef() { return {}; }

// The population: 100 individuals, the best one found so far, the breeding
// parameters and the vectors shared with the simulator.
class TWorld {
 public:
  static constexpr int Individuals = 100;
  static constexpr int MaxCrossoverPoints = 100;
  static constexpr int HeaderBytes = 44;

  // Builds the population on `parent`, which gives the first sensor vector;
  // the runs reach their host through ZarnikWindow, which its owner sets.
  TWorld(TZarnikHost* parent, const TWorldDef& def);
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  void setMutationRate(float v);
  void setBitFaktor(float v);
  void setMinGen(int v);
  void setGrowthRate(float v);
  void setMaxPoints(int v);

  bool IsImprovement() const { return NoImprovement < maxNoImprovement; }
  int getWorst() const;
  void overwriteWorstOne(int PaInd, int PaFitness);
  void Selection();
  void CrossOver();
  void mate(int PaInd1, int PaInd2);
  void mutate();
  // Exchanges the stretches [points[k], points[k + 1]], k = 0, 2, .. < count,
  // of the row-major weight positions; points holds count + 1 sorted entries.
  static void CrossStretches(TChromosom& a, TChromosom& b, const int* points, int count);
  void copyBestIndividual(int PaInd);
  void useBestIndividual();

  void calcFitness1();
  void calcFitness2();
  void DoTrainANN1();
  void DoTrainANN2();
  // The halves of the two training loops, for drivers that decide themselves
  // when to stop (the loops above are Begin, then Pass while IsImprovement()
  // and no stop, then AnnHasFinished).
  void BeginTrainANN1();
  void TrainPass1();
  void BeginTrainANN2();
  void TrainGeneration2();
  void DoStartANN();
  void DoBreakANN() { UserBreak = true; }
  // Resuming from a history whose last pass of training 1 is `lastPass`
  // (-1: none): training 1 numbers its passes on from there, so the rows
  // keep their order; at the top the count stays, as training 1 keeps it.
  void NumberPassesAfter(int lastPass);
  // Resuming training 2 from a history whose best was found at generation
  // `generationOfBest` (not after the stored one): the passes without
  // improvement count from there, as in the uninterrupted run.
  void ResumeBestFoundAt(int generationOfBest);

  // The population stored in, or loaded from, the network file at `path`.
  bool DoSaveANN(const char* path);
  bool DoLoadANN(const char* path);
  // The one load with its reason; `size` gets the bytes read (up to one more
  // than a complete file). Anything but None leaves the population as it was.
  TLoadError LoadANN(const char* path, size_t& size);
  // Size of a complete network file of this population.
  size_t FileSize() const;
  // The network file's bytes, as DoSaveANN stores them.
  void EncodeFile(std::vector<unsigned char>& out) const;
  // Replaces the population from a whole file image if, and only if, it is a
  // complete file of this population's shape; false leaves everything as it was.
  bool LoadFromBytes(const unsigned char* data, size_t size);
  TLoadError LoadBytes(const unsigned char* data, size_t size);

  // With a pool, training 2 plays the episodes of a pass and does the
  // arithmetic of its mutation on the pool's workers; the draws, the choice
  // of the best and the texts stay in the serial order, so the result is the
  // same as without (nullptr: everything on the host).
  TTaskRunner* Pool = nullptr;

  TChromosom Population[Individuals];
  TChromosom bestIndividual;
  int bestIndividualIdx = 0;
  int bestFitness = INT32_MIN;
  int NoImprovement = 0;
  int maxNoImprovement;
  int Generations = 0;
  int GenOfBest = 0;      // Generations when the best of training 2 was found
  int Passes1 = 0;        // training-1 passes of this session
  // The vectors shared with the simulator: its last sensor vector, and the
  // best's answer to it.
  int* InputList = nullptr;
  std::unique_ptr<int[]> OutputList;

 private:
  // The network file's header, field by field (network_file.cpp).
  struct THeaderField;
  static const THeaderField HeaderFields[11];

  // The breeding parameters, from the TWorldDef or the network file.
  int maxPoints;
  float MatingRate;
  int MatingPoolSize;
  float MutationRate;
  float BitFaktor;
  int minGen;
  float GrowthRate;
  int maxHiddenNodes;
  std::unique_ptr<int[]> InputListOld;  // the sensor vector before the last step

  // mutate, with the arithmetic on the pool's workers if there is one (the
  // draws stay in the serial order).
  void MutateOn(TTaskRunner* pool);
  static bool CheckHeader(const unsigned char* in);
  friend TLoadError CheckNetworkFile(const unsigned char* data, size_t size, TNetworkFileHeader& header,
                                     const TWorldDef& def);
  void EncodeHeader(unsigned char* out) const;
  void ApplyHeader(const unsigned char* in);
  void SetDlgInt(int id, const char* format, int value) const;

  int CrossoverPoint[MaxCrossoverPoints + 1] = {};
  // Training 1: how often the same best has won in a row, and which one it is.
  int Repeats1 = 0;
  int Best1 = 0;
  int PassOfBest1 = 0;
  int AverageFitness = 0;  // mean of the last evaluation pass
  // The pooled pass: the stored best, then the individuals.
  TEpisodeJob PoolJobs[Individuals + 1] = {};
  // The pooled mutation: every individual's draws as raw words, in the
  // serial order; the spare holds them when they were not made ahead.
  const uint32_t* MutationWords = nullptr;
  std::unique_ptr<uint32_t[]> MutationWordSpare;
  int MutationDrawsEach = 0;
  // The seed of the reseed that Selection will make, for the draws made ahead.
  uint32_t SelectionSeed = 0;
};

// The population with the parameters of the program.
std::unique_ptr<TWorld> MakeZarnikWorld(TZarnikHost* host);

// The size of a network file of a world of `def`, without building one
// (which would draw from the shared random numbers).
size_t NetworkFileSize(const TWorldDef& def = DefaultWorldDef());

// The file at `path` checked whole as a load of a world of `def` checks it,
// and its header, without building a world. `size` as TWorld::LoadANN gives it.
TLoadError ReadNetworkFileHeader(const char* path, TNetworkFileHeader& header, size_t& size,
                                 const TWorldDef& def = DefaultWorldDef());
// The same for a whole file image in memory.
TLoadError CheckNetworkFile(const unsigned char* data, size_t size, TNetworkFileHeader& header,
                            const TWorldDef& def = DefaultWorldDef());
