#include "optimise/decimal_align.h"

QString 小数点位置揃え(float x, int iw, int dw)
{
    QString s = QString::number(double(x), 'g', 7);
    if (!s.contains(QLatin1Char('.')))
        s += QStringLiteral(".0");
    const QString pad(s.size(), QLatin1Char(' '));
    s = pad + s + pad;
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    return s.left(dot).right(iw) + QLatin1Char('.') + s.mid(dot + 1).left(dw);
}
