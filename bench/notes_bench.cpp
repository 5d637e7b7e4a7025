// Memo load and save latency on a notes database holding 10 000 memos.
#include "notes/uDM.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using tevuna::TDM;

struct Store {
    Store()
    {
        qputenv("TEVUNA_HOME", dir.path().toLocal8Bit());
        QDir().mkpath(dir.filePath(QStringLiteral("Data")));
        TDM::CreateDatabase(TDM::databasePath(), nullptr);
        dm = std::make_unique<TDM>();
        if (!dm->OpenDatabase())
            std::abort();
        const QByteArray memo(600, 'x');
        QDate d(2000, 1, 1);
        for (int i = 0; i < 10000; ++i, d = d.addDays(1))
            dm->saveMemoData(key(d), memo);
    }
    static QString key(QDate d) { return d.toString(QStringLiteral("yyyyMMdd")); }

    QTemporaryDir dir;
    std::unique_ptr<TDM> dm;
};

Store &store()
{
    static Store s;
    return s;
}

void BM_LoadMemo(benchmark::State &state)
{
    Store &s = store();
    QDate d(2010, 6, 1);
    QByteArray doc;
    for (auto _ : state) {
        s.dm->loadMemoData(Store::key(d), &doc);
        d = d.addDays(1);
        benchmark::DoNotOptimize(doc);
    }
}
BENCHMARK(BM_LoadMemo)->Unit(benchmark::kMicrosecond);

// Each save is a committed transaction with a full sync, as a saved memo must survive a crash.
void BM_SaveMemo(benchmark::State &state)
{
    Store &s = store();
    QDate d(2010, 6, 1);
    const QByteArray memo(2000, 'y');
    for (auto _ : state) {
        s.dm->saveMemoData(Store::key(d), memo);
        d = d.addDays(1);
    }
}
BENCHMARK(BM_SaveMemo)->Unit(benchmark::kMicrosecond);

} // namespace
