#pragma once
// The condition file: every input range of the workbook (the whole condition set and the shift
// grid) as a versioned CSV text, and the two workbook macros 条件保存 / 条件読込 that write and read
// it at the path in 名前リスト!C1.
//
//   QVCOND,1                                  format and version
//   SAVED,2026-12-08T10:15:00                 informational
//   RANGE,<sheet>,<range name>,<rows>,<cols>  then exactly <rows> lines of <cols> fields
//   ...
//   END
//
// Fields follow RFC 4180 (quoted when they hold , " CR or LF; " doubled), lines end in CR LF.
// A field is typed: empty = empty cell, a C-locale number, TRUE/FALSE, yyyy-mm-dd, a time of day
// (H:MM or H:MM:SS, also in 12-hour form with AM/PM or 午前/午後 before or after it) or
// yyyy-mm-ddThh:mm:ss; anything else is text. A text that would read as one of those types starts
// with an apostrophe ('001, 'TRUE); a text that really starts with one has it doubled.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "platform/xl/range.h"

namespace xl {
class Workbook;
}

namespace condition_file {

inline constexpr int kFormatVersion = 1;
// Far above any real condition set (a full one is well under 200 KB); refuses runaway files.
inline constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
inline constexpr qint64 kMaxBlockCells = 100000;

// A range of the condition set, in file order. keepWhenAbsent: a file without this block leaves
// the book's value alone instead of clearing it (the period: an old or hand-made file without it
// loads onto the month the book already has).
struct ListedRange {
    QString sheet;
    QString name;
    bool keepWhenAbsent = false;
};

// The input ranges of the workbook, in file order.
const std::vector<ListedRange>& listedRanges();

// One block of a condition file.
struct FileBlock {
    QString sheet;
    QString name;
    xl::Block values;   // rows() x columns(); 0 x 0 = the range is empty
    int line = 0;       // where its RANGE line starts (for messages)
    std::vector<int> rowLines;   // where each row of values starts, row i at i - 1
};

struct ConditionFile {
    QDateTime saved;
    std::vector<FileBlock> blocks;
};

// Outcome of a load or save: ok, or the reason nothing was changed or written. Warnings are
// things skipped in a load that otherwise succeeded.
struct Status {
    bool ok = true;
    QString error;
    QStringList warnings;
    static Status failure(const QString& why) { return Status{false, why, {}}; }
};

// Field text <-> typed value (without the CSV quoting).
QString encodeValue(const QVariant& value);
QVariant decodeValue(const QString& field);

// The whole file as bytes (UTF-8 with a BOM, CR LF) and back. parse() accepts UTF-8 with or
// without a BOM and, when the bytes are not valid UTF-8, CP932; it checks the structure only.
QByteArray serialize(const ConditionFile& file);
Status parse(const QByteArray& bytes, ConditionFile& out);

// Saves the listed ranges of book to path (written beside it and renamed over it).
Status saveConditions(xl::Workbook& book, const QString& path,
                      const std::vector<ListedRange>& ranges = listedRanges());
// Loads path into book: the whole file is read and checked first; only a sound file changes the
// book (every block written, listed ranges the file lacks cleared, then recalculated).
Status loadConditions(xl::Workbook& book, const QString& path,
                      const std::vector<ListedRange>& ranges = listedRanges());
// The reading and every check of loadConditions, without changing the book: ok when the file
// would load.
Status checkConditions(xl::Workbook& book, const QString& path,
                       const std::vector<ListedRange>& ranges = listedRanges());

// The macros: the path comes from 名前リスト!C1 (relative paths count from the book's folder).
Status 条件保存(xl::Workbook& book);
Status 条件読込(xl::Workbook& book);
// Registers both as module MyMainから起動 (reachable plain and qualified). Run's result is
// the empty text on success, else the error text.
void registerMacros(xl::Workbook& book);

}  // namespace condition_file
