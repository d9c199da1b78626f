#include "hosts/headless_host.h"

#include <cstdio>

THeadlessHost::THeadlessHost() : Arm(&View) { Arm.SetStartPose(); }

void THeadlessHost::AnnHasFinished() {
  ++Finished;
  View.Running = false;
}

void THeadlessHost::PumpMessages() {
  ++Pumps;
  if (OnPump) OnPump(*this, OnPumpContext);
}

void THeadlessHost::SetDlgText(int id, const char* text) {
  ++DlgWrites;
  if (id < FirstId || id > LastId) return;
  std::snprintf(Texts[id - FirstId].data(), Texts[id - FirstId].size(), "%s", text);
}

const char* THeadlessHost::DlgText(int id) const {
  if (id < FirstId || id > LastId) return "";
  return Texts[id - FirstId].data();
}

void THeadlessHost::ClearDlgTexts() {
  for (auto& t : Texts) t[0] = '\0';
}
