#include "widgets/event_pump.h"

#include <QCoreApplication>
#include <cstring>

void TEventPump::Dispatch() {
  ++Dispatches;
  if (BeforeDispatch) BeforeDispatch();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  Next = Clock::now() + Interval;
}

void TProgressTexts::Set(int id, const char* text) {
  if (id < FirstId || id > LastId) return;
  std::array<char, 64>& slot = Texts[id - FirstId];
  if (std::strncmp(slot.data(), text, slot.size() - 1) == 0) return;  // unchanged
  std::strncpy(slot.data(), text, slot.size() - 1);
  slot.back() = '\0';
  Dirty[id - FirstId] = true;
}

const char* TProgressTexts::Text(int id) const {
  if (id < FirstId || id > LastId) return "";
  return Texts[id - FirstId].data();
}

void TProgressTexts::Flush(const std::function<void(int, const char*)>& apply) {
  if (Dirty.none()) return;
  for (int i = 0; i <= LastId - FirstId; ++i) {
    if (!Dirty[i]) continue;
    Dirty[i] = false;
    apply(FirstId + i, Texts[i].data());
  }
}

void TProgressTexts::Clear() {
  for (auto& t : Texts) t[0] = '\0';
  Dirty.reset();
}
