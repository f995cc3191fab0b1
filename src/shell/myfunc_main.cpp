#include "shell/myfunc_main.h"

#include "platform/text/vb.h"
#include "shell/required_step.h"
#include "shell/rs_db.h"

#include <QString>
#include <QStringList>
#include <iterator>
#include <utility>

namespace {

// In the order they are read.
const std::pair<const char*, long*> weights[] = {
    {"荷重_総勤務日数", &荷重_総勤務日数},
    {"荷重_各勤務日数", &荷重_各勤務日数},
    {"荷重_休日出勤", &荷重_休日出勤},
    {"荷重_休日勤務", &荷重_休日勤務},
    {"荷重_総勤務日数_今期", &荷重_総勤務日数_今期},
    {"荷重_各勤務日数_今期", &荷重_各勤務日数_今期},
    {"荷重_休日出勤_今期", &荷重_休日出勤_今期},
    {"荷重_休日勤務_今期", &荷重_休日勤務_今期},
    {"荷重_休み曜日_今期", &荷重_休み曜日_今期},
    {"荷重_単勤単休_今期", &荷重_単勤単休_今期},
    {"荷重_単勤総数_今期", &荷重_単勤総数_今期},
    {"荷重_単勤分散_今期", &荷重_単勤分散_今期},
    {"荷重_単休総数_今期", &荷重_単休総数_今期},
    {"荷重_単休分散_今期", &荷重_単休分散_今期},
    {"荷重_優先勤務", &荷重_優先勤務},
    {"荷重_優先勤務倍率", &荷重_優先勤務倍率},
    {"荷重_優先勤務倍率_今期", &荷重_優先勤務倍率_今期},
};

}  // namespace

int 荷重読込()
{
    QStringList fields;
    for (const auto& w : weights)
        fields << QString::fromUtf8(w.first);
    const QStringList values = GetTableValues(QStringLiteral("T_基本設定"), fields);
    for (size_t i = 0; i < std::size(weights); ++i)
        *weights[i].second = toLong(Val(values[qsizetype(i)]));
    required(conditionModelSteps.resetShiftFactors, "resetShiftFactors")();
    return required(conditionModelSteps.readAllConditions, "readAllConditions")(true);
}

void 配列初期化()
{
    required(conditionModelSteps.resizeToMaximum, "resizeToMaximum")();
}

void resetWeights()
{
    for (const auto& w : weights)
        *w.second = 0;
    conditionModelSteps = {};
}
