#include "optimise/install.h"

#include "engine/optimiser_steps.h"
#include "optimise/best_shift.h"
#include "optimise/optimiser.h"
#include "optimise/random_exchange.h"
#include "optimise/report.h"
#include "optimise/restdays.h"
#include "optimise/score.h"
#include "optimise/sheet_refresh.h"
#include "shell/globals.h"

void installOptimiserSteps()
{
    最適化手順.全分散計算 = 全分散計算;
    最適化手順.ランダム交換 = ランダム交換;
    最適化手順.休み数均等化 = 休み数均等化;
    最適化手順.最適化実行 = 最適化実行;
    最適化手順.ランダム入替処理 = ランダム入替処理;
    最適化手順.ベストシフト消去 = ベストシフト初期化;
    最適化手順.ベストシフト追加 = ベストシフト追加;
    最適化手順.ベストシフト復元 = ベストシフト復元;
    // The report's time is the generation run's.
    最適化手順.荷重分散レポート作成 = [](const QString& guide) {
        return 荷重分散レポート作成(作成開始時刻, nullptr, nullptr, 0, guide);
    };
    最適化手順.荷重パラメータ一覧 = 荷重パラメータ一覧;
    最適化手順.人員配置表更新 = 人員配置表更新;
    最適化手順.予約強調表示 = 予約強調表示;
    最適化手順.全勤務不可強調表示 = 全勤務不可強調表示;
    最適化手順.単勤単休数 = [](const QString& kind) { return 単勤単休数(kind, 1, 0); };
}
