#pragma once
// The dispersion score shown term by term as fixed-width text (columns counted in Shift-JIS
// bytes, so full-width names line up), the list of the weights, the analysis command that shows
// both, and the debug dump of the member totals.
#include "platform/text/vb_array.h"

#include <QString>
#include <QVariant>
#include <array>

// The score and its terms before a run: P(0) the score, P(1) the per-type term of the period
// over all types, P(2) its per-type list (",v1,v2,...,"), P(3) the holiday term, P(4) and P(5)
// the single work and rest days, P(6) and P(7) their dispersions; C(1), C(2), C(3) the same
// cumulative terms. Other slots stay empty.
using ScoreTerms = std::array<QVariant, 11>;

// A monotonic millisecond tick that start ticks are taken from.
qint64 TickCount();

void 分散要素取得(ScoreTerms& P, ScoreTerms& C);

// The report of every term with its weight. mode 0 is an analysis (the before and change
// columns are left out); any other mode puts each term beside its value in P and C (empty
// without them) with ▲ or ▽ when it rose or fell. startTick gives the elapsed time printed first.
QString 荷重分散レポート作成(qint64 startTick, const ScoreTerms* P, const ScoreTerms* C, int mode, const QString& prefix);
// The weights under two "荷重" headings.
QString 荷重パラメータ一覧();
// The analysis of the table on the sheet: shown in the message window and written to
// log_result.txt.
void 勤務分散解析();

// Member_Sum, Member_Sum_K and Time_Table as number grids.
QString MemoryDump();
QString 配列ダンプ(const vb::TwoDimArray<float>& a, int rowLimit, int columnLimit);
QString 配列ダンプ(const vb::TwoDimArray<int>& a, int rowLimit, int columnLimit);
QString 配列ダンプ(const vb::OneDimArray<float>& a, int rowLimit, int columnLimit);

// The cells. "処理時間 " + minutes ("1分") when there are any + seconds to at most 3 decimals + "秒".
QString elapsedText(qint64 elapsedMs);
QString レポート見出し作成(int mode, const QString& first);
QString レポート区切り線(const QString& ch, int n);
// "優先勤務　p：abbreviation(name)" right-aligned in width; the number alone when p names no
// shift type.
QString 優先勤務ラベル(int width);
QString レポート値書式(const QVariant& v, int width);
// "▲" when before, rounded to 3 decimals (halves to even), is below after, "▽" when above, else
// "", right-aligned in 2 bytes.
QString レポート増減書式(const QVariant& before, const QVariant& after);
