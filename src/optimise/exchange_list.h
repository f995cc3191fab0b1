#pragma once
// The exchangeable-shift list: for one member, every day and every colleague whose shifts the two
// could exchange under the rules (on request also the refused ones, with the rule that refuses
// them), one TAB-separated line each; and the exchange of one listed pair on the sheet.
#include <QString>
#include <QStringList>
#include <optional>

// What the user asked for: the member (roster row, -1 for a number not in the roster), only pairs
// of which one rests ("-"), and the refused exchanges too ("*").
struct ExchangeListRequest {
    int member = -1;
    bool restOnly = false;
    bool includeForbidden = false;
};

// The question of the input box, with three examples built on the first member's number.
QString exchangeListQuestion();
// The proposed answer before any was accepted: the first member's number and " -".
QString exchangeListDefaultAnswer();
// Reads an answer; full-width digits, blanks and signs count as their half-width forms.
ExchangeListRequest parseExchangeListAnswer(const QString& answer);

// The lines of member m: days 1..Day_Cnt, colleagues in roster order, pairs with equal shifts
// left out. Every exchange tried is undone, so the table and the totals end as they began.
QStringList buildExchangeList(const ExchangeListRequest& request);
// The line that stands alone when nothing can be exchanged.
QString refusedExchangeLine();

// A listed exchange as the window uses it: the colleague's row, the period day, the line's own
// fields as one caption, and whether the rules refuse it.
struct ExchangeLine {
    int memberB = 0;
    int day = 0;
    QString caption;
    bool forbidden = false;
};
// Nothing for a line of fewer than three fields (the blank line and the "nothing" line).
std::optional<ExchangeLine> parseExchangeLine(const QString& line);

// Exchanges the shifts of rows a and b on day d in the table, the totals and the two cells, then
// fills the rest symbols and recolours the grid. Calling it again undoes it.
void makeExchange(int a, int b, int d);
