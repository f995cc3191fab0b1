// Runs whole generations through the real driver in background mode and prints what they did, so
// that two builds compare line by line (scripts/compare-generation): per condition set and seed the
// outcome, the attempts and tries, the score, a digest of the table after every shake and every
// optimiser run, and at the end the roster sheet's cells and a digest of the whole workbook.
// The run's clock counts attempts instead of milliseconds: each attempt is one second, so a limit
// of N seconds allows exactly N attempts whatever the speed of the build.
//   generation_trace [--attempts N] [--seeds N] [condition files...]
// Without files: the three sample work folders and the benchmarks' own set.
#include "bench_conditions.h"
#include "whole_runs.h"

#include "engine/conditions.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "optimise/install.h"
#include "platform/os/clock.h"
#include "platform/xl/book_data.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/desktop.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

class AttemptClock : public os::Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return qint64(generationTiming.attempts) * 1000; }
    void sleepMs(qint64) override {}
};

std::uint64_t g_digest = 0;
long g_steps = 0;

// The model's table folded into the running digest (FNV-1a).
void fold()
{
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d) {
            g_digest ^= std::uint64_t(std::uint32_t(Time_Table(m, d))) + std::uint64_t(m) * 64 + std::uint64_t(d);
            g_digest *= 1099511628211ULL;
        }
    ++g_steps;
}

// Every step that changes the table during an attempt leaves its trace in the digest.
void traceSteps()
{
    OptimiserSteps& s = optimiserSteps;
    auto shake = s.ランダム交換;
    s.ランダム交換 = [shake](int last, int first) { shake(last, first); fold(); };
    auto even = s.休み数均等化;
    s.休み数均等化 = [even](bool refresh, int day) { const bool r = even(refresh, day); fold(); return r; };
    auto optimise = s.最適化実行;
    s.最適化実行 = [optimise](long passes, int days, float start) { optimise(passes, days, start); fold(); };
    auto rounds = s.ランダム入替処理;
    s.ランダム入替処理 = [rounds](int n) { rounds(n); fold(); };
}

void openSet(const QString& set)
{
    if (set == u"bench") {
        openBenchConditions();
    } else if (!openSampleBook(set).ok) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(set));
        std::exit(1);
    }
    xl::Worksheet& main = xlBook->worksheets(QStringLiteral("Main"));
    main.range(QStringLiteral("バックグラウンド動作")).setValue(true);
    main.range(QStringLiteral("ベストシフト作成")).setValue(false);
}

QString sheetCells()
{
    const xl::Block b = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).block();
    QString out;
    for (int r = 1; r <= b.rows(); ++r) {
        for (int c = 1; c <= b.columns(); ++c)
            out += b(r, c).toString() + u',';
        out += u'|';
    }
    return out;
}

// Every sheet's cells as the file would hold them: values, formulas and the look of each cell.
QByteArray bookDigest()
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    const xl::BookData& data = xlBook->data();
    for (const xl::SheetData& sheet : data.sheets) {
        hash.addData(sheet.name.toUtf8());
        for (const auto& [at, cell] : sheet.cells) {
            const xl::CellStyle& style = data.styles[size_t(cell.style)];
            const QString text = QStringLiteral("%1,%2:%3|%4|%5|%6|%7|%8;")
                                     .arg(at.first)
                                     .arg(at.second)
                                     .arg(cell.value.toString(), cell.formula, style.fill.name(QColor::HexArgb),
                                          style.fontColor.name(QColor::HexArgb), style.numberFormat)
                                     .arg(style.bold);
            hash.addData(text.toUtf8());
        }
    }
    return hash.result().toHex();
}

void trace(const QString& set, const QString& label, int attempts, int seed)
{
    openSet(set);
    LimitTime = float(attempts) / 60.0f;
    g_digest = 14695981039346656037ULL;
    g_steps = 0;
    cmd開始_Click({std::uint64_t(seed)});
    const float score = optimiserSteps.全分散計算();
    std::uint32_t bits;
    std::memcpy(&bits, &score, sizeof bits);
    const GenerationTiming& c = generationTiming;
    std::printf("%s seed %d: state %d attempts %ld days %ld tries %ld score %.9g (%08x) steps %ld digest %016llx\n",
                qPrintable(label), seed, 作成状態, c.attempts, c.dayCount, c.tries, double(score), bits, g_steps,
                static_cast<unsigned long long>(g_digest));
    std::printf("%s seed %d: book %s\n", qPrintable(label), seed, bookDigest().constData());
    std::printf("%s seed %d: sheet %s\n", qPrintable(label), seed, qPrintable(sheetCells()));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int attempts = 20;
    int seeds = 5;
    std::vector<QString> sets;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == u"--attempts" && i + 1 < argc)
            attempts = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (a == u"--seeds" && i + 1 < argc)
            seeds = QString::fromLocal8Bit(argv[++i]).toInt();
        else
            sets.push_back(QFileInfo(a).absoluteFilePath());
    }
    if (sets.empty())
        sets = defaultRunSets();
    QTemporaryDir work;
    if (!prepareHeadlessRuns(work))
        return 1;
    traceSteps();
    AttemptClock clock;
    os::setClock(&clock);
    for (const QString& set : sets) {
        const QString label = runSetLabel(set);
        for (int seed = 1; seed <= seeds; ++seed)
            trace(set, label, attempts, seed);
    }
    os::setClock(nullptr);
    resetDbGlobals();
    return 0;
}
