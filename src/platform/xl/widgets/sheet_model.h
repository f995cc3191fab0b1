#pragma once
// A worksheet as a Qt table model: what the grid shows of each cell, the header texts, and the
// user's edits, which go through the worksheet's user entry point.
#include "platform/xl/xl.h"

#include <QAbstractTableModel>
#include <QFont>
#include <functional>

namespace xl::widgets {

// Pixel sizes of the sheet's units at a zoom (96 dpi; a column character is a digit of the
// default font, at least 7 pixels).
int digitPixels();
int columnPixels(double characters, int zoom);
int rowPixels(double points, int zoom);
// The font a cell style is drawn with at a zoom.
QFont cellFont(const CellStyle& style, int zoom);

class SheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Extra roles beside the standard ones.
    enum Role { BoldRole = Qt::UserRole + 1 };

    explicit SheetModel(Worksheet& sheet, QObject* parent = nullptr);

    Worksheet& sheet() const { return *sheet_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A commit of the user: the text as typed. Refused edits show a message and change nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The text an edit of the cell starts from: its formula, else its value as typed.
    QString editText(int row, int column) const;
    // Writes what the user typed or pasted into target (one value or a Block); false after a
    // refusal, which has been shown to the user.
    bool userEdit(const Range& target, const QVariant& typed);
    // Undoes (or redoes) the user's last edit of the workbook; false when there is none or it
    // was refused (shown to the user).
    bool undo(bool redo);

    // Cells of area (1-based, x = column) changed; grows the table to hold them.
    void cellsChanged(const QRect& area);
    // Layout or formats changed as a whole (zoom, protection): repaint everything.
    void refresh();
    // Makes the table at least rows x columns (1-based counts), in steps.
    void ensureExtent(int rows, int columns);

private:
    // Runs a step of the model; a refusal is shown to the user and gives false.
    bool guarded(const std::function<void()>& step);

    Worksheet* sheet_;
    int rows_ = 0;
    int columns_ = 0;
};

// What the user hears when typing into a locked cell of a protected sheet.
inline const QString kProtectedCellMessage = QStringLiteral("変更しようとしているセルは保護されているため、変更できません。");

// Shows a refusal or failure of the spreadsheet to the user (through the message box layer).
void showSheetError(const QString& text);

}  // namespace xl::widgets
