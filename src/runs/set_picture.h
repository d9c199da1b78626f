#pragma once

#include <optional>
#include <vector>

#include "runs/set_checks.h"

// What the picture of a set shows, from its checks: for every place its
// validated mean over the generations it trained (its "work", so that a
// place's line goes on through its restarts), the points where a new run
// took the place over, the goal, and with more than four places the median
// and the middle half (first to third quartile) of the places.
struct TPlacePoint {
  long long work = 0;
  double mean = 0;
  bool operator==(const TPlacePoint&) const = default;
};

// A run that took its place over: begun from nothing (`from` -1, a restart)
// or from another run's kept best (a copy); drawn on its place's line, at the
// place's last mean before it.
struct TPlaceMark {
  int place = 0;
  int run = 0;
  int from = -1;
  long long work = 0;
  double mean = 0;
  bool operator==(const TPlaceMark&) const = default;
};

struct TSpreadPoint {
  long long work = 0;
  double low = 0, median = 0, high = 0;  // first quartile, median, third quartile
  bool operator==(const TSpreadPoint&) const = default;
};

struct TSetPicture {
  std::vector<std::vector<TPlacePoint>> places;  // by place, by work
  std::vector<TPlaceMark> marks;                 // by run
  std::optional<double> goal;
  std::vector<TSpreadPoint> spread;  // by work; only with more than four places
};

// The picture of a set of `places` places. A check heard twice (a resumed
// run repeats the generations after its last save) counts as it was heard
// last; checks of places beyond `places` are not the set's and are left out.
TSetPicture GatherSetPicture(const std::vector<TSetCheck>& checks, int places, std::optional<double> goal);

// The quantile `p` of sorted `values` (not empty), interpolated linearly
// between neighbours: position p * (n - 1).
double Quantile(const std::vector<double>& sorted, double p);
