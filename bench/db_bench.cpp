// What start-up's look at 集計.db costs on a large file: the full integrity check against the
// quick one, on the program's own schema holding years of saved months (50 members, every day).
#include "platform/db/db.h"
#include "shell/globals.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

// One file per size, made once: 50 members x 365 days x years rows in T_勤務表 and its indexes.
QString databaseOf(int years)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    auto& dir = made[years];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        stDbPath = dir->path();
        resetDbGlobals();
        AddTableField();
        cn.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
                                  "SELECT 101 + i % 50, date('2000-01-01', '+' || (i / 50) || ' days'), 1 + i % 4, 0 FROM n")
                       .arg(50 * 365 * years - 1));
        DbClose();
    }
    return dir->filePath(QStringLiteral("集計.db"));
}

void check(benchmark::State& state, const char* pragma)
{
    const QString path = databaseOf(int(state.range(0)));
    for (auto _ : state) {
        db::Connection c;
        c.open(path, true);
        benchmark::DoNotOptimize(c.scalar(QString::fromLatin1(pragma)).toString());
    }
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

void BM_IntegrityCheck(benchmark::State& state)
{
    check(state, "PRAGMA integrity_check(1)");
}
BENCHMARK(BM_IntegrityCheck)->Arg(5)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_QuickCheck(benchmark::State& state)
{
    check(state, "PRAGMA quick_check(1)");
}
BENCHMARK(BM_QuickCheck)->Arg(5)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
