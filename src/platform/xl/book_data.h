#pragma once
// The plain content of a workbook: what the object model works on and what the file stores.
// No behaviour here; Application/Workbook/Worksheet/Range are built over it, and the file reader
// and writer translate it to and from the workbook file.
#include <QColor>
#include <QHash>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <vector>

namespace xl {

// Limits of a sheet, as in the spreadsheet file format.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// One edge of a cell's border. lineStyle follows the spreadsheet's numbers:
// xlLineStyleNone = -4142, xlContinuous = 1, xlDash = -4115, xlDot = -4118, xlDouble = -4119;
// weight: xlHairline = 1, xlThin = 2, xlMedium = -4138, xlThick = 4.
struct BorderEdge {
    int lineStyle = -4142;
    int weight = 2;
    QColor color = Qt::black;
    bool operator==(const BorderEdge&) const = default;
};

// The font the workbook's default style names in the file: a Japanese gothic that spreadsheet
// programs find (or map to a Japanese face), so the Japanese texts keep Japanese glyphs.
inline const QString kDefaultFontName = QStringLiteral("游ゴシック");

// Formatting of one cell. An invalid QColor means "none / automatic".
struct CellStyle {
    QColor fill;                    // interior colour
    QColor fontColor;               // automatic (black) when invalid
    bool bold = false;
    double fontSize = 11.0;
    QString fontName;               // empty: the workbook default
    // xlGeneral = 1, xlLeft = -4131, xlCenter = -4108, xlRight = -4152
    int horizontalAlignment = 1;
    // xlTop = -4160, xlCenter = -4108, xlBottom = -4107
    int verticalAlignment = -4107;
    bool wrapText = false;
    QString numberFormat = QStringLiteral("General");
    bool locked = true;             // only matters while the sheet is protected
    // Edges: left, top, bottom, right (Borders(7), (8), (9), (10)).
    BorderEdge left, top, bottom, right;
    bool operator==(const CellStyle&) const = default;
};

// A value is an invalid QVariant (empty), double, QString, bool, or QDateTime/QDate (dates).
// formula keeps a formula text found in a file; its cached value is in value.
struct Cell {
    QVariant value;
    int style = 0;                  // index into BookData::styles (0 = default style)
    QString formula;
};

struct SheetProtection {
    bool protectedSheet = false;
    bool drawingObjects = true;
    bool contents = true;
    bool scenarios = true;
    bool allowFormattingColumns = false;
    bool allowFormattingRows = false;
    bool userInterfaceOnly = false;
    // EnableSelection: 0 = any cell (xlNoRestrictions), 1 = unlocked cells, -4142 = none
    int enableSelection = 0;
    bool operator==(const SheetProtection&) const = default;
};

// Printing. zoom 0 fits the print to fitToPagesWide by fitToPagesTall pages (0 = as many as
// needed). The print area and the title rows are the sheet's names Print_Area and Print_Titles.
struct PageSetup {
    int orientation = 1;            // xlPortrait = 1, xlLandscape = 2
    int zoom = 100;                 // percent
    int fitToPagesWide = 1;
    int fitToPagesTall = 1;
    int paperSize = 0;              // the format's paper number (9 = A4); 0 = the printer's own
    bool operator==(const PageSetup&) const = default;
};

struct SheetData {
    QString name;
    // Cells keyed by (row, column), both 1-based. Sparse.
    std::map<std::pair<int, int>, Cell> cells;
    std::map<int, double> columnWidths;     // in characters of the default font (as in the file)
    std::map<int, double> rowHeights;       // in points
    std::vector<int> hiddenRows;            // sorted
    std::vector<int> hiddenColumns;         // sorted
    int frozenRows = 0;                     // rows above the split
    int frozenColumns = 0;                  // columns left of the split
    SheetProtection protection;
    double defaultColumnWidth = 8.43;
    double defaultRowHeight = 15.0;
    int zoom = 100;
    int visible = -1;                       // xlSheetVisible -1, xlSheetHidden 0, xlSheetVeryHidden 2
    PageSetup pageSetup;
};

// A defined name. sheet = -1 for workbook scope, else the index of the sheet it belongs to.
// refersTo is a single-area reference as text, e.g. "基本設定!$B$3:$K$12" or "'My Sheet'!$A$1".
struct DefinedName {
    QString name;
    int sheet = -1;
    QString refersTo;
};

struct BookData {
    std::vector<SheetData> sheets;
    std::vector<CellStyle> styles{CellStyle{}};  // styles[0] is the default
    std::vector<DefinedName> names;
    int activeSheet = 0;
};

}  // namespace xl
