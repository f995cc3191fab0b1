#include "platform/os/save_file.h"
#include "platform/xl/error.h"
#include "platform/xl/xlsx.h"
#include "xlsx_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace xl;
using xlsxtest::addStyle;
using xlsxtest::expectSameBook;
using xlsxtest::sampleBook;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

BookData oneSheet(const QString& name = QStringLiteral("Sheet1"))
{
    BookData book;
    book.sheets.push_back(SheetData{});
    book.sheets[0].name = name;
    return book;
}

}  // namespace

TEST(XlsxRoundTrip, EverythingWrittenReadsBackTheSame)
{
    QTemporaryDir dir;
    const BookData book = sampleBook();
    for (const bool macro : {false, true}) {
        const QString path = dir.filePath(macro ? QStringLiteral("ブック 1.xlsm") : QStringLiteral("ブック 1.xlsx"));
        writeWorkbookFile(book, path, macro);
        const BookData back = readWorkbookFile(path);
        expectSameBook(book, back);
        // Saving what was read changes nothing: no drift over repeated saves.
        writeWorkbookFile(back, path, macro);
        expectSameBook(book, readWorkbookFile(path));
    }
}

TEST(XlsxRoundTrip, ADiskFillingPartWayNamesTheFullDiskAndKeepsTheSavedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shift.xlsx"));
    writeWorkbookFile(sampleBook(), path, false);
    const QByteArray saved = fileBytes(path);
    os::setFileWriteHook([](QFileDevice& file, const char* data, qint64 size) {
        file.write(data, size / 2);
        errno = ENOSPC;
        return qint64(-1);
    });
    const auto restore = qScopeGuard([] { os::setFileWriteHook(nullptr); });
    BookData changed = oneSheet();
    changed.sheets[0].cells[{1, 1}] = Cell{QStringLiteral("新しい"), 0, {}};
    try {
        writeWorkbookFile(changed, path, false);
        ADD_FAILURE() << "the save went through";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description.contains(os::diskFullText())) << e.description.toStdString();
        EXPECT_TRUE(e.description.contains(QDir::toNativeSeparators(path)));
    }
    EXPECT_EQ(fileBytes(path), saved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("shift.xlsx")});
}

TEST(XlsxRoundTrip, EscapedTextsStayAsTheyWereOverRepeatedSaves)
{
    // A control character or a literal "_xHHHH_" in every kind of text the writer escapes.
    const QString odd = QStringLiteral("_x0041_\x01");
    BookData book = oneSheet(QStringLiteral("表_x0041_"));
    CellStyle s;
    s.fontName = QStringLiteral("Font") + odd;
    s.numberFormat = QStringLiteral("0\"") + odd + QLatin1Char('"');
    SheetData& sheet = book.sheets[0];
    sheet.cells[{1, 1}] = Cell{QStringLiteral("text") + odd, addStyle(book, s), {}};
    sheet.cells[{1, 2}] = Cell{QStringLiteral("f") + odd, 0, QStringLiteral("=\"f") + odd + QStringLiteral("\"&\"\"")};
    book.names = {{QStringLiteral("Name_x0041_"), -1, QStringLiteral("表_x0041_!$A$1")},
                  {QStringLiteral("Local_x0041_"), 0, QStringLiteral("表_x0041_!$B$1")}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("escaped.xlsx"));
    BookData back = book;
    for (int save = 1; save <= 3; ++save) {
        writeWorkbookFile(back, path, false);
        back = readWorkbookFile(path);
    }
    expectSameBook(book, back);
}

TEST(XlsxRoundTrip, DatesReadBackAsDatesWhateverTheCellFormat)
{
    // A date put into a cell formatted General is saved with a date format, as a spreadsheet
    // does when a date is entered, so it does not come back as a bare number.
    BookData book = oneSheet();
    CellStyle elapsed;
    elapsed.numberFormat = QStringLiteral("[h]:mm");
    const int sElapsed = addStyle(book, elapsed);
    CellStyle quotedDay;
    quotedDay.numberFormat = QStringLiteral("0\"日\"");
    const int sQuoted = addStyle(book, quotedDay);
    auto& cells = book.sheets[0].cells;
    cells[{1, 1}] = Cell{QDate(2025, 1, 31), 0, {}};
    cells[{1, 2}] = Cell{QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59, 500)), 0, {}};
    cells[{1, 3}] = Cell{QDateTime(QDate(1899, 12, 30), QTime(12, 15)), sElapsed, {}};
    cells[{1, 4}] = Cell{31.0, sQuoted, {}};  // a number with text around it stays a number
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dates.xlsx"));
    writeWorkbookFile(book, path, false);
    const BookData back = readWorkbookFile(path);
    const auto& b = back.sheets[0].cells;
    EXPECT_EQ(b.at({1, 1}).value, QVariant(QDate(2025, 1, 31)));
    EXPECT_EQ(back.styles[size_t(b.at({1, 1}).style)].numberFormat, QStringLiteral("yyyy/m/d"));
    EXPECT_EQ(b.at({1, 2}).value, QVariant(QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59, 500))));
    EXPECT_EQ(b.at({1, 3}).value, QVariant((12 * 60 + 15) / 1440.0));   // a time: see below
    EXPECT_EQ(b.at({1, 4}).value, QVariant(31.0));
}

// A cell that shows a time of day keeps the fraction of a day the sheets compute with: 0:00 and
// 24:00 are no dates of 1899. A format with a date part still reads a date.
TEST(XlsxRoundTrip, TimesOfDayReadBackAsDayFractions)
{
    BookData book = oneSheet();
    CellStyle clock;
    clock.numberFormat = QStringLiteral("h:mm");
    const int sClock = addStyle(book, clock);
    CellStyle stamp;
    stamp.numberFormat = QStringLiteral("yyyy/m/d h:mm");
    const int sStamp = addStyle(book, stamp);
    auto& cells = book.sheets[0].cells;
    const double times[] = {0.0, 1.0, 0.5, 16.0 / 24};
    for (int i = 0; i < 4; ++i)
        cells[{1, i + 1}] = Cell{times[i], sClock, {}};
    cells[{2, 1}] = Cell{0.0, sStamp, {}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("times.xlsx"));
    BookData back = book;
    for (int save = 1; save <= 2; ++save) {
        writeWorkbookFile(back, path, false);
        back = readWorkbookFile(path);
    }
    const auto& b = back.sheets[0].cells;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b.at({1, i + 1}).value, QVariant(times[i])) << i;
    EXPECT_EQ(b.at({2, 1}).value, QVariant(QDate(1899, 12, 30)));
}

// Another spreadsheet program keeps a truth value under our TRUE/FALSE format as the formula
// TRUE() or FALSE() with 1 or 0 cached: read back, it is the truth value again, no formula.
TEST(XlsxRoundTrip, TruthFormulasWithACachedOneOrZeroAreTruthValues)
{
    BookData book = oneSheet();
    auto& cells = book.sheets[0].cells;
    cells[{1, 1}] = Cell{1.0, 0, QStringLiteral("=TRUE()")};
    cells[{1, 2}] = Cell{0.0, 0, QStringLiteral("=false()")};
    cells[{1, 3}] = Cell{1.0, 0, QStringLiteral("==True()")};      // stored with its '='
    cells[{1, 4}] = Cell{true, 0, QStringLiteral("=TRUE()")};
    cells[{1, 5}] = Cell{2.0, 0, QStringLiteral("=TRUE()")};       // no truth value cached
    cells[{1, 6}] = Cell{1.0, 0, QStringLiteral("=TRUE()+0")};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("truth.xlsx"));
    writeWorkbookFile(book, path, false);
    const BookData back = readWorkbookFile(path);
    const auto& b = back.sheets[0].cells;
    const QVariant truth[] = {true, false, true, true};
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(b.at({1, c}).value, truth[c - 1]) << c;
        EXPECT_TRUE(b.at({1, c}).formula.isEmpty()) << c;
    }
    EXPECT_EQ(b.at({1, 5}).formula, QStringLiteral("=TRUE()"));
    EXPECT_EQ(b.at({1, 5}).value, QVariant(2.0));
    EXPECT_EQ(b.at({1, 6}).formula, QStringLiteral("=TRUE()+0"));
}

TEST(XlsxRoundTrip, UnwritableBooksAreRefusedAndTheOldFileStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.xlsx"));
    writeWorkbookFile(sampleBook(), path, false);
    const QByteArray before = fileBytes(path);

    struct Case {
        const char* what;
        BookData book;
    };
    std::vector<Case> cases;
    cases.push_back({"no sheets", BookData{}});
    for (const char* bad : {"", "a/b", "a[1]", "x:y", "'quoted'", "1234567890123456789012345678901x"})
        cases.push_back({bad, oneSheet(QString::fromUtf8(bad))});
    BookData twice = oneSheet(QStringLiteral("Same"));
    twice.sheets.push_back(twice.sheets[0]);
    twice.sheets[1].name = QStringLiteral("same");
    cases.push_back({"duplicate sheet", twice});
    BookData names = oneSheet();
    names.names = {{QStringLiteral("N"), -1, QStringLiteral("Sheet1!$A$1")}, {QStringLiteral("n"), -1, QStringLiteral("Sheet1!$A$2")}};
    cases.push_back({"duplicate name", names});
    BookData scope = oneSheet();
    scope.names = {{QStringLiteral("N"), 3, QStringLiteral("Sheet1!$A$1")}};
    cases.push_back({"name scope", scope});
    BookData style = oneSheet();
    style.sheets[0].cells[{1, 1}] = Cell{1.0, 7, {}};
    cases.push_back({"unknown style", style});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            writeWorkbookFile(c.book, path, false);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number, 1004);
            EXPECT_TRUE(e.description.contains(QStringLiteral("keep.xlsx"))) << e.text().toStdString();
        }
        EXPECT_EQ(fileBytes(path), before);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.xlsx")});
}

TEST(XlsxRoundTrip, SaveReplacesAtomicallyAndReportsUnwritableTargets)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xlsx"));
    writeWorkbookFile(oneSheet(QStringLiteral("First")), path, false);
    writeWorkbookFile(oneSheet(QStringLiteral("Second")), path, false);
    EXPECT_EQ(readWorkbookFile(path).sheets[0].name, QStringLiteral("Second"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("book.xlsx")});

    // A folder where the file should be, and a folder that does not exist.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xlsx")));
    for (const QString& bad : {dir.filePath(QStringLiteral("folder.xlsx")), dir.filePath(QStringLiteral("missing/book.xlsx"))}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_THROW(writeWorkbookFile(oneSheet(), bad, false), Error);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder.xlsx"))).isDir());
}

TEST(XlsxRoundTrip, LargeSparseCoordinatesAndManyStrings)
{
    BookData book = oneSheet();
    auto& cells = book.sheets[0].cells;
    cells[{kMaxRows, kMaxColumns}] = Cell{QStringLiteral("corner"), 0, {}};
    for (int r = 1; r <= 200; ++r)
        for (int c = 1; c <= 30; ++c)
            cells[{r, c}] = Cell{(r + c) % 3 ? QVariant(QStringLiteral("s%1").arg((r * c) % 97)) : QVariant(r * 0.5 + c), 0, {}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xlsx"));
    writeWorkbookFile(book, path, false);
    expectSameBook(book, readWorkbookFile(path));
}
