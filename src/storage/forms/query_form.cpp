#include "storage/forms/query_form.h"

#include "platform/db/db.h"
#include "platform/text/text_constants.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/period.h"
#include "shell/rs_db.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

namespace {

constexpr int kNotice = ui::vbOKOnly | ui::vbSystemModal;

void reportWriteFailure(const db::Error& e)
{
    const QString summary = e.summary();
    MsgBox(QStringLiteral("データベースへの書き込みに失敗しました。") + (summary.isEmpty() ? QString() : kCrLf + summary) + kCrLf
               + kCrLf + e.text(),
           kNotice | ui::vbExclamation, QStringLiteral("データベース更新エラー"));
}

void markChanged()
{
    MsgBox(QStringLiteral("このレコードは、ほかで変更されたか削除されています。") + kCrLf + QStringLiteral("表示し直します。"),
           kNotice | ui::vbExclamation, QStringLiteral("レコード更新"));
}

// The tool buttons' pictures: 0 pencil, 1 funnel, 2 cross, 3 two sheets.
QIcon toolIcon(int kind)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    switch (kind) {
    case 0: {
        QPainterPath pencil;
        pencil.moveTo(5, 19);
        pencil.lineTo(6.5, 14);
        pencil.lineTo(16, 4.5);
        pencil.lineTo(19.5, 8);
        pencil.lineTo(10, 17.5);
        pencil.closeSubpath();
        p.setBrush(QColor(245, 190, 60));
        p.drawPath(pencil);
        p.drawLine(QPointF(6.5, 14), QPointF(10, 17.5));
        break;
    }
    case 1: {
        QPainterPath funnel;
        funnel.moveTo(4, 5);
        funnel.lineTo(20, 5);
        funnel.lineTo(14, 12);
        funnel.lineTo(14, 19);
        funnel.lineTo(10, 17);
        funnel.lineTo(10, 12);
        funnel.closeSubpath();
        p.setBrush(QColor(90, 150, 220));
        p.drawPath(funnel);
        break;
    }
    case 2:
        p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(6, 6, 18, 18);
        p.drawLine(18, 6, 6, 18);
        break;
    default:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 3.5, 11, 13));
        p.drawRect(QRectF(8.5, 7.5, 11, 13));
        break;
    }
    return QIcon(pixmap);
}

QToolButton* toolButton(QWidget* parent, int picture, const QString& text, const QString& tip, bool checkable)
{
    auto* b = new QToolButton(parent);
    b->setIcon(toolIcon(picture));
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(checkable);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(false);
    return b;
}

}  // namespace

// ---- the grid's model ------------------------------------------------------------------------

ResultModel::ResultModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultModel::設定(std::optional<ResultTable> result)
{
    beginResetModel();
    result_ = std::move(result);
    endResetModel();
}

void ResultModel::setEditable(bool on)
{
    // Only the line for a new row comes or goes: the user's place in the grid stays.
    const bool line = result_ && result_->canAddRow() && on != editing_;
    const int row = result_ ? result_->件数() : 0;
    if (line && on)
        beginInsertRows({}, row, row);
    else if (line)
        beginRemoveRows({}, row, row);
    editing_ = on;
    if (line && on)
        endInsertRows();
    else if (line)
        endRemoveRows();
}

void ResultModel::redraw()
{
    beginResetModel();
    endResetModel();
}

bool ResultModel::isNewRow(int row) const
{
    return result_ && row == result_->件数();
}

int ResultModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !result_)
        return 0;
    return result_->件数() + (editing_ && result_->canAddRow() ? 1 : 0);
}

int ResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !result_ ? 0 : result_->columnCount();
}

QVariant ResultModel::data(const QModelIndex& index, int role) const
{
    if (!result_ || !index.isValid() || isNewRow(index.row()))
        return {};
    const QVariant& v = result_->rows[size_t(index.row())].value(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return displayText(*result_, index.column(), v);
    case Qt::TextAlignmentRole: {
        const bool number = v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default: return {};
    }
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !result_)
        return {};
    if (orientation == Qt::Horizontal)
        return result_->fields.value(section);
    return isNewRow(section) ? QStringLiteral("*") : QString::number(section + 1);
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (result_ && index.isValid() && editing_ && result_->isEditableColumn(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ResultModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    ResultTable& r = *result_;
    const std::optional<QVariant> v = inputValue(r, index.column(), value.toString());
    if (!v) {
        MsgBox(QStringLiteral("「%1」は %2 に入力できない値です。").arg(value.toString(), r.fields[index.column()]),
               kNotice | ui::vbExclamation, QStringLiteral("入力エラー"));
        return false;
    }
    try {
        if (isNewRow(index.row())) {
            // Only a table of its own takes new rows (the roster, the shift types): a small copy.
            ResultTable added = r;
            addRow(cn, added, index.column(), *v);
            // The new row goes in above the line, which stays empty for the next one.
            beginInsertRows({}, index.row(), index.row());
            r = std::move(added);
            endInsertRows();
            emit headerDataChanged(Qt::Vertical, index.row(), index.row() + 1);
            return true;
        }
        if (!updateValue(cn, r, index.row(), index.column(), *v)) {
            markChanged();
            if (refresh)
                QTimer::singleShot(0, this, refresh);
            return false;
        }
    } catch (const db::Error& e) {
        reportWriteFailure(e);
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

// ---- the window ------------------------------------------------------------------------------

frmQuery::frmQuery(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("データベース操作＆集計"));
    cmb集計種別 = new QComboBox(this);
    cmb集計種別->addItems(kindCaptions());
    cmb集計種別->setToolTip(QStringLiteral("集計種別を選択"));
    DTP_St = new QDateEdit(this);
    DTP_Ed = new QDateEdit(this);
    for (QDateEdit* d : {DTP_St, DTP_Ed}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        // A date typed digit by digit asks once, when it is complete.
        d->setKeyboardTracking(false);
    }
    cmb氏名 = new QComboBox(this);
    cmb氏名->setMinimumContentsLength(12);
    model = new ResultModel(this);
    model->refresh = [this] { runQuery(); };
    DataGrid1 = new QTableView(this);
    DataGrid1->setModel(model);
    DataGrid1->installEventFilter(this);
    DataGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lblレコード数 = new QLabel(this);
    lblレコード数->setMinimumWidth(60);
    lblレコード数->setFrameShape(QFrame::StyledPanel);
    lblレコード数->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    frameツールボタン = new QGroupBox(QStringLiteral("ツールボタン"), this);
    chkEdit = toolButton(frameツールボタン, 0, QStringLiteral("編集"), QStringLiteral("編集：編集可・不可の切り替え"), true);
    chkSelFilter = toolButton(frameツールボタン, 1, QStringLiteral("選択フィルタ"), QStringLiteral("選択フィルタ"), true);
    cmdDbDel = toolButton(frameツールボタン, 2, QStringLiteral("削除"),
                    QStringLiteral("レコード削除：表示中のレコードを全て削除します。"), false);
    cmdDbTool = toolButton(frameツールボタン, 3, QStringLiteral("コピー"),
                     QStringLiteral("コピー：表示中のデータをクリップボードにコピーします。表計算ソフトなどに貼り付けて御利用下さい。"), false);
    UpDown1 = new QSpinBox(frameツールボタン);
    UpDown1->setRange(20, 600);
    UpDown1->setSingleStep(10);
    UpDown1->setToolTip(QStringLiteral("列幅変更"));
    lblDescription = new QLabel(QStringLiteral("削除は「Del」キー　（ツールボタンの鉛筆アイコンで編集可・不可が切り替わる）"), this);
    buildLayout();

    // Clearing the box from the kind selection runs its handler too.
    connect(chkEdit, &QToolButton::toggled, this, [this] { RunHandler([this] { chkEdit_Click(); }, this); });
    OnClick(chkSelFilter, this, [this] { chkSelFilter_Click(); });
    OnClick(cmdDbDel, this, [this] { cmdDbDel_Click(); });
    OnClick(cmdDbTool, this, [this] { cmdDbTool_Click(); });
    connect(UpDown1, &QSpinBox::valueChanged, this, [this] { RunHandler([this] { UpDown1_Change(); }, this); });
    Form_Load();
    // Connected after loading, so that setting the defaults runs no query.
    const auto select = [this] { RunHandler([this] { onKindChosen(); }, this); };
    connect(cmb集計種別, &QComboBox::activated, this, select);
    connect(cmb氏名, &QComboBox::activated, this, select);
    connect(DTP_St, &QDateEdit::dateChanged, this, select);
    connect(DTP_Ed, &QDateEdit::dateChanged, this, select);
}

void frmQuery::buildLayout()
{
    auto* conditions = new QHBoxLayout;
    const auto caption = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    conditions->addWidget(caption("集計種別"));
    conditions->addWidget(cmb集計種別);
    conditions->addSpacing(12);
    conditions->addWidget(caption("期間"));
    conditions->addWidget(DTP_St);
    conditions->addWidget(caption("～"));
    conditions->addWidget(DTP_Ed);
    conditions->addSpacing(12);
    conditions->addWidget(caption("氏名"));
    conditions->addWidget(cmb氏名);
    conditions->addStretch();
    conditions->addWidget(caption("件数"));
    conditions->addWidget(lblレコード数);

    auto* tools = new QHBoxLayout(frameツールボタン);
    for (QWidget* w : {chkEdit, chkSelFilter, cmdDbDel, cmdDbTool})
        tools->addWidget(w);
    tools->addSpacing(16);
    tools->addWidget(new QLabel(QStringLiteral("列幅"), frameツールボタン));
    tools->addWidget(UpDown1);
    tools->addStretch();

    auto* main = new QVBoxLayout(this);
    main->addLayout(conditions);
    main->addWidget(frameツールボタン);
    main->addWidget(DataGrid1, 1);
    main->addWidget(lblDescription);
}

void frmQuery::Form_Load()
{
    FormTopMost(this);
    if (stDbPath.isEmpty())
        stDbPath = AppPath;
    const 期間 p = currentPeriod();
    DTP_St->setDate(p.開始日);
    DTP_Ed->setDate(p.終了日);
    resize(900, 7000 / TwipsPerPixelY(this));
    centreOnScreen(this);
    cmb集計種別->setCurrentIndex(-1);
    chkEdit->setEnabled(false);
    chkSelFilter->setEnabled(false);
    cmdDbDel->setEnabled(false);
    lblDescription->setEnabled(false);
    if (DbConnect())
        return;
    std::vector<PersonItem> people;
    try {
        people = personList(cn);
    } catch (const db::Error& e) {
        MsgBox(QStringLiteral("テーブル／クエリのオープンに失敗しました。") + kCrLf + kCrLf + e.text(), kNotice,
               QStringLiteral("テーブル／クエリオープンエラー"));
        return;
    }
    cmb氏名->addItem(QStringLiteral("*"));
    for (const PersonItem& person : people)
        cmb氏名->addItem(person.label, person.Id);
    cmb氏名->setCurrentIndex(0);
    cmb集計種別->setCurrentIndex(0);
    onKindChosen();
}

std::optional<集計種別> frmQuery::chosenKind() const
{
    const int i = cmb集計種別->currentIndex();
    return i < 0 ? std::nullopt : std::optional<集計種別>(集計種別(i));
}

QueryFilter frmQuery::filter() const
{
    QueryFilter c;
    c.開始日 = DTP_St->date();
    c.終了日 = DTP_Ed->date();
    const QVariant id = cmb氏名->currentData();
    if (id.isValid())
        c.person = id.toLongLong();
    c.selectionColumn = filterColumn_;
    c.selectionValue = filterValue_;
    return c;
}

void frmQuery::onKindChosen()
{
    for (QWidget* w : {static_cast<QWidget*>(chkEdit), static_cast<QWidget*>(chkSelFilter),
                       static_cast<QWidget*>(cmdDbDel), static_cast<QWidget*>(lblDescription)})
        w->setEnabled(false);
    const std::optional<集計種別> kind = chosenKind();
    if (!kind)
        return;
    if (isEditableKind(*kind))
        for (QWidget* w : {static_cast<QWidget*>(chkEdit), static_cast<QWidget*>(chkSelFilter),
                           static_cast<QWidget*>(cmdDbDel), static_cast<QWidget*>(lblDescription)})
            w->setEnabled(true);
    chkEdit->setChecked(false);
    chkSelFilter->setChecked(false);
    filterColumn_.clear();
    filterValue_.clear();
    UpDown1->setValue(DataGrid1->horizontalHeader()->defaultSectionSize());
    runQuery();
}

void frmQuery::runQuery()
{
    const std::optional<集計種別> kind = chosenKind();
    if (!kind || DbConnect())
        return;
    try {
        model->設定(集計(cn, *kind, filter()));
    } catch (const db::Error& e) {
        model->設定(std::nullopt);
        showCount();
        MsgBox(QStringLiteral("テーブル／クエリのオープンに失敗しました。") + kCrLf + kCrLf + e.text(), kNotice,
               QStringLiteral("テーブル／クエリオープンエラー"));
        return;
    }
    UpDown1_Change();
    showCount();
    if (model->result()->件数() == 0)
        MsgBox(QStringLiteral("データがありません。") + kCrLf + QStringLiteral("シフト表を作成済みであれば、保存して下さい！") + kCrLf + kCrLf
                   + QStringLiteral("[保存/読込]→[勤務データ保存]"),
               ui::vbOKOnly, QStringLiteral("データ無し、または、未保存"));
}

void frmQuery::showCount()
{
    const ResultTable* r = model->result();
    lblレコード数->setText(r ? QString::number(r->件数()) : QString());
}

void frmQuery::chkEdit_Click()
{
    if (chkEdit->isChecked())
        MsgBox(QStringLiteral("編集可能になりました。十分、注意して下さい。"), kNotice);
    else if (chkEdit->isEnabled())
        MsgBox(QStringLiteral("編集不可にしました。編集する時は、再度、[編集]ボタンをクリックして下さい。"), kNotice);
    model->setEditable(chkEdit->isChecked());
    UpDown1_Change();
}

void frmQuery::chkSelFilter_Click()
{
    const ResultTable* r = model->result();
    if (!r) {
        chkSelFilter->setChecked(false);
        return;
    }
    const QModelIndex current = DataGrid1->currentIndex();
    if (chkSelFilter->isChecked()) {
        if (!current.isValid() || current.row() >= r->件数()) {
            chkSelFilter->setChecked(false);
            MsgBox(QStringLiteral("セルを選択して下さい。"), kNotice);
            return;
        }
        filterColumn_ = r->fields[current.column()];
        filterValue_ = r->rows[size_t(current.row())].value(current.column());
    } else {
        filterColumn_.clear();
        filterValue_.clear();
    }
    runQuery();
}

void frmQuery::cmdDbDel_Click()
{
    ResultTable* r = model->result();
    if (!r || r->件数() == 0
        || MsgBox(QStringLiteral("表示中のレコードを削除します。よろしいですか？"), ui::vbOKCancel | ui::vbSystemModal,
                  QStringLiteral("表示中のレコード削除"))
               != ui::vbOK)
        return;
    std::vector<int> rows(size_t(r->件数()));
    for (int i = 0; i < r->件数(); ++i)
        rows[size_t(i)] = i;
    try {
        if (!deleteRows(cn, *r, rows))
            markChanged();
    } catch (const db::Error& e) {
        reportWriteFailure(e);
    }
    runQuery();
}

void frmQuery::deleteSelectedRows()
{
    ResultTable* r = model->result();
    if (!r)
        return;
    if (!model->isEditing()) {
        if (chkEdit->isEnabled())
            MsgBox(QStringLiteral("ツールバーの[編集]ボタン（鉛筆アイコン）を押さないと削除は出来ません！"), kNotice,
                   QStringLiteral("編集切り替え"));
        return;
    }
    std::set<int> selected;
    for (const QModelIndex& i : DataGrid1->selectionModel()->selectedIndexes())
        selected.insert(i.row());
    if (selected.empty() && DataGrid1->currentIndex().isValid())
        selected.insert(DataGrid1->currentIndex().row());
    std::vector<int> rows;
    for (const int row : selected)
        if (row < r->件数()
            && MsgBox(QStringLiteral("選択行を削除します。よろしいですか？"),
                      ui::vbOKCancel | ui::vbDefaultButton2 | ui::vbSystemModal, QStringLiteral("レコード削除"))
                   == ui::vbOK)
            rows.push_back(row);
    if (rows.empty())
        return;
    try {
        if (!deleteRows(cn, *r, rows)) {
            markChanged();
            runQuery();
            return;
        }
    } catch (const db::Error& e) {
        reportWriteFailure(e);
        return;
    }
    model->redraw();
    UpDown1_Change();
    showCount();
}

void frmQuery::cmdDbTool_Click()
{
    DbGridToClip(model->result());
}

void frmQuery::UpDown1_Change()
{
    for (int i = 0; i < model->columnCount(); ++i)
        DataGrid1->setColumnWidth(i, UpDown1->value());
}

bool frmQuery::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DataGrid1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RunHandler([this] { deleteSelectedRows(); }, this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void showQuery()
{
    static QPointer<frmQuery> shown;
    if (!shown)
        shown = new frmQuery;
    shown->show();
    shown->raise();
    shown->activateWindow();
}
