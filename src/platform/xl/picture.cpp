// Drawing cells: the range picture and the text widths behind AutoFit.
#include "error.h"
#include "range.h"
#include "render.h"
#include "values.h"
#include "workbook.h"
#include "worksheet.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <cmath>

namespace xl {

namespace {

constexpr double kDigitPixels = 7.0;   // width of one character of the default font
constexpr double kCellPadding = 5.0;   // a column's pixels beyond its characters
const QColor kGridColor(0xD4, 0xD4, 0xD4);

bool haveGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Characters a text needs: measured with the cell's font when fonts are available, otherwise
// counted (East Asian wide characters as two).
double textCharacters(const QString& text, const CellStyle& style)
{
    if (haveGui()) {
        const QFontMetricsF fm(cellFont(style));
        return (fm.horizontalAdvance(text) + 4) / kDigitPixels;
    }
    double units = 0;
    for (QChar c : text)
        units += c.unicode() >= 0x1100 ? 2 : 1;
    return units * style.fontSize / 11.0 + 0.75;
}

}  // namespace

int columnWidthPixels(double width)
{
    if (width <= 0)
        return 0;
    return width < 1 ? int(std::lround(width * (kDigitPixels + kCellPadding))) : int(std::lround(width * kDigitPixels + kCellPadding));
}

int rowHeightPixels(double points)
{
    return int(std::lround(points * 96.0 / 72.0));
}

void drawBorderEdge(QPainter& p, const BorderEdge& e, bool vertical, int at, int from, int to, int limit)
{
    if (e.lineStyle == -4142 || to < from)
        return;
    Qt::PenStyle style = Qt::SolidLine;
    switch (e.lineStyle) {
    case -4115: style = Qt::DashLine; break;
    case -4118: style = Qt::DotLine; break;
    case 4: style = Qt::DashDotLine; break;
    case 5: style = Qt::DashDotDotLine; break;
    default: break;
    }
    QPen pen(e.color.isValid() ? e.color : QColor(Qt::black));
    pen.setWidth(1);
    pen.setStyle(e.weight == 1 ? Qt::DotLine : style);   // hairline
    p.setPen(pen);
    auto one = [&](int pos) {
        pos = std::clamp(pos, 0, limit - 1);
        if (vertical)
            p.drawLine(pos, from, pos, to);
        else
            p.drawLine(from, pos, to, pos);
    };
    if (e.lineStyle == -4119) {   // double
        one(at - 1);
        one(at + 1);
        return;
    }
    const int n = e.weight == -4138 ? 2 : e.weight == 4 ? 3 : 1;
    for (int k = 0; k < n; ++k)
        one(at - n / 2 + k);
}

QFont cellFont(const CellStyle& s)
{
    // The workbook's Japanese gothic is drawn with the one installed here; the Japanese face
    // comes next for any other font, so that no text falls back to Chinese glyphs.
    const QString japanese = QStringLiteral("Noto Sans CJK JP");
    QFont f;
    if (s.fontName.isEmpty() || s.fontName == kDefaultFontName || s.fontName == QLatin1String("Yu Gothic"))
        f.setFamilies({japanese, QStringLiteral("IPAexGothic"), QStringLiteral("DejaVu Sans")});
    else
        f.setFamilies({s.fontName, japanese, QStringLiteral("DejaVu Sans")});
    f.setPixelSize(std::max(1, int(std::lround(s.fontSize * 96.0 / 72.0))));
    f.setBold(s.bold);
    return f;
}

void Range::autoFitColumns() const
{
    Worksheet& ws = parent();
    workbook().ensureCalculated();
    std::vector<double> widest(size_t(columnCount()), 0.0);
    forEachCell([&](int, int c, const Cell& cell) {
        if (!cell.value.isValid())
            return;
        const CellStyle& s = workbook().data_.styles[size_t(cell.style)];
        double& w = widest[size_t(c - left_)];
        w = std::max(w, textCharacters(formatValue(cell.value, s.numberFormat), s));
    });
    for (int c = left_; c <= right_; ++c) {
        const double w = widest[size_t(c - left_)];
        if (w > 0)
            ws.setColumnWidth(c, std::min(255.0, std::ceil(w * 100) / 100));
    }
}

QImage Range::copyPicture() const
{
    if (!haveGui())
        throw Error(1004, QStringLiteral("CopyPicture メソッドが失敗しました。 (Picturing a range needs the graphical application)"));
    Worksheet& ws = parent();
    const SheetData& data = ws.data();
    const auto& styles = workbook().data_.styles;

    std::vector<int> xs{0}, ys{0};   // start of each column / row, then the total
    for (int c = left_; c <= right_; ++c) {
        xs.push_back(xs.back() + (ws.columnHidden(c) ? 0 : columnWidthPixels(ws.columnWidth(c))));
        if (xs.back() > 32000)
            throw Error(1004, QStringLiteral("CopyPicture メソッドが失敗しました。 (The range %1 is too wide to picture)").arg(address()));
    }
    for (int r = top_; r <= bottom_; ++r) {
        ys.push_back(ys.back() + (ws.rowHidden(r) ? 0 : rowHeightPixels(ws.rowHeight(r))));
        if (ys.back() > 32000)
            throw Error(1004, QStringLiteral("CopyPicture メソッドが失敗しました。 (The range %1 is too tall to picture)").arg(address()));
    }
    const int width = std::max(1, xs.back()), height = std::max(1, ys.back());
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);

    // Gridlines on each cell's right and bottom pixel; fills and borders cover them.
    p.setPen(kGridColor);
    for (size_t i = 1; i < xs.size(); ++i)
        if (xs[i] > xs[i - 1])
            p.drawLine(xs[i] - 1, 0, xs[i] - 1, height - 1);
    for (size_t i = 1; i < ys.size(); ++i)
        if (ys[i] > ys[i - 1])
            p.drawLine(0, ys[i] - 1, width - 1, ys[i] - 1);

    auto cellRect = [&](int r, int c) {
        const size_t i = size_t(r - top_), j = size_t(c - left_);
        return QRect(xs[j], ys[i], xs[j + 1] - xs[j], ys[i + 1] - ys[i]);
    };
    const auto& cells = data.cells;
    auto visit = [&](auto&& f) {
        for (int r = top_; r <= bottom_; ++r)
            for (auto it = cells.lower_bound({r, left_}); it != cells.end() && it->first.first == r && it->first.second <= right_; ++it)
                f(r, it->first.second, it->second, styles[size_t(it->second.style)]);
    };

    visit([&](int r, int c, const Cell&, const CellStyle& s) {
        if (s.fill.isValid())
            p.fillRect(cellRect(r, c), s.fill);
    });

    p.setRenderHint(QPainter::TextAntialiasing);
    visit([&](int r, int c, const Cell& cell, const CellStyle& s) {
        if (!cell.value.isValid())
            return;
        const QRect rect = cellRect(r, c).adjusted(2, 0, -3, -1);
        if (rect.width() <= 0 || rect.height() <= 0)
            return;
        int h = Qt::AlignLeft;
        if (s.horizontalAlignment == -4108)
            h = Qt::AlignHCenter;
        else if (s.horizontalAlignment == -4152)
            h = Qt::AlignRight;
        else if (s.horizontalAlignment == 1) {
            const int type = cell.value.typeId();
            h = type == QMetaType::QString ? Qt::AlignLeft : type == QMetaType::Bool ? Qt::AlignHCenter : Qt::AlignRight;
        }
        const int v = s.verticalAlignment == -4160 ? Qt::AlignTop : s.verticalAlignment == -4108 ? Qt::AlignVCenter : Qt::AlignBottom;
        p.setFont(cellFont(s));
        p.setPen(s.fontColor.isValid() ? s.fontColor : QColor(Qt::black));
        // Left-aligned text runs on over empty cells to its right, as on screen.
        QRect area = rect;
        if (h == Qt::AlignLeft && !s.wrapText && cell.value.typeId() == QMetaType::QString) {
            for (int next = c + 1; next <= right_; ++next) {
                const auto it = cells.find({r, next});
                if (it != cells.end() && it->second.value.isValid())
                    break;
                area.setRight(cellRect(r, next).right() - 3);
            }
        }
        p.save();
        p.setClipRect(area);
        p.drawText(area, h | v | (s.wrapText ? Qt::TextWordWrap : 0), formatValue(cell.value, s.numberFormat));
        p.restore();
    });

    // Borders last, centred on the cell edge lines and kept inside the picture.
    auto line = [&](const BorderEdge& e, bool vertical, int at, int from, int to) {
        drawBorderEdge(p, e, vertical, at, from, to, vertical ? width : height);
    };
    visit([&](int r, int c, const Cell&, const CellStyle& s) {
        const QRect rc = cellRect(r, c);
        if (rc.isEmpty())
            return;
        line(s.left, true, rc.left() - (c > left_ ? 1 : 0), rc.top() - 1, rc.bottom());
        line(s.right, true, rc.right(), rc.top() - 1, rc.bottom());
        line(s.top, false, rc.top() - (r > top_ ? 1 : 0), rc.left() - 1, rc.right());
        line(s.bottom, false, rc.bottom(), rc.left() - 1, rc.right());
    });
    p.end();
    return image;
}

}  // namespace xl
