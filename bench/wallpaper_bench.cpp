// The notes on the desktop: the blend alone, and everything an apply does up to the wallpaper
// call (card, background decode, blend, Mix.bmp), for Full HD and 4K backgrounds.
#include "wallpaper/CBmp.h"
#include "wallpaper/Picture.h"
#include "wallpaper/uDeskBGSet.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QImage background(QSize size)
{
    QImage image(size, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, QColor(240, 200, 150));
    p.fillRect(image.rect(), g);
    return image;
}

const QSize kSizes[] = {QSize(1920, 1080), QSize(3840, 2160)};

void BM_Blend(benchmark::State &state)
{
    const QImage bg = background(kSizes[state.range(0)]);
    const QImage card =
        tevuna::drawContentImage({QStringLiteral("明天 9:00 开会")}, QDate(2024, 6, 15));
    QImage target = bg.copy();
    for (auto _ : state) {
        tevuna::Blend(card, bg, target, 30, bg.width() - 282, 4);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(bg.width()).arg(bg.height()).toStdString());
}
BENCHMARK(BM_Blend)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ApplyUpToWallpaperCall(benchmark::State &state)
{
    QTemporaryDir dir;
    const bool jpeg = state.range(1) == 1;
    const QString source = dir.filePath(jpeg ? QStringLiteral("bg.jpg") : QStringLiteral("bg.bmp"));
    background(kSizes[state.range(0)]).save(source, jpeg ? "JPEG" : "BMP");
    const QString content = dir.filePath(QStringLiteral("Content.bmp"));
    const QString mix = dir.filePath(QStringLiteral("Mix.bmp"));
    for (auto _ : state) {
        tevuna::writeBmp(tevuna::drawContentImage({QStringLiteral("明天 9:00 开会\r\n买菜")},
                                                  QDate(2024, 6, 15)),
                         content);
        const QImage bg = tevuna::readPicture(source);
        const QImage card = tevuna::readPicture(content);
        QPoint at;
        const QImage block =
            tevuna::blendBlock(card, bg, 30, bg.width() - card.width() - 52, 4, &at);
        tevuna::writeBmp(bg, mix, block, at);
    }
    state.SetLabel(QStringLiteral("%1x%2 %3")
                       .arg(kSizes[state.range(0)].width())
                       .arg(kSizes[state.range(0)].height())
                       .arg(jpeg ? "JPEG" : "BMP")
                       .toStdString());
}
BENCHMARK(BM_ApplyUpToWallpaperCall)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ReadPicture(benchmark::State &state)
{
    QTemporaryDir dir;
    const bool jpeg = state.range(1) == 1;
    const QString source = dir.filePath(jpeg ? QStringLiteral("bg.jpg") : QStringLiteral("bg.bmp"));
    background(kSizes[state.range(0)]).save(source, jpeg ? "JPEG" : "BMP");
    for (auto _ : state)
        benchmark::DoNotOptimize(tevuna::readPicture(source));
}
BENCHMARK(BM_ReadPicture)->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
