// The adjust mode: moving the arm and the platforms by hand, the full reset
// of the simulator and fitting the frame to the scene.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

#include <algorithm>
#include <cstdio>

#include "arm/string_table.h"
#include "widgets/text_gadget.h"
#include "scene/zarnik_client.h"
#include "main_window/zarnik_window.h"

namespace {

constexpr float RotationStep = 0.5f;
constexpr float RotationMin = 0.5f;
constexpr float RotationMax = 359.5f;

// One pass changes the frame by the whole remaining difference; a few passes
// absorb a window manager that adjusts the first request.
constexpr int MaxFitPasses = 8;

}  // namespace

void TZarnikWindow::CmSimReset() {
  Arm.SetStartPose();  // start pose, ball on E
  Rotation = 6.0f;
  Selection = 0;
  AnnGaDlg = nullptr;
  ShowArmTexts();
  ShowRotation();
  GetStr(IDS_ADJUST_MODE, Arm.Buffer, sizeof Arm.Buffer);
  SetMessageText(Arm.Buffer);
  UpdateSimulator();
}

void TZarnikWindow::ShowArmTexts() {
  for (int i = 0; i < 4; ++i) {
    std::snprintf(Arm.Buffer, sizeof Arm.Buffer, "%c:%9.1f\xB0", 'A' + i,
                  static_cast<double>(Arm.AxleDat[i].a));
    SetAxleText(i, Arm.Buffer);
  }
  for (int j = 0; j < 2; ++j) {
    std::snprintf(Arm.Buffer, sizeof Arm.Buffer, "%c:%5d", 'E' + j, static_cast<int>(Arm.PlatDat[j].h));
    SetPlatText(j, Arm.Buffer);
  }
}

void TZarnikWindow::CeSimReset(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmSimAjust() {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  FitFrameToScene(screen->availableGeometry().size());
}

void TZarnikWindow::CeSimAjust(TCommandEnabler& ce) {
  ce.Enable(!RunActive() && ClientSize() != QSize(SceneWidth, SceneHeight));
}

void TZarnikWindow::SyncLayout() {
  // A hidden frame lays out its children only when shown; do it now so that
  // the client size can be read back.
  QCoreApplication::sendPostedEvents(this, QEvent::LayoutRequest);
  if (QLayout* l = layout()) {
    l->invalidate();
    l->activate();
  }
}

void TZarnikWindow::FitFrameToScene(QSize full) {
  // Each pass sets the frame to the size that leaves the client area at the
  // scene's size, as far as the screen allows, and reads the result back.
  // The loop ends when the client area fits, when the screen bounds leave
  // nothing to change, when the frame does not take a new size (a window
  // manager or the frame's minimum size refusing it), or after a few passes.
  const QSize scene(SceneWidth, SceneHeight);
  SyncLayout();
  QSize client = ClientSize();
  for (int pass = 0; pass < MaxFitPasses && client != scene; ++pass) {
    const QSize frame = size();
    int w = frame.width(), h = frame.height();
    // A dimension changes only while the frame is narrower (lower) than the screen.
    if (client.width() != scene.width() && w < full.width())
      w = std::min(w + scene.width() - client.width(), full.width());
    if (client.height() != scene.height() && h < full.height())
      h = std::min(h + scene.height() - client.height(), full.height());
    if (QSize(w, h) == frame) break;
    resize(w, h);  // keeps the top-left corner
    SyncLayout();
    if (isVisible()) repaint();
    const QSize now = ClientSize();
    if (now == client) break;
    client = now;
  }
}

void TZarnikWindow::ShowRotation() {
  std::snprintf(Arm.Buffer, sizeof Arm.Buffer, "Rotation:%9.1f\xB0", static_cast<double>(Rotation));
  DeltaRate->SetText(QString::fromLatin1(Arm.Buffer));
}

void TZarnikWindow::CmIncAngle() {
  if (Rotation >= RotationMax) {
    Beep();
    return;
  }
  Rotation += RotationStep;
  ShowRotation();
}

void TZarnikWindow::CeIncAngle(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::CmDecAngle() {
  if (Rotation <= RotationMin) {
    Beep();
    return;
  }
  Rotation -= RotationStep;
  ShowRotation();
}

void TZarnikWindow::CeDecAngle(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

void TZarnikWindow::SetSelection(int32_t selection) {
  Selection = selection;
  UpdateSimulator();
}

void TZarnikWindow::CmSetAxleA() { SetSelection('A'); }
void TZarnikWindow::CmSetAxleB() { SetSelection('B'); }
void TZarnikWindow::CmSetAxleC() { SetSelection('C'); }
void TZarnikWindow::CmSetAxleD() { SetSelection('D'); }
void TZarnikWindow::CmSetPlatE() { SetSelection('E'); }
void TZarnikWindow::CmSetPlatF() { SetSelection('F'); }
void TZarnikWindow::CeSetAxleA(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
void TZarnikWindow::CeSetAxleB(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
void TZarnikWindow::CeSetAxleC(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
void TZarnikWindow::CeSetAxleD(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
void TZarnikWindow::CeSetPlatE(TCommandEnabler& ce) { ce.Enable(!RunActive()); }
void TZarnikWindow::CeSetPlatF(TCommandEnabler& ce) { ce.Enable(!RunActive()); }

// The moving commands look only at the selection; a run's start clears it.
void TZarnikWindow::CmMoveLeft() { Arm.UpdateAxleData(Selection - 'A', Rotation, true); }
void TZarnikWindow::CmMoveRite() { Arm.UpdateAxleData(Selection - 'A', -Rotation, true); }
void TZarnikWindow::CeMoveLeft(TCommandEnabler& ce) { ce.Enable(SelectedAxle()); }
void TZarnikWindow::CeMoveRite(TCommandEnabler& ce) { ce.Enable(SelectedAxle()); }

void TZarnikWindow::CmMoveCeil() { Arm.UpdatePlatData(Selection - 'E', +1); }
void TZarnikWindow::CmMoveDown() { Arm.UpdatePlatData(Selection - 'E', -1); }
void TZarnikWindow::CeMoveCeil(TCommandEnabler& ce) { ce.Enable(SelectedPlat()); }
void TZarnikWindow::CeMoveDown(TCommandEnabler& ce) { ce.Enable(SelectedPlat()); }
