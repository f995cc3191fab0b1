#include "work_folder.h"

#include "shell/rs_dbsub.h"
#include "shell/state.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// Every object of the file with its SQL, and every row of every table: what a run may not change.
QStringList snapshot(db::Connection& c)
{
    QStringList out;
    QSqlQuery q = c.run(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
    QStringList tables;
    while (q.next()) {
        out << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        if (q.value(0).toString() == QLatin1String("table"))
            tables << q.value(1).toString();
    }
    for (const QString& t : tables) {
        QSqlQuery rows = c.run(QStringLiteral("SELECT * FROM \"%1\"").arg(t));
        while (rows.next()) {
            QStringList cells;
            for (int i = 0; i < rows.record().count(); ++i)
                cells << rows.value(i).toString();
            out << t + QLatin1Char(':') + cells.join(QLatin1Char('|'));
        }
    }
    return out;
}

const QStringList optimiserColumns = {
    QStringLiteral("荷重_総勤務日数_今期"), QStringLiteral("荷重_総勤務日数"), QStringLiteral("荷重_各勤務日数_今期"),
    QStringLiteral("荷重_各勤務日数"), QStringLiteral("荷重_休日出勤_今期"), QStringLiteral("荷重_休日出勤"),
    QStringLiteral("荷重_休日勤務_今期"), QStringLiteral("荷重_休日勤務"), QStringLiteral("荷重_優先勤務"),
    QStringLiteral("荷重_優先勤務倍率_今期"), QStringLiteral("荷重_優先勤務倍率"), QStringLiteral("荷重_休み曜日_今期"),
    QStringLiteral("荷重_単勤単休_今期"), QStringLiteral("荷重_単勤総数_今期"), QStringLiteral("荷重_単休総数_今期"),
    QStringLiteral("荷重_単勤分散_今期"), QStringLiteral("荷重_単休分散_今期"), QStringLiteral("荷重_設定展開"),
    QStringLiteral("均等化試行回数"), QStringLiteral("最適化回数"), QStringLiteral("最適化休み回数"),
    QStringLiteral("最適化試行回数"), QStringLiteral("試行_設定展開"),
};
const QStringList initialValues = {
    QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
    QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("10"),
    QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"),
    QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("20"), QStringLiteral("3"),
    QStringLiteral("0"), QStringLiteral("5,1,10,"), QStringLiteral("0"),
};

}  // namespace

using Schema = WorkFolderTest<resetShellState>;

TEST_F(Schema, ANewWorkFolderGetsTheWholeLayoutQuietly)
{
    ASSERT_EQ(AddTableField(), 0);
    EXPECT_EQ(messages(), 0u);
    EXPECT_FALSE(DbErrShown);

    db::Connection c;
    c.open(DefaultDbPath());
    const struct { const char* table; int columns; } tables[] = {
        {"T_勤務表", 5}, {"T_勤務種別", 15}, {"T_名簿", 3}, {"T_DayBefore_Table", 2}, {"T_Work_予定休み数", 2},
        {"T_グループ", 3}, {"T_KinsiPattern", 7}, {"T_HissuPattern", 3}, {"T_休平日要人数", 3}, {"T_基本設定", 39},
        {"T_設定値", 5}, {"T_PrimeData", 6}, {"T_Work_組み合せ条件", 3}, {"T_Work_組み合せ条件_Sub", 2},
        {"T_Work_組み合せ条件_Group", 5}, {"T_Work_要員", 3}, {"T_Work_不可", 3}, {"T_Work_予約", 3},
    };
    for (const auto& t : tables)
        EXPECT_EQ(c.columns(QString::fromUtf8(t.table)).size(), t.columns) << t.table;
    EXPECT_EQ(c.autoKeyColumn(QStringLiteral("T_勤務表")), QStringLiteral("no"));
    EXPECT_EQ(c.columns(QStringLiteral("T_基本設定")).mid(16), optimiserColumns);
    EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);

    // One settings record: the optimiser's initial values, Null elsewhere.
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM T_基本設定")).toInt(), 1);
    for (int i = 0; i < optimiserColumns.size(); ++i)
        EXPECT_EQ(GetTableValue(QStringLiteral("T_基本設定"), optimiserColumns[i]), initialValues[i]) << i;
    EXPECT_FALSE(c.scalar(QStringLiteral("SELECT 固定休 FROM T_基本設定")).isValid());

    // The views join the rosters; weekdays sort Sunday first.
    c.execute(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名) VALUES (1, '佐藤')"));
    c.execute(QStringLiteral("INSERT INTO T_勤務種別 (勤務No, 勤務名, 略称, 勤務時間) VALUES (2, '日勤', '日', 8)"));
    c.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) VALUES (1, '2024-04-07', 2, 1), (1, '2024-04-08', 0, 0)"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT group_concat(Id || 氏名 || 日付 || 勤務No || ifnull(略称, '-') || 休平日 || 曜日, ' ') FROM Q_勤務表")).toString(),
              QStringLiteral("1佐藤2024-04-072日11日 1佐藤2024-04-080-02月"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT 勤務No || 略称 || 勤務時間 FROM Q_勤務種別")).toString(), QStringLiteral("2日8.0"));
}

TEST_F(Schema, ASecondRunChangesNothing)
{
    ASSERT_EQ(AddTableField(), 0);
    SetTableValue(QStringLiteral("T_基本設定"), QStringLiteral("荷重_優先勤務"), 4);
    db::Connection c;
    c.open(DefaultDbPath());
    const QStringList before = snapshot(c);
    ASSERT_EQ(AddTableField(), 0);
    EXPECT_EQ(snapshot(c), before);
    EXPECT_EQ(messages(), 0u);
    EXPECT_FALSE(DbErrShown);
}

TEST_F(Schema, AnOlderFileGetsWhatItLacksAndKeepsItsData)
{
    {
        db::Connection c;
        c.open(DefaultDbPath());
        c.execute(QStringLiteral("CREATE TABLE T_勤務種別 (勤務No INTEGER, 勤務名 TEXT, 略称 TEXT, 勤務時間 int)"));
        c.execute(QStringLiteral("INSERT INTO T_勤務種別 VALUES (1, '早番', '早', 7)"));
        c.execute(QStringLiteral("CREATE TABLE T_名簿 (Id INTEGER, 氏名 TEXT)"));
        c.execute(QStringLiteral("INSERT INTO T_名簿 VALUES (3, '鈴木')"));
        c.execute(QStringLiteral("CREATE TABLE T_基本設定 (平日勤務集中 YesNo, 固定休 text(50), 荷重_総勤務日数 int)"));
        c.execute(QStringLiteral("INSERT INTO T_基本設定 VALUES (-1, '土日', 5)"));
        c.execute(QStringLiteral("CREATE TABLE T_グループ (グループNo int)"));
        c.execute(QStringLiteral("CREATE TABLE T_設定値 (自動再挑戦 YesNo)"));
    }
    ASSERT_EQ(AddTableField(), 0);
    EXPECT_EQ(messages(), 0u);
    db::Connection c;
    c.open(DefaultDbPath());
    EXPECT_EQ(c.columns(QStringLiteral("T_勤務種別")).size(), 15);
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT upper(type) FROM pragma_table_info('T_勤務種別') WHERE name='勤務時間'")).toString(),
              QStringLiteral("INT"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT 勤務名 || 勤務時間 || ifnull(色, 'null') FROM T_勤務種別")).toString(), QStringLiteral("早番7null"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT 氏名 || ifnull(グループ, 'null') FROM T_名簿")).toString(), QStringLiteral("鈴木null"));
    EXPECT_EQ(c.columns(QStringLiteral("T_グループ")).size(), 3);
    // A table that lacks its first column gets that one too.
    EXPECT_TRUE(c.columns(QStringLiteral("T_設定値")).contains(QStringLiteral("自動最大化")));
    EXPECT_EQ(c.columns(QStringLiteral("T_設定値")).size(), 5);
    // The existing record keeps its values; only the new columns get their initial values.
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM T_基本設定")).toInt(), 1);
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT 平日勤務集中 || 固定休 || 荷重_総勤務日数 || 荷重_各勤務日数 || 最適化試行回数 FROM T_基本設定")).toString(),
              QStringLiteral("-1土日5105,1,10,"));
    EXPECT_FALSE(c.scalar(QStringLiteral("SELECT 勤務リスト FROM T_基本設定")).isValid());
    EXPECT_TRUE(c.viewExists(QStringLiteral("Q_勤務表")));

    // After the quiet upgrade a real failure is still reported.
    EXPECT_EQ(RsOpen(QStringLiteral("SELECT * FROM T_存在しない")), -1);
    EXPECT_EQ(messages(), 1u);
}

TEST_F(Schema, AFileFromANewerProgramIsOnlyRead)
{
    {
        db::Connection c;
        c.open(DefaultDbPath());
        c.execute(QStringLiteral("CREATE TABLE T_名簿 (Id INTEGER, 氏名 TEXT)"));
        c.execute(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1));
    }
    EXPECT_EQ(AddTableField(), 1);
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(ui::shownMessages().front().buttons, ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal);
    EXPECT_TRUE(DbOpenReadOnly);
    EXPECT_TRUE(cn.isReadOnly());
    EXPECT_EQ(SetTableValue(QStringLiteral("T_名簿"), QStringLiteral("氏名"), QStringLiteral("x")), -1);
    db::Connection c;
    c.open(DefaultDbPath());
    EXPECT_FALSE(c.tableExists(QStringLiteral("T_基本設定")));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM T_名簿")).toInt(), 0);
    EXPECT_EQ(AddTableField(), 1);
    EXPECT_EQ(messages(), 2u);  // the write refusal above; the read-only notice is not repeated

    // Shut-down does not rewrite it either.
    c.close();
    const QByteArray before = [] { QFile f(DefaultDbPath()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const QDateTime stamp = QFileInfo(DefaultDbPath()).lastModified();
    EXPECT_EQ(CompactDb(DefaultDbPath()), QString());
    QFile after(DefaultDbPath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(QFileInfo(DefaultDbPath()).lastModified(), stamp);
}

TEST_F(Schema, AddFieldTellsAddedFromPresent)
{
    EXPECT_EQ(CreateTable(QStringLiteral("T_x"), QStringLiteral("a INTEGER")), 0);
    EXPECT_EQ(CreateTable(QStringLiteral("T_x"), QStringLiteral("a INTEGER")), 1);
    EXPECT_EQ(AddField(QStringLiteral("T_x"), QStringLiteral("b INTEGER"), QStringLiteral("b"), 5), 0);
    EXPECT_EQ(AddField(QStringLiteral("T_x"), QStringLiteral("b REAL"), QStringLiteral("b"), 6), 1);
    EXPECT_EQ(AddField(QStringLiteral("T_none"), QStringLiteral("b INTEGER")), -1);
    EXPECT_EQ(GetTableValue(QStringLiteral("T_x"), QStringLiteral("b")), QStringLiteral("5"));
    EXPECT_EQ(messages(), 0u);
}
