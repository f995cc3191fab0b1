#pragma once
// Numbers lined up on their decimal point for reports and score displays.
#include <QString>

// x as the single prints (seven significant digits; ".0" added to a whole number): the last iw
// characters before the point, blank-filled on the left, the point, and the first dw after it,
// blank-filled on the right. Longer integer parts lose their leading digits; further decimals are
// cut, not rounded.
QString 小数点位置揃え(float x, int iw, int dw);
