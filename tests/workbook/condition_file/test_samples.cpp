// The condition file on the real template: every listed range survives a round trip, and the
// shipped sets (the three samples and 新規作成.csv) load cleanly and make a sound roster.
#include "../../support/reset_test.h"
#include "condition_file_fixture.h"
#include "workbook/macros.h"
#include "workbook/recalc.h"
#include "workbook/state.h"
#include "workbook/template.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <random>

namespace {

xl::Range named(xl::Workbook& book, const QString& sheet, const QString& name)
{
    return book.worksheets(sheet).range(name);
}

QVariant at(xl::Workbook& book, const char* sheet, const char* name)
{
    return named(book, u(sheet), u(name)).value();
}

int number(xl::Workbook& book, const char* sheet, const char* name)
{
    return int(named(book, u(sheet), u(name)).text().toDouble());
}

// What the build does for a work folder: a sample's conditions in a template, saved as target.
void buildSampleBook(const char* sample, const QString& target)
{
    xl::Application app;
    xl::Workbook& book = workbook::createTemplate(app);
    const QString conditions = QDir(u(QV_TEST_DATA_DIR "/../..")).filePath(u("examples/") + u(sample) + u("/条件.csv"));
    ASSERT_TRUE(condition_file::loadConditions(book, conditions).ok);
    book.saveAs(target);
}

TEST(ConditionFileOnTemplate, EveryListedRangeExistsAndRoundTrips)
{
    QTemporaryDir dir;
    xl::Application app;
    xl::Workbook& book = workbook::createTemplate(app, QDate(2026, 9, 1));
    // Something of every kind in every cell the file carries (the period stays a real month, a
    // time cell a time).
    const QVariant samples[] = {u("日"), 3.0, true, u("001"), 0.25, u("a,\"b\"\nc"), false,
                                QVariant(QDate(2026, 9, 22)), u("'x")};
    int k = 0;
    for (const auto& r : condition_file::listedRanges()) {
        SCOPED_TRACE(r.name.toStdString());
        ASSERT_NO_THROW(named(book, r.sheet, r.name));
        if (r.keepWhenAbsent)
            continue;
        xl::Range range = named(book, r.sheet, r.name);
        xl::Block b(range.rowCount(), range.columnCount());
        for (int i = 1; i <= b.rows(); ++i)
            for (int j = 1; j <= b.columns(); ++j) {
                b(i, j) = samples[k++ % std::size(samples)];
                // A time cell takes only a time.
                if (range.cells(i, j).numberFormat().contains(QLatin1Char('h')) && b(i, j).typeId() != QMetaType::Double)
                    b(i, j) = 0.25;
            }
        range.setBlock(b);
    }
    named(book, u("Main"), u("月")).setValue(2.0);
    book.calculate();
    const auto before = valuesOf(book, condition_file::listedRanges());
    const QString file = dir.filePath(u("all.csv"));
    const condition_file::Status saved = condition_file::saveConditions(book, file);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();

    xl::Workbook& direct = workbook::createTemplate(app, QDate(2030, 5, 1));
    const condition_file::Status check = condition_file::loadConditions(direct, file);
    ASSERT_TRUE(check.ok) << check.error.toStdString();
    // Every row of both ban tables is filled: more than a generation takes, which is said.
    ASSERT_EQ(check.warnings.size(), 1);
    EXPECT_TRUE(check.warnings[0].contains(u("30"))) << check.warnings[0].toStdString();

    // The same through the macro of a fresh template and its hand-over cell.
    xl::Workbook& fresh = workbook::createTemplate(app, QDate(2030, 5, 1));
    fresh.worksheets(u("名前リスト")).range(u("C1")).setValue(file);
    EXPECT_EQ(app.run(fresh.name() + u("!MyMainから起動.条件読込")), QVariant(QString()));
    expectSameValues(condition_file::listedRanges(), before, valuesOf(fresh, condition_file::listedRanges()));
    EXPECT_EQ(number(fresh, "人員配置表", "Day_Cnt"), 28);   // the file's month: February 2026
}

// A template whose first shift type is 日勤 with the given times, saved and read into a fresh
// template: the file's text, and the fresh book.
struct TimesRoundTrip {
    QTemporaryDir dir;
    xl::Application app;
    xl::Workbook& book = workbook::createTemplate(app, QDate(2027, 1, 1));
    xl::Workbook* other = nullptr;

    xl::Range types(xl::Workbook& b) { return named(b, u("基本設定"), u("Type_Table_Input")); }
    QString run(double start, double end, double restTime)
    {
        types(book).cells(1, 1).setValue(u("日勤"));
        types(book).cells(1, 2).setValue(u("日"));
        types(book).cells(1, 3).setValue(start);
        types(book).cells(1, 6).setValue(end);
        named(book, u("基本設定"), u("REST_TIME")).cells(1, 1).setValue(restTime);
        book.calculate();
        const QString file = dir.filePath(u("t.csv"));
        EXPECT_TRUE(condition_file::saveConditions(book, file).ok);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        other = &workbook::createTemplate(app, QDate(2027, 1, 1));
        EXPECT_TRUE(condition_file::loadConditions(*other, file).ok);
        return QString::fromUtf8(f.readAll());
    }
};

// Times show as times in the file and come back as the same day fractions; a number beyond a
// day in a time cell stays that number.
TEST(ConditionFileOnTemplate, TimesOfDayAreWrittenAsTimes)
{
    TimesRoundTrip t;
    t.types(t.book).cells(1, 7).setValue(0.5);   // hours: a plain number, not a time
    named(t.book, u("Main"), u("制限時間")).setValue(1e12);
    const QString text = t.run(510.0 / 1440, 0.0, 1e12);   // 8:30, midnight, far beyond a day
    EXPECT_TRUE(text.contains(u("\r\n日勤,日,08:30:00,,,00:00:00,0.5\r\n"))) << text.toStdString();
    xl::Range back = t.types(*t.other);
    EXPECT_EQ(back.cells(1, 3).value(), QVariant(510.0 / 1440));
    EXPECT_EQ(back.cells(1, 6).value(), QVariant(0.0));
    EXPECT_EQ(back.cells(1, 7).value(), QVariant(0.5));
    EXPECT_EQ(named(*t.other, u("基本設定"), u("REST_TIME")).cells(1, 1).value(), QVariant(1e12));
    EXPECT_EQ(named(*t.other, u("Main"), u("制限時間")).value(), QVariant(1e12));

    // Another program keeps times to 15 digits (8:00 a hair under 8/24): they are written as their
    // time and come back as the exact time; a time that is not a whole second stays a number.
    TimesRoundTrip fifteen;
    const double halfPast = (8 * 3600 + 0.5) / 86400;   // 8:00:00.5
    const QString digits = fifteen.run(0.333333333333333, 0.291666666666667, halfPast);
    EXPECT_TRUE(digits.contains(u("\r\n日勤,日,08:00:00,,,07:00:00\r\n"))) << digits.toStdString();
    EXPECT_EQ(fifteen.types(*fifteen.other).cells(1, 3).value(), QVariant(8.0 / 24));
    EXPECT_EQ(fifteen.types(*fifteen.other).cells(1, 6).value(), QVariant(7.0 / 24));
    EXPECT_EQ(named(*fifteen.other, u("基本設定"), u("REST_TIME")).cells(1, 1).value(), QVariant(halfPast));
}

struct Shipped {
    const char* file;        // below the source root
    int members;
    int types;
};

class ShippedSets : public ResetTest<resetWorkbookState>, public ::testing::WithParamInterface<Shipped> {};

// What the roster reading of the program demands, and what a generation needs to succeed.
TEST_P(ShippedSets, LoadAndMakeASoundRoster)
{
    const Shipped s = GetParam();
    xl::Application app;
    xl::Workbook& book = workbook::createTemplate(app, QDate(2027, 1, 1));
    const condition_file::Status st = condition_file::loadConditions(book, QDir(u(QV_TEST_DATA_DIR "/../..")).filePath(u(s.file)));
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    EXPECT_TRUE(st.warnings.isEmpty()) << st.warnings.join(u("\n")).toStdString();

    const int members = number(book, "スケジュール", "Member_Cnt");
    const int types = number(book, "基本設定", "Type_Cnt");
    const int days = number(book, "人員配置表", "Day_Cnt");
    EXPECT_EQ(members, s.members);
    EXPECT_EQ(types, s.types);
    EXPECT_GE(days, 28);
    EXPECT_LE(days, 31);
    EXPECT_EQ(at(book, "スケジュール", "番号数"), at(book, "スケジュール", "名前数"));
    EXPECT_LE(number(book, "基本設定", "Kinsi_Pattern_Cnt"), 11);
    EXPECT_LE(number(book, "基本設定", "Hissu_Pattern_Cnt"), 11);

    // Roster: numbers present, numeric and unique; names present.
    const xl::Block roster = named(book, u("スケジュール"), u("Member_List")).block();
    QSet<QString> numbers;
    for (int i = 1; i <= members; ++i) {
        const QVariant no = roster(i, 1);
        ASSERT_EQ(no.typeId(), QMetaType::Double) << "row " << i;
        EXPECT_FALSE(roster(i, 2).toString().trimmed().isEmpty()) << "row " << i;
        EXPECT_FALSE(numbers.contains(no.toString())) << "row " << i;
        numbers.insert(no.toString());
    }
    for (int i = members + 1; i <= roster.rows(); ++i)
        EXPECT_FALSE(roster(i, 1).isValid() || roster(i, 2).isValid()) << "row " << i;

    // Shift types: names and abbreviations unique; every abbreviation used elsewhere is known.
    const xl::Block typeTable = named(book, u("基本設定"), u("Type_Table_Input")).block();
    QSet<QString> names, abbreviations;
    for (int t = 1; t <= types; ++t) {
        names.insert(typeTable(t, 1).toString());
        abbreviations.insert(typeTable(t, 2).toString());
    }
    EXPECT_EQ(names.size(), types);
    EXPECT_EQ(abbreviations.size(), types);
    const QString rest = at(book, "基本設定", "Yasumi_Kigou").toString();
    EXPECT_FALSE(rest.isEmpty());
    EXPECT_FALSE(abbreviations.contains(rest));
    const xl::Block reservations = named(book, u("予約表"), u("Member_Rsv")).block();
    for (int i = 1; i <= reservations.rows(); ++i)
        for (int d = 1; d <= reservations.columns(); ++d)
            if (reservations(i, d).isValid()) {
                EXPECT_LE(i, members);
                EXPECT_LE(d, days);
                EXPECT_TRUE(abbreviations.contains(reservations(i, d).toString())) << i << "," << d;
            }
    for (const char* range : {"禁止パターン", "必須パターン"}) {
        const xl::Block p = named(book, u("基本設定"), u(range)).block();
        for (int i = 1; i <= p.rows(); ++i)
            for (int j = 1; j <= p.columns(); ++j)
                if (p(i, j).isValid()) {
                    EXPECT_TRUE(abbreviations.contains(p(i, j).toString()) || p(i, j).toString() == u("-"))
                        << range << " " << i << "," << j;
                }
    }
    // Combinations: known shift names (or "*") and roster numbers.
    for (const char* range : {"組合せ禁止", "組合せ必須"}) {
        const xl::Block c = named(book, u("要員設定"), u(range)).block();
        for (int i = 1; i <= c.rows(); ++i) {
            if (!c(i, 1).isValid())
                continue;
            EXPECT_TRUE(names.contains(c(i, 1).toString()) || c(i, 1).toString() == u("*")) << range << " " << i;
            int listed = 0;
            for (int j = 4; j <= c.columns(); j += 5)
                if (c(i, j).isValid()) {
                    ++listed;
                    EXPECT_TRUE(numbers.contains(c(i, j).toString())) << range << " " << i << "," << j;
                }
            EXPECT_GE(c(i, 3).toInt(), 1) << range << " " << i;   // the number the reader takes
            EXPECT_GE(listed, c(i, 3).toInt()) << range << " " << i;
        }
    }

    // Feasible at a glance: no day needs most of the staff, and the month's needs stay within
    // what the work-day targets give (so the pre-run analysis warns of no failure).
    const xl::Block need = named(book, u("要員設定"), u("Need_Table")).block();
    const xl::Block dayOff = named(book, u("スケジュール"), u("Member_DayOff")).block();
    double needed = 0, supply = 0;
    for (int d = 1; d <= days; ++d) {
        double day = 0;
        for (int t = 1; t <= types; ++t)
            day += need(t, d).toDouble();
        EXPECT_LE(day, 0.75 * members) << "day " << d;
        needed += day;
    }
    for (int i = 1; i <= members; ++i)
        supply += days - dayOff(i, 1).toDouble();
    EXPECT_LE(needed, supply);
    EXPECT_GT(needed, 0);
}

// What the build does for a work folder: the sample in a template, saved as shift.xlsm; opened
// again, the book still holds the conditions and counts them afresh.
TEST(ConditionFileOnTemplate, SampleWorkbookKeepsItsConditionsInTheFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u("shift.xlsm"));
    ASSERT_NO_FATAL_FAILURE(buildSampleBook("作成例2", target));
    xl::Application app;
    xl::Workbook& book = app.workbooks().open(target);
    workbook::attach(book);
    EXPECT_EQ(number(book, "スケジュール", "Member_Cnt"), 45);
    EXPECT_EQ(number(book, "基本設定", "Type_Cnt"), 6);
    EXPECT_EQ(number(book, "人員配置表", "Day_Cnt"), 31);
    EXPECT_EQ(at(book, "人員配置表", "先月_月"), QVariant(12.0));
    EXPECT_EQ(named(book, u("スケジュール"), u("Member_List")).cells(45, 2).value(), QVariant(u("田中 聡")));
}

// The sample's 夜勤 ends and its 明け starts at 0:00: in the built book they are times.
TEST(ConditionFileOnTemplate, SampleWorkbookKeepsItsMidnightTimes)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u("shift.xlsm"));
    ASSERT_NO_FATAL_FAILURE(buildSampleBook("作成例1", target));
    xl::Application app;
    xl::Workbook& book = app.workbooks().open(target);
    xl::Worksheet& basic = book.worksheets(u("基本設定"));
    EXPECT_EQ(basic.range(u("G8")).value(), QVariant(0.0));
    EXPECT_EQ(basic.range(u("D9")).value(), QVariant(0.0));
    EXPECT_EQ(basic.range(u("G8")).text(), u("0:00"));
}

INSTANTIATE_TEST_SUITE_P(Sets, ShippedSets,
                         ::testing::Values(Shipped{"examples/シフト表作成/条件.csv", 20, 3},
                                           Shipped{"examples/作成例1/条件.csv", 15, 5},
                                           Shipped{"examples/作成例2/条件.csv", 45, 6},
                                           Shipped{"parts/新規作成.csv", 6, 2}));

}  // namespace

namespace {

// Every cell of every sheet as text: value with its type, formula and look.
QStringList everyCell(xl::Workbook& book)
{
    QStringList out;
    const xl::BookData& data = book.data();
    for (const xl::SheetData& sheet : data.sheets)
        for (const auto& [at, cell] : sheet.cells) {
            const xl::CellStyle& s = data.styles[size_t(cell.style)];
            out << QStringLiteral("%1!%2,%3 %4:%5 %6 %7 %8 %9")
                       .arg(sheet.name)
                       .arg(at.first)
                       .arg(at.second)
                       .arg(QString::fromLatin1(cell.value.typeName()), cell.value.toString(), cell.formula,
                            s.fill.name(QColor::HexArgb), s.fontColor.name(QColor::HexArgb), s.numberFormat);
        }
    return out;
}

}  // namespace

// A calculation of a book nothing changed in is skipped; that is sound only if the formulas,
// run again over their own results, write nothing new.
TEST(ConditionFileOnTemplate, FormulasRunTwiceWriteNothingNew)
{
    const char* const sets[] = {"examples/シフト表作成/条件.csv", "examples/作成例1/条件.csv",
                                "examples/作成例2/条件.csv",    "tests/data/months/tight-30-members.csv",
                                "tests/data/months/chains-20-members.csv"};
    xl::Application app;
    for (const char* set : sets) {
        SCOPED_TRACE(set);
        xl::Workbook& book = workbook::createTemplate(app, QDate(2027, 1, 1));
        ASSERT_TRUE(condition_file::loadConditions(book, QDir(u(QV_TEST_DATA_DIR "/../..")).filePath(u(set))).ok);
        xl::Range grid = book.worksheets(u("人員配置表")).range(u("Time_Table"));
        grid.cells(1, 1).setValue(u("Z"));   // a text that is no shift shows red
        grid.cells(2, 3).setValue(u("休"));
        book.calculate();
        const QStringList once = everyCell(book);
        workbook::forgetGridInputs();
        workbook::recalculate(book);
        EXPECT_EQ(everyCell(book), once);
        book.close(false);
    }
}

// After changes to the shift grid's cells alone, the calculation redoes only the grid's totals and
// fills: the book must come out as a whole calculation leaves it.
TEST(ConditionFileOnTemplate, GridChangesAloneRecalculateAsTheWholeCalculationDoes)
{
    const char* const sets[] = {"examples/作成例2/条件.csv", "tests/data/months/tight-18-members.csv"};
    xl::Application app;
    std::mt19937 random(7);
    for (const char* set : sets) {
        SCOPED_TRACE(set);
        xl::Workbook& book = workbook::createTemplate(app, QDate(2027, 1, 1));
        ASSERT_TRUE(condition_file::loadConditions(book, QDir(u(QV_TEST_DATA_DIR "/../..")).filePath(u(set))).ok);
        book.worksheets(u("人員配置表")).activate();
        book.calculate();
        xl::Range grid = book.worksheets(u("人員配置表")).range(u("Time_Table"));
        const QVariant entries[] = {u("日"), u("夜"), u("明"), u("休"), u("Z"), QVariant(), u("")};
        for (int round = 0; round < 3; ++round) {
            if (round == 1)
                book.runMacro(u("勤務Clear"));   // clears the grid's values and sets its fills and lines
            for (int k = 0; k < 40; ++k)
                grid.cells(int(random() % 50) + 1, int(random() % 31) + 1).setValue(entries[random() % 7]);
            xl::Block column(50, 1);
            for (int m = 1; m <= 50; ++m)
                column(m, 1) = entries[random() % 7];
            grid.cells(1, int(random() % 31) + 1).resize(50, 1).setBlock(column);
            ASSERT_TRUE(book.onlyTrackedAreaChanged());
            book.calculate();
            const QStringList gridOnly = everyCell(book);
            workbook::forgetGridInputs();
            workbook::recalculate(book);
            EXPECT_EQ(everyCell(book), gridOnly);
        }
        book.close(false);
    }
}
