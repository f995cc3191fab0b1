#include "bench_conditions.h"

#include "sample_book.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Row = QStringList;
using Rows = std::vector<Row>;

struct Shift {
    const char* name;
    const char* abbr;
    const char* start;
    const char* end;
    const char* hours;
    int colour;
    bool overnight;
    int span;
    int most;
    int weekday;
    int holiday;
    bool lunch;  // a rest hour at noon
};

// Weekdays need 35 members, weekends and holidays 22: about 88 % of what 50 members with ten
// rest days can give.
const Shift kShifts[] = {
    {"日勤", "日", "08:30:00", "17:00:00", "7.5", 35, false, 0, 0, 10, 5, true},
    {"早番", "早", "07:00:00", "15:30:00", "7.5", 40, false, 0, 0, 4, 3, false},
    {"遅番", "遅", "11:30:00", "20:00:00", "7.5", 44, false, 0, 0, 4, 3, false},
    {"準夜", "準", "16:30:00", "01:00:00", "8", 36, true, 0, 7, 4, 4, false},
    {"深夜", "深", "00:30:00", "09:00:00", "8", 37, false, 0, 7, 4, 4, false},
    {"半日", "半", "08:30:00", "12:30:00", "4", 42, false, 0, 0, 2, 1, false},
    {"研修", "研", "09:00:00", "17:00:00", "7.5", 38, false, 3, 0, 2, 0, true},
    {"会議", "会", "13:00:00", "17:00:00", "4", 39, false, 0, 0, 1, 0, false},
    {"外来", "外", "08:30:00", "17:00:00", "7.5", 43, false, 0, 0, 3, 2, true},
    {"出張", "出", "09:00:00", "18:00:00", "8", 45, false, 2, 0, 1, 0, true},
};
constexpr int kTypes = 10;
constexpr int kMembers = 50;
constexpr int kAssistants = 4;  // the last members: day work only
const QDate kFirstDay(2027, 1, 1);

// Forbidden successions: a shift after 準 or 深 that starts too early, 早 after 遅.
const char* const kSuccessors[][2] = {
    {"準", "日"}, {"準", "早"}, {"準", "半"}, {"準", "研"}, {"準", "会"}, {"準", "外"}, {"準", "出"},
    {"深", "日"}, {"深", "早"}, {"深", "遅"}, {"深", "準"}, {"深", "半"}, {"深", "研"}, {"深", "会"},
    {"深", "外"}, {"深", "出"}, {"遅", "早"},
};

bool isOff(const QDate& d)
{
    return d.dayOfWeek() >= 6 || d == QDate(2027, 1, 1) || d == QDate(2027, 1, 11);
}

QString field(const QString& v)
{
    if (!v.contains(QLatin1Char(',')) && !v.contains(QLatin1Char('"')))
        return v;
    return QLatin1Char('"') + QString(v).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString num(double v)
{
    return QString::number(v);
}

class CondText {
public:
    void put(const char* sheet, const char* name, const Rows& rows)
    {
        const qsizetype width = rows.empty() ? 0 : rows.front().size();
        lines_ << QStringLiteral("RANGE,%1,%2,%3,%4")
                      .arg(QString::fromUtf8(sheet), QString::fromUtf8(name))
                      .arg(rows.size())
                      .arg(width);
        for (const Row& r : rows) {
            QStringList cells;
            for (const QString& v : r)
                cells << field(v);
            lines_ << cells.join(QLatin1Char(','));
        }
    }
    void put(const char* sheet, const char* name, const QString& value) { put(sheet, name, Rows{Row{value}}); }
    QByteArray bytes() const
    {
        return QByteArray("\xEF\xBB\xBF") + (lines_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\nEND\r\n")).toUtf8();
    }

private:
    QStringList lines_{QStringLiteral("QVCOND,1"), QStringLiteral("SAVED,2026-12-08T12:00:00")};
};

void putShiftTypes(CondText& f)
{
    Rows input, count, rest, least;
    for (const Shift& s : kShifts) {
        input.push_back({QString::fromUtf8(s.name), QString::fromUtf8(s.abbr), QString::fromUtf8(s.start),
                         s.overnight ? QStringLiteral("TRUE") : QString(), QString(), QString::fromUtf8(s.end),
                         QString::fromUtf8(s.hours), s.span ? num(s.span) : QString(), num(s.colour)});
        count.push_back({s.most ? num(s.most) : QString()});
        rest.push_back({s.lunch ? QStringLiteral("12:00:00") : QString(), s.lunch ? QStringLiteral("13:00:00") : QString()});
        least.push_back({num(s.weekday), num(s.holiday)});
    }
    f.put("基本設定", "Type_Table_Input", input);
    f.put("基本設定", "Type_Count", count);
    f.put("基本設定", "REST_TIME", rest);
    f.put("基本設定", "最少必要人数", least);

    Rows successors(kTypes, Row(kTypes));
    auto index = [](const char* abbr) {
        for (int t = 0; t < kTypes; ++t)
            if (QString::fromUtf8(kShifts[t].abbr) == QString::fromUtf8(abbr))
                return t;
        return -1;
    };
    for (const auto& pair : kSuccessors)
        successors[size_t(index(pair[0]))][index(pair[1])] = QStringLiteral("×");
    f.put("基本設定", "翌日禁止", successors);
    f.put("基本設定", "禁止パターン", Rows{{QStringLiteral("深"), QStringLiteral("深"), QStringLiteral("深"), QString()},
                                       {QStringLiteral("準"), QStringLiteral("準"), QStringLiteral("準"), QStringLiteral("準")}});
    f.put("基本設定", "必須パターン", Rows{});
}

void putSettings(CondText& f)
{
    f.put("Main", "年", QStringLiteral("2027"));
    f.put("Main", "月", QStringLiteral("1"));
    f.put("Main", "日", QStringLiteral("1"));
    f.put("Main", "基準開始日", QStringLiteral("1"));
    f.put("Main", "制限時間", QStringLiteral("10"));
    f.put("Main", "試行回数", QStringLiteral("10"));
    f.put("Main", "バックグラウンド動作", QStringLiteral("FALSE"));
    f.put("Main", "ベストシフト作成", QStringLiteral("FALSE"));
    f.put("Main", "Sw_確保優先", QStringLiteral("2"));
    f.put("基本設定", "連続勤務上限", QStringLiteral("5"));
    f.put("基本設定", "連続休み上限", QStringLiteral("4"));
    f.put("基本設定", "基点曜日", QStringLiteral("1"));
    f.put("基本設定", "週間勤務日数上限", QStringLiteral("5"));
    for (const char* off : {"勤務時間調整", "勤務集中", "平日勤務集中", "休日対象外", "勤務指定", "自動画面最大化"})
        f.put("基本設定", off, QStringLiteral("FALSE"));
    for (const char* on : {"勤務日数調整", "自動再挑戦", "行列ハイライト"})
        f.put("基本設定", on, QStringLiteral("TRUE"));
    f.put("基本設定", "Yasumi_Kigou", QStringLiteral("休"));
    f.put("基本設定", "Color_Yasumi", QStringLiteral("0"));
    f.put("基本設定", "経過表示", QStringLiteral("0"));
    f.put("基本設定", "進行状況表示", QStringLiteral("0"));
    f.put("基本設定", "過去参照スパン", QStringLiteral("3"));
    Row factors(12, QStringLiteral("1"));
    f.put("基本設定", "最適化比重", Rows{factors});
    f.put("基本設定", "休み_List", Rows(7, Row{QStringLiteral("0")}));
    f.put("基本設定", "職制_Ex", Rows{{QStringLiteral("リーダー")}, {QStringLiteral("看護師")}, {QStringLiteral("新人")},
                                    {QStringLiteral("助手")}});
}

QString group(int i)
{
    if (i < 8)
        return QStringLiteral("リーダー");
    if (i < kMembers - kAssistants - 4)
        return QStringLiteral("看護師");
    return i < kMembers - kAssistants ? QStringLiteral("新人") : QStringLiteral("助手");
}

void putMembers(CondText& f)
{
    Rows list, unavailable, rest;
    for (int i = 0; i < kMembers; ++i) {
        list.push_back({num(2001 + i), QStringLiteral("職員%1").arg(i + 1, 2, 10, QLatin1Char('0')), group(i)});
        unavailable.push_back(Row(31, i >= kMembers - kAssistants ? QStringLiteral("準,深") : QString()));
        rest.push_back({QStringLiteral("10")});
    }
    f.put("スケジュール", "予定休み区分", QStringLiteral("0"));
    f.put("スケジュール", "全不可罫線色", QStringLiteral("5"));
    f.put("スケジュール", "Member_List", list);
    f.put("スケジュール", "勤務不可", unavailable);
    f.put("スケジュール", "Member_DayOff", rest);
    f.put("スケジュール", "Member_Time", Rows{});
}

void putNeedsAndCombinations(CondText& f)
{
    Rows need;
    for (const Shift& s : kShifts) {
        Row r;
        for (int d = 0; d < 31; ++d)
            r << num(isOff(kFirstDay.addDays(d)) ? s.holiday : s.weekday);
        need.push_back(r);
    }
    f.put("要員設定", "Need_Table", need);
    f.put("要員設定", "組合せ禁止", Rows{{QStringLiteral("深夜"), QStringLiteral("2"), QString(), QStringLiteral("2009"),
                                         QString(), QString(), QString(), QString(), QStringLiteral("2010")}});
    f.put("要員設定", "組合せ必須", Rows{});
    f.put("要員設定", "組合せ禁止_grp", Rows{{QStringLiteral("深夜"), QStringLiteral("2"), QStringLiteral("新人")}});
    f.put("要員設定", "組合せ必須_grp", Rows{{QStringLiteral("準夜"), QStringLiteral("1"), QStringLiteral("リーダー")}});
    f.put("予約表", "予約罫線色", QStringLiteral("3"));
    f.put("予約表", "Member_Rsv", Rows{});
}

// Last month's final ten days, a rotation of one pattern (no nights for the assistants).
void putLastMonth(CondText& f)
{
    const QStringList pattern = QStringLiteral("日,休,準,深,休,日,早,遅,休,外").split(QLatin1Char(','));
    Rows rows(2);
    for (int k = 0; k < 10; ++k) {
        const QDate d = kFirstDay.addDays(k - 10);
        rows[0] << QStringLiteral("%1/%2").arg(d.month()).arg(d.day());
        rows[1] << QStringLiteral("月火水木金土日").mid(d.dayOfWeek() - 1, 1);
    }
    for (int i = 0; i < kMembers; ++i) {
        Row r;
        for (int k = 0; k < 10; ++k) {
            const QString a = pattern[(i + k) % 10];
            r << (i >= kMembers - kAssistants && (a == u"準" || a == u"深") ? QStringLiteral("休") : a);
        }
        rows.push_back(r);
    }
    f.put("人員配置表", "Time_Table", Rows{});
    f.put("人員配置表", "初期値使用", QStringLiteral("TRUE"));
    f.put("人員配置表", "過去累計使用", QStringLiteral("FALSE"));
    f.put("人員配置表", "先月_月", QStringLiteral("12"));
    f.put("人員配置表", "先月_結果", rows);
}

}  // namespace

QByteArray benchConditionText()
{
    CondText f;
    putSettings(f);
    putShiftTypes(f);
    putMembers(f);
    putNeedsAndCombinations(f);
    putLastMonth(f);
    return f.bytes();
}

void openBenchConditions()
{
    static xl::Workbook* book = nullptr;
    if (book && xlBook == book)
        return;
    AppPath = QDir::tempPath();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("条件.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(benchConditionText()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.close();
    const condition_file::Status st = openSampleBook(path, &book);
    if (!st.ok) {
        std::fprintf(stderr, "bench conditions: %s\n", qPrintable(st.error));
        std::exit(1);
    }
}
