#pragma once
// The saved months as the saved-shift browser lists them: up to 12 periods, newest first, each
// with the number of shift rows stored for it; and deleting stored rows.
#include "shell/period.h"

#include <QDate>
#include <optional>
#include <vector>

// One listed period. Its number counts back from the newest period (1), so a period without rows
// is not listed but keeps its number free.
struct SavedPeriod {
    int no = 0;
    // The roster's year, month and first day of the period that the period's dates come from.
    long 年 = 0;
    long 月 = 0;
    long 基準開始日 = 0;
    期間 period;
    long 件数 = 0;
};

inline constexpr int kListedPeriods = 12;

// The periods of 基準開始日 that hold saved rows, newest first: number 1 is the period that
// contains the newest saved day. Empty when no shift row is saved; nothing (after the database's
// message) when the database could not be read.
std::optional<std::vector<SavedPeriod>> readSavedPeriods();

// Deletes the saved shift rows from 開始日 to 終了日, both included; every row when 開始日 is not
// a date. Asks and reports nothing itself: false after the database's message.
bool 削除_勤務記録(const QDate& 開始日 = {}, const QDate& 終了日 = {});

// Deletes the period's rows; once no shift row is left at all, the saved shift types go too.
// False after the database's message.
bool deletePeriod(const 期間& p);

// "WHERE 日付 >= 'first' AND 日付 <= 'last'" for the period's dates as stored.
QString periodWhere(const 期間& p);
