// The condition file on a small book of its own: typed values, quoting, the round trip, damaged
// files that must change nothing, CP932 input and the two macros.
#include "../../support/env.h"
#include "../../support/manual_clock.h"
#include "../../support/reset_test.h"
#include "condition_file_fixture.h"
#include "platform/text/cp932.h"
#include "workbook/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <utility>
#include <vector>

namespace {

// A book with a few ranges of each shape: single cells, a row, a grid, a text-formatted column.
struct SmallBook : ResetTest<resetWorkbookState> {
    QTemporaryDir dir;
    xl::Application app;
    xl::Workbook& book = app.workbooks().add();
    std::vector<condition_file::ListedRange> ranges;

    SmallBook()
    {
        layout(book);
        at("Main", "C3").setValue(2026.0);
        at("Main", "C4").setValue(12.0);
        at("Main", "C5").setValue(1.0);
        at("Main", "C6").setValue(1.0);
    }
    void layout(xl::Workbook& b)
    {
        b.worksheets(1).setName(u("Main"));
        for (const char* s : {"基本設定", "人員配置表", "名前リスト"})
            b.addSheet(u(s));
        ranges.clear();
        auto name = [&](const char* sheet, const char* n, const char* addr, bool keep = false) {
            xl::Worksheet& ws = b.worksheets(u(sheet));
            b.defineName(u(n), ws.range(u(addr)), &ws);
            ranges.push_back({u(sheet), u(n), keep});
        };
        name("Main", "年", "C3", true);
        name("Main", "月", "C4", true);
        name("Main", "日", "C5", true);
        name("Main", "基準開始日", "C6", true);
        name("基本設定", "Type_Table_Input", "B3:J12");
        name("基本設定", "Yasumi_Kigou", "C20");
        name("基本設定", "勤務日数調整", "C21");
        name("基本設定", "禁止パターン", "B30:F40");
        name("人員配置表", "Time_Table", "D5:AH54");
        b.worksheets(u("基本設定")).range(u("C3:C12")).setNumberFormat(u("@"));
        b.worksheets(u("基本設定")).range(u("I3:I12")).setNumberFormat(u("h:mm"));
    }
    xl::Range at(const char* sheet, const char* addr) { return book.worksheets(u(sheet)).range(u(addr)); }
    QString path(const char* file) const { return dir.filePath(u(file)); }
    std::vector<xl::Block> snapshot() { return valuesOf(book, ranges); }
    void writeFile(const QString& p, const QByteArray& bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A sound file with one block per listed entry given, in CR LF.
    static QByteArray file(const QString& body)
    {
        QString t = u("QVCOND,1\r\n") + body + u("END\r\n");
        return t.toUtf8();
    }
};

TEST(ConditionValues, FieldsAreTypedAndTextThatLooksTypedIsMarked)
{
    const QDate date(2025, 9, 15);
    const QDateTime stamp(date, QTime(8, 30, 0));
    struct Case {
        QVariant value;
        const char* field;
    } cases[] = {
        {QVariant(), ""},
        {3.0, "3"},
        {-12.0, "-12"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        {1e-7, "1e-07"},
        {123456789.0, "123456789"},
        {true, "TRUE"},
        {false, "FALSE"},
        {QVariant(date), "2025-09-15"},
        {QVariant(stamp), "2025-09-15T08:30:00"},
        {QVariant(stamp.addMSecs(123)), "2025-09-15T08:30:00.123"},
        {QVariant(stamp.addMSecs(500)), "2025-09-15T08:30:00.500"},
        {u("日勤"), "日勤"},
        {u("001"), "'001"},
        {u("1"), "'1"},
        {u("-"), "-"},
        {u("*"), "*"},
        {u("TRUE"), "'TRUE"},
        {u("false"), "'false"},
        {u("2025-09-15"), "'2025-09-15"},
        {u("12:00:00"), "'12:00:00"},
        {u("'quoted"), "''quoted"},
        {u("'"), "''"},
        {u("2025/09/15"), "2025/09/15"},
        {u("1,2"), "1,2"},
        {u("1e999"), "'1e999"},      // no double holds it: a text, marked so that it reads back as one
        {u("-1e-999"), "'-1e-999"},
        {u("2025-02-30"), "2025-02-30"},   // no such day: plain text
        {u(" 5"), "' 5"},
        {u("  "), "  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(condition_file::encodeValue(c.value), u(c.field));
        const QVariant back = condition_file::decodeValue(u(c.field));
        EXPECT_EQ(back.typeId(), c.value.typeId());
        EXPECT_EQ(back, c.value);
    }
    // Read only: times of day as people and spreadsheet programs write them, and case-insensitive
    // Booleans typed by hand.
    for (const auto& [field, time] : std::vector<std::pair<const char*, QTime>>{
             {"07:45:00", QTime(7, 45)}, {"7:30", QTime(7, 30)}, {"07:30", QTime(7, 30)}, {"7:30:15", QTime(7, 30, 15)},
             {"23:59", QTime(23, 59)}, {"0:00", QTime(0, 0)}, {"07:00:00 AM", QTime(7, 0)}, {"04:00:00 PM", QTime(16, 0)},
             {"12:00 AM", QTime(0, 0)}, {"12:30 pm", QTime(12, 30)}, {"午前7:30", QTime(7, 30)},
             {"午後 4:00", QTime(16, 0)}, {"7:30 午後", QTime(19, 30)}, {"午後12:00", QTime(12, 0)}}) {
        SCOPED_TRACE(field);
        EXPECT_EQ(condition_file::decodeValue(u(field)), QVariant(time));
    }
    // Not a time: a text, kept as it is.
    for (const char* field : {"24:00", "7:60", "13:00 PM", "午前7:30 AM", "7:3", "7:30:60", "AM"})
        EXPECT_EQ(condition_file::decodeValue(u(field)), QVariant(u(field))) << field;
    EXPECT_EQ(condition_file::decodeValue(u("True")), QVariant(true));
    EXPECT_EQ(condition_file::decodeValue(u(" 7 ")), QVariant(7.0));
    EXPECT_EQ(condition_file::decodeValue(u(" FALSE")), QVariant(false));
}

TEST(ConditionValues, QuotingSurvivesCommasQuotesAndNewlines)
{
    condition_file::ConditionFile f;
    xl::Block b(2, 3);
    b(1, 1) = u("a,b");
    b(1, 2) = u("say \"hi\"");
    b(1, 3) = u("line1\r\nline2\nline3");
    b(2, 1) = u("\"");
    b(2, 3) = 7.0;
    f.blocks.push_back({u("基本設定"), u("メモ,欄"), b, 0, {}});
    const QByteArray bytes = condition_file::serialize(f);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains("\"say \"\"hi\"\"\""));
    EXPECT_TRUE(bytes.contains("\r\nEND\r\n"));
    condition_file::ConditionFile back;
    const condition_file::Status st = condition_file::parse(bytes, back);
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    ASSERT_EQ(back.blocks.size(), 1u);
    EXPECT_EQ(back.blocks[0].name, u("メモ,欄"));
    EXPECT_EQ(back.blocks[0].values, b);
}

TEST_F(SmallBook, RoundTripKeepsEveryValueAndType)
{
    xl::Range types = at("基本設定", "B3:J12");
    types.cells(1, 1).setValue(u("日勤"));
    types.cells(1, 2).setValue(u("001"));     // text-formatted column: stays text "001"
    types.cells(1, 7).setValue(8.0);
    types.cells(1, 9).setValue(16777215.0);
    types.cells(2, 1).setValue(u("準夜, 遅番"));
    types.cells(2, 2).setValue(u("TRUE"));    // text-formatted: the text TRUE
    types.cells(2, 6).setValue(u("'TRUE"));   // typed entry: the text TRUE
    types.cells(2, 7).setValue(u("'2025/09/15"));   // plain text in the file, a date to a cell
    types.cells(2, 3).setValue(u("メモ\n二行目"));
    types.cells(2, 4).setValue(u("''引用"));  // the text '引用
    types.cells(3, 5).setValue(QVariant(QDate(2026, 9, 22)));
    at("基本設定", "C20").setValue(u("休"));
    at("基本設定", "C21").setValue(false);
    at("基本設定", "B30").setValue(u("夜"));
    at("基本設定", "C30").setValue(u("-"));
    at("人員配置表", "D5").setValue(u("日"));
    at("人員配置表", "AH54").setValue(u("'1"));  // last cell of the grid: the text 1
    ASSERT_EQ(at("基本設定", "C3").value(), QVariant(u("001")));
    ASSERT_EQ(at("基本設定", "C4").value(), QVariant(u("TRUE")));
    ASSERT_EQ(at("基本設定", "G4").value(), QVariant(u("TRUE")));
    ASSERT_EQ(at("基本設定", "H4").value(), QVariant(u("2025/09/15")));
    ASSERT_EQ(at("人員配置表", "AH54").value(), QVariant(u("1")));
    const auto before = snapshot();

    ManualClock clock;
    const condition_file::Status saved = condition_file::saveConditions(book, path("c.csv"), ranges);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    QFile written(path("c.csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("\r\nSAVED,2027-01-15T09:00:00\r\n"));

    // The same layout in a second book, with something in every range to be replaced or cleared.
    xl::Workbook& other = app.workbooks().add();
    layout(other);
    other.worksheets(u("人員配置表")).range(u("D5:AH54")).setValue(u("休"));
    other.worksheets(u("基本設定")).range(u("B40")).setValue(u("古い"));
    const condition_file::Status loaded = condition_file::loadConditions(other, path("c.csv"), ranges);
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.warnings.isEmpty());

    expectSameValues(ranges, before, valuesOf(other, ranges));
}

TEST_F(SmallBook, FileDecidesTheResultButAnOmittedPeriodIsKept)
{
    at("基本設定", "C20").setValue(u("休"));
    at("人員配置表", "E6").setValue(u("夜"));
    writeFile(path("f.csv"), file(u("SAVED,2026-12-08T10:15:00\r\nRANGE,基本設定,Yasumi_Kigou,1,1\r\n×\r\n"
                                     "RANGE,どこか,知らない範囲,1,2\r\na,b\r\n")));
    const condition_file::Status st = condition_file::loadConditions(book, path("f.csv"), ranges);
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    EXPECT_EQ(at("基本設定", "C20").value(), QVariant(u("×")));
    EXPECT_FALSE(at("人員配置表", "E6").value().isValid());   // listed, absent: cleared
    EXPECT_EQ(at("Main", "C3").value(), QVariant(2026.0));     // the period stays
    ASSERT_EQ(st.warnings.size(), 1);
    EXPECT_TRUE(st.warnings[0].contains(u("知らない範囲")));
}

// Every damaged file of the fixture folder (name.csv, and name.reason holding part of the reason
// the load must give) is refused and leaves the book as it was.
TEST_F(SmallBook, DamagedOrOversizedFilesChangeNothing)
{
    at("基本設定", "C20").setValue(u("休"));
    at("人員配置表", "D5").setValue(u("日"));
    const auto before = snapshot();
    const QDir cases(testenv::dataPath(u("workbook/condition_file/damaged")));
    const QStringList files = cases.entryList({u("*.csv")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 20);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile reason(cases.filePath(QFileInfo(name).completeBaseName() + u(".reason")));
        ASSERT_TRUE(reason.open(QIODevice::ReadOnly));
        const QString expected = QString::fromUtf8(reason.readAll()).trimmed();
        const condition_file::Status st = condition_file::loadConditions(book, cases.filePath(name), ranges);
        EXPECT_FALSE(st.ok);
        EXPECT_TRUE(st.error.contains(expected)) << st.error.toStdString();
        EXPECT_TRUE(st.error.contains(name)) << st.error.toStdString();   // says which file
        EXPECT_TRUE(snapshot() == before);
    }
    // Larger than any condition set: refused before it is read.
    QByteArray huge = file(u("RANGE,基本設定,Yasumi_Kigou,1,1\r\n×\r\n"));
    huge.append(QByteArray(int(condition_file::kMaxFileBytes), ' '));
    writeFile(path("huge.csv"), huge);
    const condition_file::Status st = condition_file::loadConditions(book, path("huge.csv"), ranges);
    EXPECT_FALSE(st.ok);
    EXPECT_TRUE(st.error.contains(u("大きすぎ"))) << st.error.toStdString();
    EXPECT_FALSE(condition_file::loadConditions(book, path("missing.csv"), ranges).ok);
    EXPECT_TRUE(snapshot() == before);
}

// Another spreadsheet program's times land in the time cells as times, like the program's own.
TEST_F(SmallBook, TimesInOtherFormsLoadAsTimes)
{
    writeFile(path("own.csv"), file(u("RANGE,基本設定,Type_Table_Input,2,8\r\n日勤,日,,,,,,07:00:00\r\n夜勤,夜,,,,,,16:30:00\r\n")));
    ASSERT_TRUE(condition_file::loadConditions(book, path("own.csv"), ranges).ok);
    const QVariant seven = at("基本設定", "I3").value(), half = at("基本設定", "I4").value();
    ASSERT_NE(seven.typeId(), QMetaType::QString);
    for (const char* times : {"07:00:00 AM,04:30:00 PM", "7:00,16:30", "午前7:00,午後4:30"}) {
        SCOPED_TRACE(times);
        const QStringList t = u(times).split(QLatin1Char(','));
        writeFile(path("other.csv"), file(u("RANGE,基本設定,Type_Table_Input,2,8\r\n日勤,日,,,,,,%1\r\n夜勤,夜,,,,,,%2\r\n").arg(t[0], t[1])));
        const condition_file::Status st = condition_file::loadConditions(book, path("other.csv"), ranges);
        ASSERT_TRUE(st.ok) << st.error.toStdString();
        EXPECT_EQ(at("基本設定", "I3").value(), seven);
        EXPECT_EQ(at("基本設定", "I4").value(), half);
    }
}

TEST_F(SmallBook, TolerantOfHandEditing)
{
    // Spreadsheet programs pad short lines; editors use LF and lower case.
    const condition_file::Status st =
        condition_file::loadConditions(book, testenv::dataPath(u("workbook/condition_file/hand-edited.csv")), ranges);
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    EXPECT_EQ(at("基本設定", "B30").value(), QVariant(u("夜")));
    EXPECT_EQ(at("基本設定", "C30").value(), QVariant(u("-")));
    EXPECT_FALSE(at("基本設定", "D30").value().isValid());
}

TEST_F(SmallBook, Cp932FileLoads)
{
    const QString sjis = testenv::dataPath(u("workbook/condition_file/cp932.csv"));
    QFile f(sjis);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_FALSE(text::fromUtf8Strict(f.readAll()).has_value());
    const condition_file::Status st = condition_file::loadConditions(book, sjis, ranges);
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    EXPECT_EQ(at("基本設定", "B4").value(), QVariant(u("準夜勤")));
    EXPECT_EQ(at("基本設定", "C4").value(), QVariant(u("準")));
    EXPECT_EQ(at("基本設定", "C20").value(), QVariant(u("公休")));
}

TEST_F(SmallBook, LoadRecalculates)
{
    int runs = 0;
    book.setRecalculation([&runs](xl::Workbook&) { ++runs; });
    app.setCalculation(-4135);   // manual: only an explicit Calculate runs it
    writeFile(path("r.csv"), file(u("RANGE,基本設定,Yasumi_Kigou,1,1\r\n休\r\n")));
    const int before = runs;
    ASSERT_TRUE(condition_file::loadConditions(book, path("r.csv"), ranges).ok);
    EXPECT_GT(runs, before);
}

TEST_F(SmallBook, MacrosUseTheHandOverCellAndReportErrors)
{
    condition_file::registerMacros(book);
    // The macros work on the book's own list of ranges; this small book has only some of them.
    at("Main", "C4").setValue(11.0);
    xl::Range c1 = at("名前リスト", "C1");
    EXPECT_FALSE(app.run(book.name() + u("!条件保存")).toString().isEmpty());   // C1 empty

    c1.setValue(path("m.csv"));
    EXPECT_EQ(app.run(book.name() + u("!MyMainから起動.条件保存")), QVariant(QString()));
    ASSERT_TRUE(QFile::exists(path("m.csv")));
    at("Main", "C4").setValue(3.0);
    EXPECT_EQ(app.run(book.name() + u("!条件読込")), QVariant(QString()));
    EXPECT_EQ(at("Main", "C4").value(), QVariant(11.0));

    writeFile(path("m.csv"), QByteArray("garbage"));
    const QString why = app.run(book.name() + u("!MyMainから起動.条件読込")).toString();
    EXPECT_TRUE(why.contains(u("m.csv"))) << why.toStdString();
    EXPECT_EQ(at("Main", "C4").value(), QVariant(11.0));

    // A file that cannot be written: the old one stays as it was.
    c1.setValue(dir.filePath(u("no/such/folder/x.csv")));
    EXPECT_FALSE(app.run(book.name() + u("!条件保存")).toString().isEmpty());
}

}  // namespace
