#pragma once
// The query window: the roster, the shift types, the saved shifts and five summaries of 集計.db
// for a period and a member, in a grid that can be edited (the first three kinds), filtered by
// the value of the selected cell, copied to the clipboard and its columns widened together.
// Modeless and on top; it deletes itself when it closes.
#include "storage/query.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QSpinBox;
class QTableView;
class QToolButton;

// The grid's rows: the result of the last query (none while no query is open). While editing
// is allowed the editable columns take input, and a table of its own gets a last line for a new
// row. Each edit is written at once.
class 結果モデル : public QAbstractTableModel {
public:
    explicit 結果モデル(QObject* parent = nullptr);

    void 設定(std::optional<結果表> result);
    const 結果表* 結果() const { return result_ ? &*result_ : nullptr; }
    結果表* 結果() { return result_ ? &*result_ : nullptr; }
    void 編集許可(bool on);
    bool 編集中() const { return editing_; }
    // Rows removed from the result outside the model (a delete).
    void 再描画();
    // Asked for after an edit that found its row changed meanwhile.
    std::function<void()> 再表示;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    bool 新規行(int row) const;

    std::optional<結果表> result_;
    bool editing_ = false;
};

class frmQuery : public QWidget {
public:
    explicit frmQuery(QWidget* parent = nullptr);

    // The handlers of the controls of those names.
    void cmb集計種別_Click();
    void chkEdit_Click();
    void chkSelFilter_Click();
    void cmdDbDel_Click();
    void cmdDbTool_Click();
    void UpDown1_Change();
    // The Delete key in the grid: the selected rows, each after its question.
    void 選択行削除();
    // Runs the selected kind's query again with the window's conditions.
    void 問合せ();

    QComboBox* cmb集計種別;
    QDateEdit* DTP_St;
    QDateEdit* DTP_Ed;
    QComboBox* cmb氏名;
    QTableView* DataGrid1;
    結果モデル* model;
    QLabel* lblレコード数;
    QToolButton* chkEdit;
    QToolButton* chkSelFilter;
    QToolButton* cmdDbDel;
    QToolButton* cmdDbTool;
    QSpinBox* UpDown1;
    QLabel* lblDescription;
    QGroupBox* frameツールボタン;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void レイアウト();
    抽出条件 条件() const;
    std::optional<集計種別> 種別() const;
    void 件数表示();

    // The selection filter: the column's heading and the value ("" no filter).
    QString filterColumn_;
    QVariant filterValue_;
};

// Shows the query window (the one already open is brought to the front).
void 集計画面表示();
