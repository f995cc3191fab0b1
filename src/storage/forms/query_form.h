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
class ResultModel : public QAbstractTableModel {
public:
    explicit ResultModel(QObject* parent = nullptr);

    void 設定(std::optional<ResultTable> result);
    const ResultTable* result() const { return result_ ? &*result_ : nullptr; }
    ResultTable* result() { return result_ ? &*result_ : nullptr; }
    void setEditable(bool on);
    bool isEditing() const { return editing_; }
    // Rows removed from the result outside the model (a delete).
    void redraw();
    // Asked for after an edit that found its row changed meanwhile.
    std::function<void()> refresh;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    bool isNewRow(int row) const;

    std::optional<ResultTable> result_;
    bool editing_ = false;
};

class frmQuery : public QWidget {
public:
    explicit frmQuery(QWidget* parent = nullptr);

    // The handlers of the controls of those names.
    void onKindChosen();
    void chkEdit_Click();
    void chkSelFilter_Click();
    void cmdDbDel_Click();
    void cmdDbTool_Click();
    void UpDown1_Change();
    // The Delete key in the grid: the selected rows, each after its question.
    void deleteSelectedRows();
    // Runs the selected kind's query again with the window's conditions.
    void runQuery();

    QComboBox* cmb集計種別;
    QDateEdit* DTP_St;
    QDateEdit* DTP_Ed;
    QComboBox* cmb氏名;
    QTableView* DataGrid1;
    ResultModel* model;
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
    void buildLayout();
    QueryFilter filter() const;
    std::optional<集計種別> chosenKind() const;
    void showCount();

    // The selection filter: the column's heading and the value ("" no filter).
    QString filterColumn_;
    QVariant filterValue_;
};

// Shows the query window (the one already open is brought to the front).
void showQuery();
