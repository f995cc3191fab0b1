#pragma once
// Numbers lined up on their decimal point for reports and score displays.
#include <QString>

// x as the single prints (seven significant digits; ".0" added to a whole number): the integer
// part right-aligned in iw characters, the point, and the first dw decimals, blank-filled on the
// right. An integer part longer than iw is kept whole (the field grows rather than showing a
// wrong number); further decimals are cut, not rounded.
QString 小数点位置揃え(float x, int iw, int dw);
