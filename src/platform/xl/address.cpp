#include "address.h"

#include "book_data.h"

namespace xl {

QString columnLetters(int column)
{
    QString s;
    while (column > 0) {
        const int d = (column - 1) % 26;
        s.prepend(QChar(u'A' + d));
        column = (column - 1) / 26;
    }
    return s;
}

int columnNumber(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int n = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        n = n * 26 + (u - u'A' + 1);
    }
    return n <= kMaxColumns ? n : 0;
}

namespace {

// One corner: "$B$2", "B", "2" (with or without dollars). column/row 0 = not given.
bool parseCorner(QStringView t, int& column, int& row)
{
    column = row = 0;
    qsizetype i = 0;
    if (i < t.size() && t[i] == u'$')
        ++i;
    const qsizetype letters = i;
    while (i < t.size() && t[i].isLetter() && t[i].unicode() < 128)
        ++i;
    if (i > letters) {
        column = columnNumber(t.mid(letters, i - letters));
        if (column == 0)
            return false;
    }
    if (i < t.size() && t[i] == u'$') {
        ++i;
        if (i == t.size())
            return false;
    }
    const qsizetype digits = i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
        ++i;
    if (i != t.size())
        return false;
    if (i > digits) {
        bool ok = false;
        const qlonglong r = t.mid(digits, i - digits).toLongLong(&ok);
        if (!ok || r < 1 || r > kMaxRows)
            return false;
        row = int(r);
    }
    return column != 0 || row != 0;
}

}  // namespace

std::optional<Area> parseArea(QStringView text)
{
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    int c1, r1, c2, r2;
    if (colon < 0) {
        if (!parseCorner(text, c1, r1) || c1 == 0 || r1 == 0)
            return std::nullopt;
        return Area{r1, c1, r1, c1};
    }
    if (!parseCorner(text.left(colon), c1, r1) || !parseCorner(text.mid(colon + 1), c2, r2))
        return std::nullopt;
    Area a;
    if (c1 && r1 && c2 && r2) {
        a = Area{r1, c1, r2, c2};
    } else if (c1 && !r1 && c2 && !r2) {
        a = Area{1, c1, kMaxRows, c2};
    } else if (!c1 && r1 && !c2 && r2) {
        a = Area{r1, 1, r2, kMaxColumns};
    } else {
        return std::nullopt;
    }
    if (a.top > a.bottom)
        std::swap(a.top, a.bottom);
    if (a.left > a.right)
        std::swap(a.left, a.right);
    return a;
}

QString areaAddress(const Area& a)
{
    const QString dollar = QStringLiteral("$");
    if (a.top == 1 && a.bottom == kMaxRows)
        return dollar + columnLetters(a.left) + QStringLiteral(":$") + columnLetters(a.right);
    if (a.left == 1 && a.right == kMaxColumns)
        return dollar + QString::number(a.top) + QStringLiteral(":$") + QString::number(a.bottom);
    QString s = dollar + columnLetters(a.left) + dollar + QString::number(a.top);
    if (a.top != a.bottom || a.left != a.right)
        s += QStringLiteral(":$") + columnLetters(a.right) + dollar + QString::number(a.bottom);
    return s;
}

SheetRef splitSheetRef(const QString& reference)
{
    QString ref = reference.trimmed();
    if (ref.startsWith(QLatin1Char('=')))
        ref.remove(0, 1);
    const qsizetype bang = ref.lastIndexOf(QLatin1Char('!'));
    if (bang < 0)
        return {QString(), ref};
    QString sheet = ref.left(bang);
    if (sheet.size() >= 2 && sheet.startsWith(QLatin1Char('\'')) && sheet.endsWith(QLatin1Char('\'')))
        sheet = sheet.mid(1, sheet.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return {sheet, ref.mid(bang + 1)};
}

QString quoteSheetName(const QString& name)
{
    bool plain = !name.isEmpty() && !name.at(0).isDigit();
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.')))
            plain = false;
    if (plain)
        return name;
    QString q = name;
    q.replace(QStringLiteral("'"), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

}  // namespace xl
