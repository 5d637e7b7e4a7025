// A formatted 2 000-character memo: RTF encode, decode and the database apart, and a whole
// date switch in the main window (save, load, repaint).
#include "app/Application.h"
#include "app/uMain.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

void fill(QTextDocument &doc)
{
    QTextCursor c(&doc);
    const QString chinese = QStringLiteral("今天下午三点在二楼会议室讨论第四季度的预算安排，");
    int written = 0;
    for (int i = 0; written < 2000; ++i) {
        QTextCharFormat f;
        f.setFontWeight(i % 3 == 0 ? QFont::Bold : QFont::Normal);
        f.setFontItalic(i % 5 == 0);
        if (i % 4 == 0)
            f.setForeground(QColor(200, 0, 0));
        const QString run = i % 2 ? chinese : QStringLiteral("Budget review, room 2F. ");
        c.insertText(run, f);
        written += int(run.size());
        if (i % 6 == 5)
            c.insertBlock();
    }
}

void BM_EncodeMemo(benchmark::State &state)
{
    QTextDocument doc;
    fill(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(tevuna::memodoc::encode(doc));
}
BENCHMARK(BM_EncodeMemo)->Unit(benchmark::kMicrosecond);

void BM_DecodeMemo(benchmark::State &state)
{
    QTextDocument doc;
    fill(doc);
    const QByteArray bytes = tevuna::memodoc::encode(doc);
    for (auto _ : state) {
        QTextDocument back;
        tevuna::memodoc::decode(bytes, &back);
        benchmark::DoNotOptimize(back.characterCount());
    }
    state.SetLabel(std::to_string(bytes.size()) + " bytes");
}
BENCHMARK(BM_DecodeMemo)->Unit(benchmark::kMicrosecond);

struct Home {
    Home() { qputenv("TEVUNA_HOME", dir.path().toLocal8Bit()); }
    QTemporaryDir dir;
};

void BM_DatabaseSaveAndLoad(benchmark::State &state)
{
    Home home;
    QDir().mkpath(home.dir.filePath(QStringLiteral("Data")));
    tevuna::TDM::CreateDatabase(tevuna::TDM::databasePath(), nullptr);
    tevuna::TDM dm;
    dm.OpenDatabase();
    QTextDocument doc;
    fill(doc);
    const QByteArray bytes = tevuna::memodoc::encode(doc);
    QByteArray back;
    for (auto _ : state) {
        dm.saveMemoData(QStringLiteral("20240615"), bytes);
        dm.loadMemoData(QStringLiteral("20240615"), &back);
    }
}
BENCHMARK(BM_DatabaseSaveAndLoad)->Unit(benchmark::kMicrosecond);

// Typing a little, then another day: the memo is saved, the next one loaded, all repainted.
void BM_DateSwitch(benchmark::State &state)
{
    Home home;
    tevuna::Application app;
    if (!app.start())
        std::abort();
    tevuna::TMainFrm *w = app.mainForm();
    w->show();
    QTextDocument doc;
    fill(doc);
    const QByteArray bytes = tevuna::memodoc::encode(doc);
    QDate day(2024, 6, 1);
    for (int i = 0; i < 30; ++i)
        app.dataModule()->saveMemoData(day.addDays(i).toString(QStringLiteral("yyyyMMdd")), bytes);
    int i = 0;
    for (auto _ : state) {
        w->rdtAbc->insertAtCaret(QStringLiteral("x"));
        w->ChnCalendar1->setDateTime(QDateTime(day.addDays(i++ % 30), QTime(9, 0)));
        w->repaint();
    }
}
BENCHMARK(BM_DateSwitch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
