// A formatted 2 000-character memo: RTF encode, decode and the database apart, and a whole
// date switch in the main window (save, load, repaint). Big memos: a 100 000-line memo opened
// in the window, a 1 MB paragraph opened, a keystroke in a 1 MB memo. A date switch while
// another process holds the notes database locked.
#include "app/Application.h"
#include "app/uMain.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
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

const QDate kFirstDay(2024, 6, 1);

QString key(int i)
{
    return kFirstDay.addDays(i).toString(QStringLiteral("yyyyMMdd"));
}

// The running program with 30 days of formatted memos.
struct Program {
    Program()
    {
        if (!app.start())
            std::abort();
        w = app.mainForm();
        w->show();
        QTextDocument doc;
        fill(doc);
        const QByteArray bytes = tevuna::memodoc::encode(doc);
        for (int i = 0; i < 30; ++i)
            app.dataModule()->saveMemoData(key(i), bytes);
    }
    void showDay(int i)
    {
        w->ChnCalendar1->setDateTime(QDateTime(kFirstDay.addDays(i), QTime(9, 0)));
        w->repaint();
    }
    Home home;
    tevuna::Application app;
    tevuna::TMainFrm *w = nullptr;
};

// Typing a little, then another day: the memo is saved, the next one loaded, all repainted.
void BM_DateSwitch(benchmark::State &state)
{
    Program program;
    int i = 0;
    for (auto _ : state) {
        program.w->rdtAbc->insertAtCaret(QStringLiteral("x"));
        program.showDay(i++ % 30);
    }
}
BENCHMARK(BM_DateSwitch)->Unit(benchmark::kMillisecond);

// The same while another program holds a write transaction on the notes database: every
// save is refused, the memo stays pending, and the window must not wait for the lock.
void BM_DateSwitchDatabaseLocked(benchmark::State &state)
{
    Program program;
    QProcess holder;
    holder.start(QStringLiteral("sqlite3"), {tevuna::TDM::databasePath()});
    if (!holder.waitForStarted())
        std::abort();
    holder.write("BEGIN IMMEDIATE; INSERT INTO UserCon VALUES('x', NULL); SELECT 'locked';\n");
    if (!holder.waitForReadyRead(5000))
        std::abort();
    int i = 0;
    for (auto _ : state) {
        program.w->rdtAbc->insertAtCaret(QStringLiteral("x"));
        program.showDay(i++ % 30);
    }
    holder.closeWriteChannel();
    holder.waitForFinished();
}
BENCHMARK(BM_DateSwitchDatabaseLocked)->Unit(benchmark::kMillisecond);

// Opening a day whose memo has 100 000 lines: load, decode, lay out, paint.
void BM_OpenLongMemo(benchmark::State &state)
{
    Program program;
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += QStringLiteral("第%1行 line %1\n").arg(i);
    QTextDocument doc;
    doc.setPlainText(text);
    const QByteArray bytes = tevuna::memodoc::encode(doc);
    program.app.dataModule()->saveMemoData(key(40), bytes);
    for (auto _ : state) {
        state.PauseTiming();
        program.showDay(0);
        state.ResumeTiming();
        program.showDay(40);
    }
    state.SetLabel(std::to_string(bytes.size()) + " bytes");
}
BENCHMARK(BM_OpenLongMemo)->Unit(benchmark::kMillisecond)->Iterations(3);

// A stored memo of 1 MB: one paragraph without a break opportunity, opened by a day click;
// then 1 MB in paragraphs as long as typing lets them grow, and a keystroke with its repaint
// at the end of one in the middle.
void BM_OpenMegabyteParagraph(benchmark::State &state)
{
    Program program;
    QTextDocument doc;
    doc.setPlainText(QString(1 << 20, QLatin1Char('a')));
    program.app.dataModule()->saveMemoData(key(40), tevuna::memodoc::encode(doc));
    for (auto _ : state) {
        state.PauseTiming();
        program.showDay(0);
        state.ResumeTiming();
        program.showDay(40);
    }
}
BENCHMARK(BM_OpenMegabyteParagraph)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_KeystrokeInMegabyteMemo(benchmark::State &state)
{
    Program program;
    const QString paragraph(tevuna::MemoBox::kMaxParagraphChars - 1000, QLatin1Char('a'));
    QStringList paragraphs;
    while (paragraphs.join(QLatin1Char('\n')).size() < (1 << 20))
        paragraphs << paragraph;
    QTextDocument doc;
    doc.setPlainText(paragraphs.join(QLatin1Char('\n')));
    program.app.dataModule()->saveMemoData(key(40), tevuna::memodoc::encode(doc));
    program.showDay(40);
    tevuna::MemoBox *box = program.w->rdtAbc;
    QTextCursor cursor(box->document()->findBlockByNumber(int(paragraphs.size() / 2)));
    cursor.movePosition(QTextCursor::EndOfBlock);
    box->setTextCursor(cursor);
    box->setFocus();
    program.w->repaint();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        QApplication::sendEvent(box, &release);
        program.w->repaint();
    }
    state.SetLabel(std::to_string(box->document()->characterCount()) + " characters");
}
BENCHMARK(BM_KeystrokeInMegabyteMemo)->Unit(benchmark::kMillisecond)->Iterations(50);

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
