// The calendar control: one date change (model rebuild, background render, grid move), a full
// repaint of the control at the main window's size and enlarged, and a month change in 800,
// where the engine runs its mean new-moon series instead of the tables.
#include "base/Fonts.h"
#include "calendarview/ChnCalendarPicker.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using tevuna::ChnCalendarPickerModel;
using tevuna::TChnCalendar;

QDateTime at(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

// Alternates between two dates so every iteration is a real change.
void BM_ModelDateChange(benchmark::State &state)
{
    const int year = static_cast<int>(state.range(0));
    const QDateTime dates[] = {at(year, 6, 10), at(year, 7, 20)};
    ChnCalendarPickerModel model;
    int k = 0;
    for (auto _ : state) {
        model.setDateTime(dates[k ^= 1]);
        benchmark::DoNotOptimize(model.cell(20).CnText.size());
    }
}
BENCHMARK(BM_ModelDateChange)->Arg(2024)->Arg(800)->Unit(benchmark::kMicrosecond);

void BM_ControlDateChange(benchmark::State &state)
{
    const int year = static_cast<int>(state.range(0));
    const bool otherMonth = state.range(1) == 1;
    const QDateTime dates[] = {at(year, 6, 10), otherMonth ? at(year, 7, 20) : at(year, 6, 20)};
    TChnCalendar w;
    w.resize(419, 255);
    w.setDateTime(dates[0]);
    w.show();
    int k = 0;
    for (auto _ : state) {
        w.setDateTime(dates[k ^= 1]);
        benchmark::DoNotOptimize(w.backgroundLayer().constBits());
    }
    state.SetLabel(otherMonth ? "another month" : "same month");
}
BENCHMARK(BM_ControlDateChange)
    ->Args({2024, 0})
    ->Args({2024, 1})
    ->Args({800, 1})
    ->Unit(benchmark::kMicrosecond);

// Paints the control with its labels, steppers and every grid cell.
void BM_FullRepaint(benchmark::State &state)
{
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TChnCalendar w;
    w.resize(size);
    w.setDateTime(at(2015, 2, 14));
    w.show();
    QImage target(size, QImage::Format_RGB32);
    for (auto _ : state) {
        w.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}
BENCHMARK(BM_FullRepaint)->Args({419, 255})->Args({1200, 800})->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tevuna::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
