#include "engine/forms/start_conditions_form.h"

#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/desktop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("開始条件設定");
const QString kHelp = QStringLiteral("kaisi-joken/index.htm");

QStringList dayList(int last)
{
    QStringList days;
    for (int d = 1; d <= last; ++d)
        days << QString::number(d);
    return days;
}

QComboBox* comboBox(QWidget* parent, const QStringList& items, bool editable, const QString& tip = {})
{
    auto* box = new QComboBox(parent);
    box->setEditable(editable);
    box->addItems(items);
    box->setToolTip(tip);
    box->setMinimumContentsLength(4);
    return box;
}

QLabel* helpLabel(QWidget* parent, const QString& page)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\">ヘルプ</a>").arg(page), parent);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    QObject::connect(label, &QLabel::linkActivated, label, [](const QString& link) { RunHandler([&] { WebHelp(link); }); });
    return label;
}

// A caption with the help link at its right.
QHBoxLayout* headingRow(const QString& text, QLabel* help)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(text));
    row->addStretch();
    row->addWidget(help);
    return row;
}

// Boxes followed by their unit labels.
QHBoxLayout* inputRow(std::initializer_list<std::pair<QWidget*, const char*>> parts)
{
    auto* row = new QHBoxLayout;
    row->addSpacing(16);
    for (const auto& [box, unit] : parts) {
        row->addWidget(box);
        row->addWidget(new QLabel(QString::fromUtf8(unit)));
    }
    row->addStretch();
    return row;
}

}  // namespace

FractionSpinBox::FractionSpinBox(QWidget* parent) : QDoubleSpinBox(parent)
{
    setLocale(QLocale::c());
    setDecimals(3);
    setRange(0, 99999);
    setSingleStep(1);
}

QString FractionSpinBox::textFromValue(double value) const
{
    return QLocale::c().toString(value, 'g', 10);
}

frm開始条件設定::frm開始条件設定(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setDialogFrame(this);
    setWindowTitle(kCaption);
    cmbYear = comboBox(this, yearList(), false);
    cmbMonth = comboBox(this, monthList(), false);
    cmbDay = comboBox(this, dayList(31), true, QStringLiteral("実際にシフト表を自動作成する開始日を入力します"));
    cmbStdDay = comboBox(this, dayList(31), true, QStringLiteral("シフトの開始日、シフト表の左端の日"));
    cmb試行回数 = comboBox(this, dayList(10), true, QStringLiteral("作成困難なとき粘る回数です。通常変更不要！"));
    txt制限時間 = new FractionSpinBox(this);
    txt制限時間->setToolTip(QStringLiteral("作成困難なとき粘る時間。人数が多い時、大きめにする"));
    for (int t = 1; t <= kRestWeight; ++t) {
        if (t == kRestWeight - 1)
            continue;
        Opt[size_t(t)] = new QLineEdit(this);
        Opt[size_t(t)]->setMaximumWidth(56);
        Opt[size_t(t)]->setAlignment(Qt::AlignRight);
    }
    for (int t = 1; t < kRestWeight; ++t)
        lbl[size_t(t)] = new QLabel(t == kRestWeight - 1 ? QStringLiteral("休み") : QString(), this);
    chk詳細設定 = new QCheckBox(QStringLiteral("詳細設定"), this);
    chk詳細設定->setToolTip(QStringLiteral("チェックするとフォームが拡大し詳細設定ができます。"));
    cmd設定 = new QPushButton(QStringLiteral("設定"), this);
    cmd設定->setToolTip(QStringLiteral("現在の値を保存します"));
    cmd設定->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    lblYear = helpLabel(this, kHelp);
    lblDay = helpLabel(this, kHelp + QStringLiteral("#date_remake"));
    lblStdDay = helpLabel(this, kHelp + QStringLiteral("#date_kaisi"));
    fraDetails = new QWidget(this);
    buildLayout();

    OnClick(cmd設定, this, [this] { cmd設定_Click(); });
    OnClick(cmdCancel, this, [this] { cmdCancel_Click(); });
    connect(chk詳細設定, &QCheckBox::toggled, this, [this] { RunHandler([this] { onDetailsToggled(); }, this); });
    Form_Load();
    // Connected after loading, so that the loaded start day stays as the sheet holds it.
    connect(cmbStdDay, &QComboBox::currentTextChanged, cmbDay, &QComboBox::setCurrentText);
}

void frm開始条件設定::buildLayout()
{
    auto* detail = new QGridLayout(fraDetails);
    detail->setContentsMargins(0, 0, 0, 0);
    detail->addWidget(new QLabel(QStringLiteral("1日分の最適解を求めるための試行回数")), 0, 0);
    detail->addLayout(inputRow({{cmb試行回数, "回"}}), 1, 0);
    detail->addWidget(new QLabel(QStringLiteral("シフト表作成の制限時間")), 2, 0);
    detail->addLayout(inputRow({{txt制限時間, "分"}}), 3, 0);
    auto* weights = new QGroupBox(QStringLiteral("最適化比重"), fraDetails);
    auto* grid = new QGridLayout(weights);
    // Five shift types a row, each box under its caption; rest apart at the right, so that it
    // stays in its place however few shift types there are.
    for (int t = 1; t < kRestWeight - 1; ++t) {
        grid->addWidget(lbl[size_t(t)], ((t - 1) / 5) * 2, (t - 1) % 5, Qt::AlignHCenter);
        grid->addWidget(Opt[size_t(t)], ((t - 1) / 5) * 2 + 1, (t - 1) % 5);
    }
    grid->setColumnMinimumWidth(5, 12);
    grid->addWidget(lbl[kRestWeight - 1], 0, 6, Qt::AlignHCenter);
    grid->addWidget(Opt[kRestWeight], 1, 6);
    detail->addWidget(weights, 4, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chk詳細設定);
    buttons->addStretch();
    buttons->addWidget(cmd設定);
    buttons->addWidget(cmdCancel);

    auto* main = new QVBoxLayout(this);
    main->setSizeConstraint(QLayout::SetFixedSize);
    main->addLayout(headingRow(QStringLiteral("作成する年と月を選択して下さい"), lblYear));
    main->addLayout(inputRow({{cmbYear, "年"}, {cmbMonth, "月"}}));
    main->addLayout(headingRow(QStringLiteral("基準開始日を選択して下さい"), lblStdDay));
    main->addLayout(inputRow({{cmbStdDay, "日"}}));
    main->addLayout(headingRow(QStringLiteral("作成開始する日を選択して下さい"), lblDay));
    main->addLayout(inputRow({{cmbDay, "日"}}));
    main->addWidget(fraDetails);
    main->addLayout(buttons);
}

void frm開始条件設定::Form_Load()
{
    FormTopMost(this);
    const StartConditions c = readStartConditions();
    cmbYear->setCurrentText(c.年);
    cmbMonth->setCurrentText(c.月);
    cmbDay->setCurrentText(c.日);
    cmbStdDay->setCurrentText(c.基準開始日);
    cmb試行回数->setCurrentText(c.試行回数);
    txt制限時間->setValue(c.制限時間.trimmed().toDouble());
    typeCount_ = int(c.略称.size());
    for (int t = 1; t < kRestWeight - 1; ++t) {
        const bool shown = t <= typeCount_;
        lbl[size_t(t)]->setText(shown ? c.略称[t - 1] : QString());
        lbl[size_t(t)]->setVisible(shown);
        Opt[size_t(t)]->setText(shown ? c.weights[size_t(t)] : QString());
        Opt[size_t(t)]->setVisible(shown);
    }
    Opt[kRestWeight]->setText(c.weights[kRestWeight]);
    onDetailsToggled();
}

void frm開始条件設定::onDetailsToggled()
{
    fraDetails->setVisible(chk詳細設定->isChecked());
}

StartConditions frm開始条件設定::entered() const
{
    StartConditions c;
    c.年 = cmbYear->currentText();
    c.月 = cmbMonth->currentText();
    c.日 = cmbDay->currentText();
    c.基準開始日 = cmbStdDay->currentText();
    c.試行回数 = cmb試行回数->currentText();
    c.制限時間 = txt制限時間->cleanText();
    for (int t = 1; t <= typeCount_; ++t) {
        c.weights[size_t(t)] = Opt[size_t(t)]->text();
        c.略称 << lbl[size_t(t)]->text();
    }
    c.weights[kRestWeight] = Opt[kRestWeight]->text();
    return c;
}

void frm開始条件設定::cmd設定_Click()
{
    bool wasShown = false;
    const bool applied = 開始条件設定(entered(), [this, &wasShown] {
        wasShown = isVisible();
        hide();
        setWindowTitle(QStringLiteral("日付を設定しています！"));
    });
    if (applied) {
        close();
        return;
    }
    // A sheet that could not be written: the values are still here to try again.
    setWindowTitle(kCaption);
    if (wasShown)
        show();
}

void frm開始条件設定::cmdCancel_Click()
{
    close();
}
