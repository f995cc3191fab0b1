#pragma once
// Ranking the candidates for one slot (one shift type on one day) and the fallback choice that
// explains every refusal. The candidate table is indexed (position, field): field 1 holds the
// member index, fields 2..6 the keys 候補評価 writes.
#include "platform/text/vb_array.h"

#include <QString>

// Fills fields 2..6 of positions 1..n for shift s on day d: 2 work days directly before d,
// 3 rest days directly before d, 4 the balance key, 5 the combined key, 6 -20000 when the same
// shift lies closer than its span (else the caller's value stays).
void 候補評価(vb::TwoDimArray<int>& table, int n, int d, int s);
// Members 1..Member_Cnt holding shift s on day d.
int 勤務回数(int s, int d);
// How many of the first n candidates hold shift s on day d.
int 割当人数(int d, int s, const vb::TwoDimArray<int>& table, int n);
// The calendar date of day d (running on past the month's end) in the format f.
QString 日付文字列(int d, const QString& f);
// Of the candidates 勤務不可理由 allows, the one hardest to place elsewhere (the later one on equal
// scores), -1 when every candidate is refused; text gets one line per refused candidate.
int 不可理由一覧(int d, int s, const vb::TwoDimArray<int>& table, int n, QString& text);
