#include "watching/step_pacer.h"

#include <QCoreApplication>
#include <QSettings>
#include <QString>

namespace {

TStepPacer::Clock::duration PerSecond(double rate) {
  return std::chrono::duration_cast<TStepPacer::Clock::duration>(std::chrono::duration<double>(1.0 / rate));
}

}  // namespace

TRealPacerClock::TRealPacerClock() {
  Wake.setSingleShot(true);
  Wake.setTimerType(Qt::PreciseTimer);
}

void TRealPacerClock::LetEventsThrough(Clock::time_point until) {
  const Clock::duration left = until - Clock::now();
  if (left <= Clock::duration::zero()) return;
  if (!Wake.isActive())
    Wake.start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()));
  // Sleeps until an event comes, the timer's at the latest.
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TStepPacer::SetFrameRate(double hz) {
  // Some platforms report 0 or nonsense; a display runs at a few dozen to a few hundred frames.
  Frames = hz >= 20.0 && hz <= 500.0 ? hz : FallbackFrameRate;
}

TStepPacer::Clock::duration TStepPacer::Interval() const {
  switch (Current) {
    case Slow: return PerSecond(SlowRate);
    case Normal: return PerSecond(Frames);
    case Maximal: break;
  }
  return Clock::duration::zero();
}

void TStepPacer::Wait(const std::function<void()>& dispatch, const std::function<bool()>& stopped) {
  const Clock::duration interval = Interval();
  if (interval == Clock::duration::zero()) return;
  const Clock::time_point now = Time->Now();
  // The beat keeps the average rate when a step comes a little late; after a
  // long delay (slow drawing, a modal box) it starts afresh instead of rushing.
  if (Due == Clock::time_point{} || now - Due > interval) Due = now;
  Due += interval;

  InWait = true;
  ++Waits;
  dispatch();
  while (!stopped() && Time->Now() < Due) Time->LetEventsThrough(Due);
  Real.Done();
  InWait = false;
}

namespace {

constexpr const char* TempoKey = "Simulator/Tempo";
constexpr const char* TempoNames[3] = {"slow", "normal", "maximal"};  // by TTempo

}  // namespace

TStepPacer::TTempo SavedTempo() {
  const QString name = QSettings(QStringLiteral("Zarnik32"), QStringLiteral("Zarnik32"))
                           .value(QLatin1String(TempoKey))
                           .toString();
  for (int t = TStepPacer::Slow; t <= TStepPacer::Maximal; ++t)
    if (name == QLatin1String(TempoNames[t])) return static_cast<TStepPacer::TTempo>(t);
  return TStepPacer::Normal;
}

void SaveTempo(TStepPacer::TTempo tempo) {
  QSettings(QStringLiteral("Zarnik32"), QStringLiteral("Zarnik32"))
      .setValue(QLatin1String(TempoKey), QLatin1String(TempoNames[tempo]));
}
