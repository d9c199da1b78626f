// Building the scene picture, coloured and as outlines, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "arm/arm_model.h"
#include "scene/scene_bitmaps.h"
#include "scene/scene_renderer.h"

namespace {

struct TScene {
  TScene() {
    Bitmaps.Load();
    Bitmaps.DrawLabels(Font);
    Arm.SetStartPose();
  }
  QFont Font = MakeSimFont();
  TSceneBitmaps Bitmaps;
  TArmModel Arm{nullptr};
  QImage Picture{SceneWidth, SceneHeight, QImage::Format_RGB32};
};

// A pose with every link slanted, so that no part of the drawing is axis-aligned.
void Slant(TArmModel& arm) {
  arm.UpdateAxleData(0, 23.7f, false);
  arm.UpdateAxleData(2, -61.3f, false);
}

void BM_DrawColoredModel(benchmark::State& state) {
  TScene scene;
  if (state.range(0) != 0) Slant(scene.Arm);
  for (auto _ : state) {
    Render::DrawColoredModel(scene.Picture, scene.Arm, 0, scene.Bitmaps);
    benchmark::DoNotOptimize(scene.Picture.constBits());
  }
}
BENCHMARK(BM_DrawColoredModel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DrawOutLinesOnly(benchmark::State& state) {
  TScene scene;
  if (state.range(0) != 0) Slant(scene.Arm);
  for (auto _ : state) {
    Render::DrawOutLinesOnly(scene.Picture, scene.Arm, 0, scene.Font);
    benchmark::DoNotOptimize(scene.Picture.constBits());
  }
}
BENCHMARK(BM_DrawOutLinesOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
