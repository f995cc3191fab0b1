#include "storage/html_pages.h"

#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "workbook/sheet_names.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QStringList standardHead()
{
    return {u"<!DOCTYPE html>"_s, u"<html lang='ja'>"_s, u"<HEAD>"_s,
            u"<META http-equiv='Content-Type' content='text/html; charset=Shift_JIS'>"_s,
            u"<META http-equiv='Content-Style-Type' content='text/css'>"_s};
}

}  // namespace

const std::vector<HtmlKind>& HtmlKinds()
{
    static const std::vector<HtmlKind> kinds = {
        {1, u"shift"_s, u"総合シフト表"_s, 110, u"総合シフト表"_s, false, kRosterSheet, {}},
        {2, u"shift_betu"_s, u"シフト別人員"_s, 110, u"シフト別人員"_s, true, u"シフト別"_s, u"シフト別_Idx"_s},
        {8, u"shift_list"_s, u"シフト一覧"_s, 90, u"シフト一覧"_s, false, u"シフト一覧"_s, u"Idxシフト一覧"_s},
        {3, u"hibetu_shift"_s, u"日別要員"_s, 90, u"日別要員"_s, true, u"日別要員"_s, u"Idx日別"_s},
        {4, u"jikantai_betu"_s, u"時間帯別"_s, 90, u"時間帯別勤務状況"_s, false, u"時間帯別"_s, u"時間帯_IdxDay"_s},
        {5, u"kojin_betu"_s, u"個人別シフト"_s, 110, u"個人別"_s, true, u"個人別"_s, u"SelectId"_s},
        {6, u"fuka"_s, u"不可勤務"_s, 90, u"不可勤務"_s, true, u"スケジュール"_s, {}},
        {7, u"yoyaku"_s, u"予約勤務"_s, 90, u"予約勤務"_s, true, u"予約表"_s, {}},
        {9, u"kihon-settei"_s, u"基本設定"_s, 90, u"基本設定"_s, false, u"基本設定"_s, {}},
        {10, u"yoin-settei"_s, u"要員設定"_s, 90, u"要員設定"_s, false, u"要員設定"_s, {}},
    };
    return kinds;
}

QString HtmlEscape(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'&': out += u"&amp;"_s; continue;
        case u'<': out += u"&lt;"_s; continue;
        case u'>': out += u"&gt;"_s; continue;
        case u'"': out += u"&quot;"_s; continue;
        case u'\'': out += u"&#39;"_s; continue;
        default: break;
        }
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString one = pair ? text.mid(i, 2) : QString(c);
        if (c.unicode() >= 0x80 && text::toCp932(one) == "?") {
            out += u"&#%1;"_s.arg(pair ? QChar::surrogateToUcs4(c, text[i + 1]) : c.unicode());
        } else {
            out += one;
        }
        i += pair ? 1 : 0;
    }
    return out;
}

QString KindPageText(const QString& title, const std::vector<HtmlOption>& options, const QString& prefix)
{
    QStringList lines = standardHead();
    lines << u"<Title>"_s + title + u"</TITLE>"_s
          << u"<link rel='stylesheet' type='text/css' href='../html-parts/style.css'>"_s
          << u"<script type='text/javascript' src='../html-parts/jquery.js'></script>"_s
          << u"<script type='text/javascript' src='../html-parts/js.js'></script>"_s
          << u"<script type='text/javascript'>"_s << u"<!--"_s
          << u"   function replaceImg(n){ myImg.src = 'shift_' + n + '.gif';}"_s << u"//-->"_s
          << u"</Script></HEAD>"_s << u"<BODY>"_s << u"<Form>"_s + title + u"　"_s;
    QString formEnd = u"</form>"_s;
    if (!options.empty()) {
        lines << prefix + u"<SELECT name='Sel' onChange='replaceImg(Sel.value)'>"_s;
        for (const HtmlOption& o : options)
            lines << u"<OPTION value="_s + QString::number(o.value) + u">"_s + HtmlEscape(o.label) + u"</OPTION>"_s;
        lines << QString();
        formEnd = u"</SELECT>"_s + formEnd;
    }
    lines << formEnd << u"<img src='shift_1.gif' id='myImg'>"_s
          << u"<div id='syubetu-img'><img src='../kihon-settei/shift_1.gif'></div>"_s
          << u"<div id='syubetu-link'><a href='javascript:void(0);'>勤務種別表</a></div>"_s << u"</BODY>"_s
          << u"</HTML>"_s;
    return lines.join(kCrLf);
}

QString FramePageText()
{
    QStringList lines = standardHead();
    lines << u"<TITLE>シフト表</TITLE>"_s << u"</HEAD>"_s << u"<FRAMESET rows='40,*' frameborder='NO' border='0'>"_s
          << u"<FRAME name='frame1' src='top.html'>"_s << u"<FRAME name='frame2' src='bottom.html'>"_s
          << u"<NOFRAMES>"_s << u"<BODY>"_s
          << u"<P>このページを表示するには、フレームをサポートしているブラウザが必要です。</P>"_s << u"</BODY>"_s
          << u"</NOFRAMES>"_s << u"</FRAMESET>"_s << u"</HTML>"_s;
    return lines.join(kCrLf);
}

QString TopPageText(const QDate& periodStart, const std::vector<const HtmlKind*>& selected)
{
    QStringList lines = standardHead();
    lines << u"<TITLE>シフト表</TITLE>"_s << u"<link rel='stylesheet' type='text/css' href='html-parts/style.css'>"_s
          << u"</HEAD>"_s << u"<BODY id='frame-top'>"_s << u"<TABLE id='menu-top'>"_s << u"<TBODY>"_s << u"<TR>"_s
          << u"<TD width='100'><FONT color='#009900'><A href='bottom.html' target='frame2'>"_s
                 + Format(periodStart, u"yyyy年mm月"_s) + u"</A></FONT></TD>"_s;
    for (const HtmlKind* k : selected)
        lines << u"<TD width='"_s + QString::number(k->menuWidth) + u"'><A href='"_s + k->folder
                     + u"/index.html' target='frame2'>"_s + k->caption + u"</A></TD>"_s;
    lines << u"</TR>"_s << u"</TBODY>"_s << u"</TABLE>"_s << u"</BODY>"_s << u"</HTML>"_s;
    return lines.join(kCrLf) + kCrLf;
}

QString BottomPageText(const QDate& periodStart, const QDate& periodEnd, int members, const QDateTime& made,
                       const QString& elapsed, const QString& version)
{
    const QStringList head = standardHead();
    QStringList lines;
    // One html element: the doctype line opens it.
    lines << u"<!DOCTYPE html><html lang='ja'>"_s << u"<HEAD>"_s << head[3] << head[4]
          << u"<link rel='stylesheet' type='text/css' href='html-parts/style.css'>"_s
          << u"<script type='text/javascript' src='html-parts/jquery.js'></script>"_s
          << u"<script type='text/javascript' src='html-parts/js.js'></script>"_s << u"<TITLE></TITLE>"_s
          << u"</HEAD>"_s << u"<BODY background='html-parts/bg.gif'>"_s << u"<div  id='main_title'>"_s
          << u"   <IMG src='html-parts/kinmu_shift.gif'>"_s << u"</div>"_s << u"<div id='main_info'>"_s
          << u"   期間："_s + Format(periodStart, u"yyyy/mm/dd"_s) + u"～"_s + Format(periodEnd, u"yyyy/mm/dd"_s)
                 + u"<br>"_s
          << u"   要員："_s + QString::number(members) + u"名<br>"_s
          << u"   "_s + Format(made, u"yyyy/mm/dd hh:nn"_s) + u"作成<br>"_s
          << u"   作成時間："_s + elapsed + u"<br><br>"_s << u"   Quorvane 　"_s + HtmlEscape(version) + u"<br>"_s
          << u"</div></BODY></HTML>"_s;
    return lines.join(kCrLf);
}

QString ElapsedText(qint64 ms)
{
    const auto s = qint64(std::nearbyint(double(ms) / 1000.0));
    return QString::number(s / 60) + u"分"_s + QString::number(s % 60) + u"秒"_s;
}
