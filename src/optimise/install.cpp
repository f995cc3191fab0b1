#include "optimise/install.h"

#include "engine/optimiser_steps.h"
#include "optimise/best_shift.h"
#include "optimise/optimiser.h"
#include "optimise/random_exchange.h"
#include "optimise/report.h"
#include "optimise/rest_days.h"
#include "optimise/score.h"
#include "shell/globals.h"

void installOptimiserSteps()
{
    optimiserSteps.全分散計算 = 全分散計算;
    optimiserSteps.ランダム交換 = ランダム交換;
    optimiserSteps.休み数均等化 = 休み数均等化;
    optimiserSteps.最適化実行 = 最適化実行;
    optimiserSteps.ランダム入替処理 = ランダム入替処理;
    optimiserSteps.clearBestShifts = resetBestShifts;
    optimiserSteps.ベストシフト追加 = ベストシフト追加;
    optimiserSteps.ベストシフト復元 = ベストシフト復元;
    // The report's time is the generation run's.
    optimiserSteps.荷重分散レポート作成 = [](const QString& guide) {
        return 荷重分散レポート作成(作成開始時刻, nullptr, nullptr, 0, guide);
    };
    optimiserSteps.荷重パラメータ一覧 = 荷重パラメータ一覧;
    optimiserSteps.単勤単休数 = [](const QString& kind) { return 単勤単休数(kind, 1, 0); };
}
