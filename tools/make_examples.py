#!/usr/bin/env python3
"""Writes the sample condition sets (examples/<folder>/条件.csv) and the new-file template
(parts/新規作成.csv) as condition files. Run from the source root after changing a sample:

    python3 tools/make_examples.py

The sets are written as data here rather than by hand so that the needs, the rest days and the
staff stay consistent with each other (each set must leave a roster comfortably possible).
Names are fictional.
"""
import datetime
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent

# ---- condition file -------------------------------------------------------------------------

_NUMBER = re.compile(r"^[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?$")
_TYPED = [re.compile(p) for p in (r"^\d{4}-\d{2}-\d{2}$", r"^\d{2}:\d{2}:\d{2}$",
                                  r"^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d{1,3})?$")]


class Time(str):
    """A time of day, written as hh:mm:ss (the cell holds the day fraction)."""


def encode(v):
    if v is None:
        return ""
    if isinstance(v, bool):
        return "TRUE" if v else "FALSE"
    if isinstance(v, Time):
        return str(v)
    if isinstance(v, (int, float)):
        return str(int(v)) if float(v).is_integer() else repr(float(v))
    s = str(v)
    if (s.startswith("'") or _NUMBER.match(s) or s.upper() in ("TRUE", "FALSE")
            or any(p.match(s) for p in _TYPED)):
        s = "'" + s
    if any(c in s for c in ',"\r\n'):
        s = '"' + s.replace('"', '""') + '"'
    return s


class CondFile:
    def __init__(self):
        self.blocks = []

    def put(self, sheet, name, rows):
        """rows: a value, a list (one row) or a list of lists."""
        if not isinstance(rows, list):
            rows = [[rows]]
        elif rows and not isinstance(rows[0], list):
            rows = [rows]
        # Trailing empty rows and columns are left out, as the workbook's own save does.
        rows = [list(r) for r in rows]
        while rows and all(v is None for v in rows[-1]):
            rows.pop()
        width = max((max((j + 1 for j, v in enumerate(r) if v is not None), default=0) for r in rows), default=0)
        self.blocks.append((sheet, name, [(r + [None] * width)[:width] for r in rows], width))

    def text(self):
        out = ["QVCOND,1", "SAVED,2026-12-08T12:00:00"]
        for sheet, name, rows, width in self.blocks:
            out.append(f"RANGE,{sheet},{name},{len(rows)},{width if rows else 0}")
            out.extend(",".join(encode(v) for v in r) for r in rows)
        out.append("END")
        return "\ufeff" + "\r\n".join(out) + "\r\n"

    def write(self, path):
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(self.text().encode("utf-8"))


# ---- calendar ---------------------------------------------------------------------------------

# National holidays of the sample months.
HOLIDAYS = {datetime.date(2027, 1, 1), datetime.date(2027, 1, 11), datetime.date(2027, 2, 11),
            datetime.date(2027, 2, 23)}


def days(year, month):
    d = datetime.date(year, month, 1)
    out = []
    while d.month == month:
        out.append(d)
        d += datetime.timedelta(days=1)
    return out


def is_off(d):
    return d.weekday() >= 5 or d in HOLIDAYS


def need_of(s, d):
    """A shift's need on a day: weekday, Saturday (when it differs from Sundays) or holiday."""
    if not is_off(d):
        return s.weekday
    if d.weekday() == 5 and d not in HOLIDAYS and s.saturday is not None:
        return s.saturday
    return s.holiday


# ---- a condition set --------------------------------------------------------------------------

class Shift:
    def __init__(self, name, abbr, start, end, hours, colour, overnight=False, span=0, most=0,
                 rest=(None, None), weekday=0, holiday=0, saturday=None, note=None):
        self.__dict__.update(locals())
        del self.__dict__["self"]


def condition_set(*, year, month, shifts, members, successors=(), banned_runs=(), required=(),
                  rest_days, hours=None, unavailable=None, reservations=None, bans=(), musts=(),
                  group_bans=(), group_musts=(), groups=(), work_run=5, rest_run=0, week_start=0,
                  week_limit=0, last_month=None, needs=None, period=True, time_limit=10, weekdays_first=False):
    f = CondFile()
    month_days = days(year, month)
    abbr = {s.name: s.abbr for s in shifts}
    if period:
        f.put("Main", "年", year)
        f.put("Main", "月", month)
        f.put("Main", "日", 1)
        f.put("Main", "基準開始日", 1)
    f.put("Main", "制限時間", time_limit)
    f.put("Main", "試行回数", 10)
    f.put("Main", "バックグラウンド動作", False)
    f.put("Main", "ベストシフト作成", False)
    f.put("Main", "Sw_確保優先", 2)

    f.put("基本設定", "Type_Table_Input",
          [[s.name, s.abbr, Time(s.start), s.overnight or None, s.note, Time(s.end), s.hours, s.span or None,
            s.colour] for s in shifts])
    f.put("基本設定", "Type_Count", [[s.most or None] for s in shifts])
    f.put("基本設定", "REST_TIME", [[Time(s.rest[0]) if s.rest[0] else None,
                                     Time(s.rest[1]) if s.rest[1] else None] for s in shifts])
    f.put("基本設定", "最少必要人数", [[s.weekday, s.holiday] for s in shifts])
    index = {s.abbr: i for i, s in enumerate(shifts)}
    grid = [[None] * len(shifts) for _ in shifts]
    for before, after in successors:
        grid[index[before]][index[after]] = "×"
    f.put("基本設定", "翌日禁止", grid)
    f.put("基本設定", "禁止パターン", [list(p) for p in banned_runs])
    f.put("基本設定", "必須パターン", [list(p) for p in required])
    f.put("基本設定", "連続勤務上限", work_run)
    f.put("基本設定", "連続休み上限", rest_run)
    f.put("基本設定", "基点曜日", week_start)
    f.put("基本設定", "週間勤務日数上限", week_limit)
    for name, value in (("勤務日数調整", True), ("勤務時間調整", False), ("勤務集中", False),
                        ("平日勤務集中", weekdays_first), ("休日対象外", False), ("勤務指定", False)):
        f.put("基本設定", name, value)
    f.put("基本設定", "Yasumi_Kigou", "休")
    f.put("基本設定", "Color_Yasumi", 0)
    f.put("基本設定", "自動再挑戦", True)
    f.put("基本設定", "経過表示", 0)
    f.put("基本設定", "進行状況表示", 0)
    f.put("基本設定", "行列ハイライト", True)
    f.put("基本設定", "自動画面最大化", False)
    f.put("基本設定", "過去参照スパン", 3)
    weights = [1] * len(shifts) + [None] * (10 - len(shifts)) + [None, 1]
    f.put("基本設定", "最適化比重", weights)
    f.put("基本設定", "休み_List", [[0]] * 7)
    f.put("基本設定", "職制_Ex", [[g, c or None] for g, c in groups])

    f.put("スケジュール", "予定休み区分", 0)
    f.put("スケジュール", "全不可罫線色", 5)
    f.put("スケジュール", "Member_List", [[no, name, group] for no, name, group in members])
    n = len(members)
    cells = [[None] * len(month_days) for _ in range(n)]
    for (m, d), what in (unavailable or {}).items():
        cells[m][d - 1] = what
    f.put("スケジュール", "勤務不可", cells if any(any(r) for r in cells) else [])
    f.put("スケジュール", "Member_DayOff", [[rest_days(i)] for i in range(n)])
    f.put("スケジュール", "Member_Time", [[hours(i)] for i in range(n)] if hours else [])

    need = needs or need_of
    f.put("要員設定", "Need_Table", [[need(s, d) for d in month_days] for s in shifts])

    def combination_rows(records):
        rows = []
        for shift, count, numbers in records:
            row = [shift, count, None] + [None] * (5 * len(numbers))   # column 3 follows column 2
            for k, no in enumerate(numbers):
                row[3 + 5 * k] = no
            rows.append(row[:4 + 5 * (len(numbers) - 1)])
        return rows

    f.put("要員設定", "組合せ禁止", combination_rows(bans))
    f.put("要員設定", "組合せ必須", combination_rows(musts))
    f.put("要員設定", "組合せ禁止_grp", [list(r) for r in group_bans])
    f.put("要員設定", "組合せ必須_grp", [list(r) for r in group_musts])

    f.put("予約表", "予約罫線色", 3)
    rsv = [[None] * len(month_days) for _ in range(n)]
    for (m, d), what in (reservations or {}).items():
        rsv[m][d - 1] = what
    f.put("予約表", "Member_Rsv", rsv if any(any(r) for r in rsv) else [])

    f.put("人員配置表", "Time_Table", [])
    f.put("人員配置表", "初期値使用", last_month is not None)
    f.put("人員配置表", "過去累計使用", False)
    if last_month is not None:
        prev = 12 if month == 1 else month - 1
        f.put("人員配置表", "先月_月", prev)
        last_ten = days(year if month > 1 else year - 1, prev)[-10:]
        heads = [[f"{d.month}/{d.day}" for d in last_ten], ["月火水木金土日"[d.weekday()] for d in last_ten]]
        f.put("人員配置表", "先月_結果", heads + last_month)
    return f


# ---- the samples ------------------------------------------------------------------------------

FAMILY = ["佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本", "中村", "小林", "加藤", "吉田", "山田",
          "佐々木", "山口", "松本", "井上", "木村", "林", "斎藤", "清水", "山崎", "森", "池田", "橋本",
          "阿部", "石川", "山下", "中島", "石井", "小川", "前田", "岡田", "長谷川", "藤田", "後藤", "近藤",
          "村上", "遠藤", "青木", "坂本", "斉藤", "福田", "太田", "西村", "藤井", "金子", "岡本", "藤原"]
GIVEN = ["花子", "美咲", "陽子", "真由美", "恵", "由美", "智子", "裕子", "直美", "明美", "愛", "彩",
         "結衣", "さくら", "葵", "舞", "千尋", "麻衣", "優子", "香織", "亮", "健", "翔", "大輔",
         "拓也", "直樹", "和也", "聡", "誠", "隆", "美穂", "奈々", "理恵", "加奈", "沙織", "瞳",
         "薫", "綾", "梓", "遥", "翼", "蓮", "悠", "陸", "湊", "凛", "楓", "桜"]


def name(i, offset=0):
    return f"{FAMILY[(i + offset) % len(FAMILY)]} {GIVEN[(i * 7 + offset) % len(GIVEN)]}"


def general_ward():
    """シフト表作成: a general ward, three-shift system, 20 nurses. Each nurse rests on as many days
    as the month has Saturdays, Sundays and holidays; the needs use nearly every work day, and the
    few left over go to weekdays, where the day shift is busiest."""
    shifts = [
        Shift("日勤", "日", "08:30:00", "17:00:00", 7.5, 35, rest=("12:00:00", "13:00:00"),
              weekday=10, holiday=5, saturday=6),
        Shift("準夜", "準", "16:30:00", "01:00:00", 8, 36, overnight=True, most=8, weekday=2, holiday=2),
        Shift("深夜", "深", "00:30:00", "09:00:00", 8, 37, most=8, weekday=2, holiday=2),
    ]
    groups = [("師長", 0), ("主任", 0), ("看護師", 0), ("新人", 0)]
    roles = ["師長", "主任", "主任", "主任"] + ["看護師"] * 13 + ["新人"] * 3
    members = [(101 + i, name(i), roles[i]) for i in range(20)]
    unavailable = {}
    for d in range(1, 32):
        unavailable[(0, d)] = "準,深"          # the head nurse works days only
        unavailable[(16, d)] = "深"            # no late nights (child care)
    for d in (8, 9, 10):
        unavailable[(5, d)] = "×"              # training
    for d in (20, 21):
        unavailable[(11, d)] = "×"             # requested days off
    unavailable[(18, 14)] = "×"
    reservations = {(1, 5): "日", (2, 12): "日", (7, 15): "準", (9, 22): "深", (13, 4): "日"}
    return condition_set(
        year=2027, month=1, shifts=shifts, members=members, groups=groups,
        successors=[("準", "日"), ("深", "日"), ("深", "準")],
        banned_runs=[("深", "深", "深"), ("準", "準", "準")],
        rest_days=lambda i: 12, unavailable=unavailable, reservations=reservations,
        bans=[("準夜", 2, [118, 119]), ("日勤", 2, [102, 103])],
        group_bans=[("深夜", 2, "新人")],
        work_run=5, rest_run=4, weekdays_first=True)


def care_facility():
    """作成例1: a care facility, 15 staff, night duty followed by the day after a night. The
    residents need care every day; weekdays add a third early, day and late hand for bathing and
    visits, which also takes the work days the needs leave over."""
    shifts = [
        Shift("早番", "早", "07:00:00", "16:00:00", 8, 40, rest=("11:30:00", "12:30:00"), weekday=3, holiday=2),
        Shift("日勤", "日", "09:00:00", "18:00:00", 8, 35, rest=("12:30:00", "13:30:00"), weekday=3, holiday=2,
              saturday=3),
        Shift("遅番", "遅", "11:00:00", "20:00:00", 8, 44, rest=("14:00:00", "15:00:00"), weekday=2, holiday=2),
        Shift("夜勤", "夜", "16:00:00", "00:00:00", 8, 37, overnight=True, span=3, weekday=1, holiday=1,
              note="翌日は明け"),
        Shift("明け", "明", "00:00:00", "09:00:00", 8, 34, weekday=1, holiday=1),
    ]
    groups = [("介護福祉士", 0), ("介護職", 0), ("看護職", 0)]
    roles = ["介護福祉士"] * 6 + ["介護職"] * 7 + ["看護職"] * 2
    members = [(201 + i, name(i, 20), roles[i]) for i in range(15)]
    every = ["早", "日", "遅", "夜", "明"]
    unavailable = {}
    for d in range(1, 29):
        unavailable[(13, d)] = "夜,明"          # nurses do not take the night
        unavailable[(14, d)] = "夜,明"
    for d in (6, 7):
        unavailable[(3, d)] = "×"
    unavailable[(8, 19)] = "×"
    reservations = {(0, 3): "早", (4, 10): "遅", (6, 17): "日"}

    def need(s, d):
        # The day after the last night of last month has no night to follow: no 明け needed then.
        if s.abbr == "明" and d.day == 1:
            return 0
        return need_of(s, d)
    return condition_set(
        year=2027, month=2, shifts=shifts, members=members, groups=groups,
        successors=[("夜", a) for a in every if a != "明"] + [("明", a) for a in every],
        required=[("夜", "明")], banned_runs=[("遅", "早")],
        rest_days=lambda i: 12 if i >= 13 else 10, unavailable=unavailable, reservations=reservations, needs=need,
        work_run=5, rest_run=0, weekdays_first=True)


def large_unit():
    """作成例2: a large unit, 45 members, six shift types, combinations, weekly limit, last month.
    Everyone rests on the month's Saturdays, Sundays and holidays in number; the day shift takes
    what the other needs leave, on weekdays first."""
    shifts = [
        Shift("日勤", "日", "08:30:00", "17:00:00", 7.5, 35, rest=("12:00:00", "13:00:00"), weekday=18, holiday=11,
              saturday=12),
        Shift("早番", "早", "07:00:00", "15:30:00", 7.5, 40, rest=("11:00:00", "12:00:00"), weekday=3, holiday=2),
        Shift("遅番", "遅", "11:30:00", "20:00:00", 7.5, 44, rest=("15:00:00", "16:00:00"), weekday=3, holiday=2),
        Shift("準夜", "準", "16:30:00", "01:00:00", 8, 36, overnight=True, most=7, weekday=3, holiday=3),
        Shift("深夜", "深", "00:30:00", "09:00:00", 8, 37, most=7, weekday=3, holiday=3),
        Shift("半日", "半", "08:30:00", "12:30:00", 4, 42, weekday=1, holiday=0, saturday=1),
    ]
    groups = [("リーダー", 0), ("看護師", 0), ("新人", 0), ("助手", 0)]
    roles = ["リーダー"] * 9 + ["看護師"] * 26 + ["新人"] * 5 + ["助手"] * 5
    members = [(1001 + i, name(i, 7), roles[i]) for i in range(45)]
    unavailable = {}
    for i in range(40, 45):                      # assistants: day-time work only
        for d in range(1, 32):
            unavailable[(i, d)] = "準,深"
    for i, days_off in ((12, (4, 5, 6)), (20, (18, 19)), (27, (25,)), (33, (11, 12))):
        for d in days_off:
            unavailable[(i, d)] = "×"
    reservations = {(0, 4): "日", (1, 4): "日", (15, 8): "遅", (22, 13): "早", (30, 20): "準", (8, 27): "深"}
    pattern = ["日", "休", "準", "深", "休", "日", "早", "遅", "休", "日"]
    last_month = []
    for i in range(45):
        row = pattern[i % 10:] + pattern[:i % 10]
        if i >= 40:
            row = ["休" if a in ("準", "深") else a for a in row]
        last_month.append(row)
    return condition_set(
        year=2027, month=1, shifts=shifts, members=members, groups=groups,
        successors=[("準", "日"), ("準", "早"), ("準", "半"), ("深", "日"), ("深", "早"), ("深", "遅"),
                    ("深", "準"), ("深", "半"), ("遅", "早")],
        banned_runs=[("深", "深", "深"), ("準", "準", "準", "準")],
        rest_days=lambda i: 12,
        hours=lambda i: 150 if i >= 40 else None,
        unavailable=unavailable, reservations=reservations,
        bans=[("深夜", 2, [1036, 1037]), ("準夜", 2, [1038, 1039]), ("遅番", 2, [1010, 1011])],
        musts=[("日勤", 1, [1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009])],
        group_bans=[("深夜", 2, "新人"), ("準夜", 2, "新人")],
        group_musts=[("準夜", 1, "リーダー")],
        work_run=5, rest_run=4, week_start=1, week_limit=5, last_month=last_month, weekdays_first=True)


def new_file():
    """新規作成: a small starting set the user replaces with their own (no period: it loads
    onto the month the workbook already has)."""
    shifts = [
        Shift("日勤", "日", "08:30:00", "17:00:00", 7.5, 35, rest=("12:00:00", "13:00:00"), weekday=2, holiday=1),
        Shift("夜勤", "夜", "16:30:00", "09:00:00", 15, 37, overnight=True, span=2, weekday=1, holiday=1),
    ]
    members = [(i, f"職員{i}", "職員") for i in range(1, 7)]
    return condition_set(year=2027, month=1, shifts=shifts, members=members, groups=[("職員", 0)],
                         successors=[("夜", "日"), ("夜", "夜")], rest_days=lambda i: 10,
                         needs=lambda s, d: s.weekday, period=False)


def main():
    general_ward().write(ROOT / "examples" / "シフト表作成" / "条件.csv")
    care_facility().write(ROOT / "examples" / "作成例1" / "条件.csv")
    large_unit().write(ROOT / "examples" / "作成例2" / "条件.csv")
    new_file().write(ROOT / "parts" / "新規作成.csv")


if __name__ == "__main__":
    main()
