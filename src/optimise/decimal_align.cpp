#include "optimise/decimal_align.h"

QString 小数点位置揃え(float x, int iw, int dw)
{
    QString s = QString::number(double(x), 'g', 7);
    if (!s.contains(QLatin1Char('.')))
        s += QStringLiteral(".0");
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    const QString decimals = s.mid(dot + 1).leftJustified(dw, QLatin1Char(' '), true);
    return s.left(dot).rightJustified(iw, QLatin1Char(' ')) + QLatin1Char('.') + decimals;
}
