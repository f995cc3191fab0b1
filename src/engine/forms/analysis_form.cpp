#include "engine/forms/analysis_form.h"

#include "engine/analysis.h"
#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/status.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void colour(QLabel* label, long bgr)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, VbColor(bgr));
    label->setPalette(p);
}

QString number(double v)
{
    return QString::number(v, 'g', 15);
}

}  // namespace

frm分析結果::frm分析結果(const AnalysisFigures& f, const AnalysisVerdict& j, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("分析結果"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ui::setDialogFrame(this);
    answer_ = j.defaultAnswer;

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    const struct {
        int row;
        QString caption;
        QString value;
        long colour;
    } rows[] = {
        {0, QStringLiteral("要求人員総数"), QString::number(f.要求人員総数), kAnalysisBlue},
        {1, QStringLiteral("既定休み総数"), number(f.既定休み総数), kAnalysisBlue},
        {2, QStringLiteral("要求休み総数"), number(f.要求休み総数), kAnalysisBlue},
        {3, QStringLiteral("動員可能人日"), number(f.動員可能人日), kAnalysisBlue},
        {4, QStringLiteral("要求率"), rateText(f.要求率), j.rateColour},
        {6, QStringLiteral("週間勤務日数上限からの動員可能人日"), QString::number(std::lround(f.週間動員可能人日)), kAnalysisBlue},
        {7, QStringLiteral("同、要求率"), rateText(f.週間要求率), j.weeklyRateColour},
    };
    for (const auto& r : rows) {
        lbl[size_t(r.row)] = new QLabel(this);
        lblDt[size_t(r.row)] = new QLabel(this);
        lblDt[size_t(r.row)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        colour(lblDt[size_t(r.row)], r.colour);
        grid->addWidget(lbl[size_t(r.row)], r.row, 0);
        grid->addWidget(lblDt[size_t(r.row)], r.row, 1);
        // Nothing is shown for a month without need, nor the weekly rows while that limit is off.
        const bool filled = f.要求人員総数 > 0 && (r.row < 6 || f.weeklyShown);
        if (filled) {
            lbl[size_t(r.row)]->setText(r.caption);
            lblDt[size_t(r.row)]->setText(r.value);
        }
        lbl[size_t(r.row)]->setVisible(filled);
        lblDt[size_t(r.row)]->setVisible(filled);
    }
    if (f.weeklyShown)
        grid->setRowMinimumHeight(5, 6);

    lblResult = new QLabel(j.判定, this);
    lblResult->setWordWrap(true);
    colour(lblResult, j.verdictColour);
    QFont bold = lblResult->font();
    bold.setBold(true);
    lblResult->setFont(bold);
    lblResult->setVisible(!j.判定.isEmpty());
    auto* conflicts = new QLabel(fixedConflictHeading() + QLatin1Char('\n') + f.固定セル矛盾.trimmed(), this);
    conflicts->setWordWrap(true);
    colour(conflicts, kAnalysisRed);
    conflicts->setVisible(!f.固定セル矛盾.isEmpty());
    lblAsk = new QLabel(QStringLiteral("開始しますか？"), this);
    lblAsk2 = new QLabel(j.answerHint, this);
    lblAskTime = new QLabel(QStringLiteral("5秒"), this);
    cmdEnd[0] = new QPushButton(QStringLiteral("やってくれ"), this);
    cmdEnd[1] = new QPushButton(QStringLiteral("中止"), this);
    cmdEnd[size_t(answer_)]->setDefault(true);
    for (int i = 0; i < 2; ++i)
        OnClick(cmdEnd[size_t(i)], this, [this, i] { cmdEnd_Click(i); });

    auto* ask = new QHBoxLayout;
    ask->addWidget(lblAsk);
    ask->addStretch();
    ask->addWidget(lblAsk2);
    ask->addWidget(lblAskTime);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnd[0]);
    buttons->addWidget(cmdEnd[1]);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);
    layout->addLayout(grid);
    layout->addWidget(lblResult);
    layout->addWidget(conflicts);
    layout->addSpacing(6);
    layout->addLayout(ask);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    Timer1.setInterval(1000);
    OnTimeout(&Timer1, this, [this] { Timer1_Timer(); });
    Timer1.start();
}

void frm分析結果::Timer1_Timer()
{
    left_ -= Timer1.interval();
    if (left_ <= 0) {
        Timer1.stop();
        done(answer_);
        return;
    }
    lblAskTime->setText(QString::number(left_ / 1000) + QStringLiteral("秒"));
}

void frm分析結果::cmdEnd_Click(int index)
{
    answer_ = index;
    Timer1.stop();
    done(answer_);
}

void frm分析結果::stopCountdown()
{
    Timer1.stop();
    lblAskTime->clear();
}

void frm分析結果::mousePressEvent(QMouseEvent*)
{
    stopCountdown();
}

void installAnalysisDialog()
{
    analysisDialog = [](const AnalysisFigures& f, const AnalysisVerdict& j) {
        int answer = 0;
        {
            frm分析結果 dialog(f, j, QApplication::activeWindow());
            dialog.exec();
            answer = dialog.answer();
        }
        // The run starts at once: the closed dialog must not stay behind as an empty frame.
        ui::flushClosedWindow();
        return answer;
    };
}
