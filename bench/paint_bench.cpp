// The window's paints on the QPainter surface, offscreen at 96 DPI: the Home
// page as the one-second tick repaints it, and the Qibla page. Each paint
// makes and releases its fonts, bitmaps and icon through the surface; the
// decoded images are cached across paints, as the window does.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/paint.h"
#include "app/render_recorder.h"
#include "astro/constants.h"
#include "engine/schedule.h"
#include "platform/qt/qt_surface.h"

namespace {

orvano::EngineState Algiers() {
    orvano::EngineState engine;
    engine.place.Name = "Algiers";
    engine.place.Country = "Algeria";
    engine.place.latitude = orvano::Degrees{36.75};
    engine.place.longitude = orvano::Degrees{3.05};
    engine.place.TimeZone = 1;
    engine.tables.Conventions[0].FajrTwilightAngle = 18;
    engine.tables.Conventions[0].IshaTwilightAngle = 17;
    engine.tables.Conventions[0].SunriseSetAngle = 0.833;
    engine.tables.Conventions[0].AsrShafii = true;
    engine.observation = orvano::Observation{21, 6, 2010, 16, 0, 0};
    orvano::ComputeDaySchedule(engine);
    return engine;
}

orvano::PaintInput Input(int page) {
    orvano::PaintInput input;
    input.client = orvano::Rect{0, 0, 240, 300};
    input.requestedPage = page;
    input.language = "fr";
    input.now = orvano::LocalTime{2010, 6, 1, 21, 16, 0, 0, 0};
    return input;
}

// clipped: only the clock strip is repainted, as on the timer's tick.
void PaintQt(benchmark::State& state, int page, bool clipped) {
    orvano::EngineState engine = Algiers();
    orvano::PaintInput input = Input(page);
    input.qibla = orvano::PreparePage(page, std::nullopt, std::nullopt, nullptr, engine);
    QImage image(240, 300, QImage::Format_RGB32);
    orvano::QtImageCache cache;
    const orvano::Rect band{0, 46, 240, 66};
    for (auto _ : state) {
        QPainter painter(&image);
        if (clipped) painter.setClipRect(QRect(0, 46, 240, 20));
        painter.fillRect(clipped ? QRect(0, 46, 240, 20) : image.rect(), Qt::white);
        orvano::QtSurface surface(painter, 96, clipped ? band : input.client, &cache);
        orvano::PaintMainWindow(surface, input, engine);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BM_HomePaintQtTick(benchmark::State& state) {
    PaintQt(state, 0, true);
}
void BM_HomePaintQtFull(benchmark::State& state) {
    PaintQt(state, 0, false);
}
void BM_QiblaPaintQt(benchmark::State& state) {
    PaintQt(state, 1, false);
}

// The pages' logic alone, on the recording surface.
void BM_HomePaintRecorded(benchmark::State& state) {
    orvano::EngineState engine = Algiers();
    const orvano::PaintInput input = Input(0);
    for (auto _ : state) {
        orvano::RecordingSurface surface;
        orvano::PaintMainWindow(surface, input, engine);
        benchmark::DoNotOptimize(surface.ops().data());
    }
}

BENCHMARK(BM_HomePaintQtTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HomePaintQtFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QiblaPaintQt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HomePaintRecorded)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
