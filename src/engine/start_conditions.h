#pragma once
// The start conditions of a generation run as the start-condition dialog frm開始条件設定 shows and
// applies them: the roster's year and month, the day generation starts from, the first day of
// the period, the time limit and the weights of the score per shift type. The restore of a saved
// period applies them without the dialog: 開始条件設定(readStartConditions()).
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// The weight box of a rest day.
inline constexpr int kRestWeight = 12;

// What the dialog's boxes hold, as texts.
struct StartConditions {
    QString 年;
    QString 月;
    QString 日;
    QString 基準開始日;
    QString 試行回数;
    QString 制限時間;
    // weights[t]: the weight of shift type t (1..略称.size()), weights[kRestWeight] that of a rest day.
    std::array<QString, kRestWeight + 1> weights;
    // The abbreviation of each weighted shift type, type t at t - 1.
    QStringList 略称;
};

// The years the dialog offers (2005 to 2069) and the months ("1" to "12").
QStringList yearList();
QStringList monthList();

// What the dialog shows when it opens: sheet Main's year (the first of yearList when it holds
// none of them), month ("1" likewise), start day, first day of the period, tries and time limit
// ("10" when empty); the weights of 基本設定's 最適化比重 for the shift types and for rest.
StartConditions readStartConditions();

// Sheet Main's period and time limit into 作成年, 作成月, 作成開始日, 基準開始日 and LimitTime, as
// start-up and a loaded condition file take them. A value that is no number, that its variable
// cannot hold, or an empty period value leaves its variable 0 and is named, cell and value, in the
// text that comes back (one line each; empty when everything was read).
QString readPeriodSettings();

// Checks the values: a time limit and tries above 0, a date that exists, a first day of the
// period 1..31, weights that are numbers not below 0. A fault is shown ("入力エラー" or "入力不正")
// and false comes back with nothing written. Otherwise runs accepted (the dialog hides itself),
// sets 作成年, 作成月, 作成開始日, 基準開始日 and LimitTime (fractions of a minute kept), writes
// them to sheet Main (試行回数 always 50) and the weights to 基本設定, reloads last month's data
// when 過去累計使用 is set, and returns true.
bool 開始条件設定(const StartConditions& in, const std::function<void()>& accepted = {});
