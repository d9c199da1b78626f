#include "watching/fitness_history.h"

void TFitnessHistory::Add(const TGenerationFigures& figures) {
  const double seconds = std::chrono::duration<double>(Clock::now() - RunStart).count();
  Rows.push_back(MakeFitnessRow(figures, seconds));
}

void TFitnessHistory::Clear() {
  Rows.clear();
  ++Replaced;
}

bool TFitnessHistory::Load(const char* path) {
  std::vector<TFitnessRow> read;
  const bool ok = ReadFitnessLog(path, read);
  Rows = std::move(read);  // empty unless the whole file was good
  ++Replaced;
  return ok;
}

int TFitnessHistory::LastPass1() const {
  for (auto r = Rows.rbegin(); r != Rows.rend(); ++r)
    if (r->mode == 1) return r->generation;
  return -1;
}

void TFitnessHistory::Replace(const std::vector<TFitnessRow>& rows) {
  Rows = rows;
  ++Replaced;
}
