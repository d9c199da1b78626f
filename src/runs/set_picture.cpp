#include "runs/set_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

// The median and quartiles at every work some place checked at, over the
// places whose line passes there: each with its last mean up to that work.
std::vector<TSpreadPoint> Spread(const std::vector<std::vector<TPlacePoint>>& places) {
  std::set<long long> works;
  for (const auto& line : places)
    for (const TPlacePoint& p : line) works.insert(p.work);
  std::vector<TSpreadPoint> out;
  for (const long long x : works) {
    std::vector<double> values;
    for (const auto& line : places) {
      if (line.empty() || line.front().work > x || line.back().work < x) continue;
      const auto after = std::upper_bound(line.begin(), line.end(), x,
                                          [](long long w, const TPlacePoint& p) { return w < p.work; });
      values.push_back(std::prev(after)->mean);
    }
    std::sort(values.begin(), values.end());
    out.push_back({x, Quantile(values, 0.25), Quantile(values, 0.5), Quantile(values, 0.75)});
  }
  return out;
}

}  // namespace

double Quantile(const std::vector<double>& sorted, double p) {
  const double at = p * static_cast<double>(sorted.size() - 1);
  const size_t below = static_cast<size_t>(std::floor(at));
  if (below + 1 >= sorted.size()) return sorted.back();
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

TSetPicture GatherSetPicture(const std::vector<TSetCheck>& checks, int places, std::optional<double> goal) {
  TSetPicture picture;
  picture.goal = goal;
  if (places <= 0) return picture;
  std::vector<std::map<long long, double>> byWork(static_cast<size_t>(places));
  std::map<int, TSetCheck> firstOfRun;
  for (const TSetCheck& c : checks) {
    if (c.place >= places || c.run % places != c.place) continue;
    byWork[static_cast<size_t>(c.place)][c.work] = c.mean;
    firstOfRun.try_emplace(c.run, c);
  }
  for (const auto& line : byWork) {
    picture.places.emplace_back();
    for (const auto& [work, mean] : line) picture.places.back().push_back({work, mean});
  }
  // Every run after a place's first took it over where its predecessor ended.
  for (const auto& [run, c] : firstOfRun) {
    if (run < places) continue;
    const auto& line = byWork[static_cast<size_t>(c.place)];
    auto before = line.upper_bound(c.startWork);
    const double mean = before == line.begin() ? c.mean : std::prev(before)->second;
    picture.marks.push_back({c.place, run, c.from, c.startWork, mean});
  }
  if (places > 4) picture.spread = Spread(picture.places);
  return picture;
}
