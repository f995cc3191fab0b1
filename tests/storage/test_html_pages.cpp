// The site's page texts, character for character, and the small rules around them.
#include "storage/html_pages.h"
#include "storage/website.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kHead = u"<!DOCTYPE html>\r\n<html lang='ja'>\r\n<HEAD>\r\n"
                      u"<META http-equiv='Content-Type' content='text/html; charset=Shift_JIS'>\r\n"
                      u"<META http-equiv='Content-Style-Type' content='text/css'>\r\n"_s;

TEST(HtmlPages, KindPageWithAndWithoutAList)
{
    const QString withList = KindPageText(u"シフト一覧"_s, {{1, u"改行"_s}, {2, u"／"_s}}, u"　　氏名区切り "_s);
    EXPECT_EQ(withList, kHead + u"<Title>シフト一覧</TITLE>\r\n"
                                u"<link rel='stylesheet' type='text/css' href='../html-parts/style.css'>\r\n"
                                u"<script type='text/javascript' src='../html-parts/jquery.js'></script>\r\n"
                                u"<script type='text/javascript' src='../html-parts/js.js'></script>\r\n"
                                u"<script type='text/javascript'>\r\n<!--\r\n"
                                u"   function replaceImg(n){ myImg.src = 'shift_' + n + '.gif';}\r\n//-->\r\n"
                                u"</Script></HEAD>\r\n<BODY>\r\n<Form>シフト一覧　\r\n"
                                u"　　氏名区切り <SELECT name='Sel' onChange='replaceImg(Sel.value)'>\r\n"
                                u"<OPTION value=1>改行</OPTION>\r\n<OPTION value=2>／</OPTION>\r\n\r\n"
                                u"</SELECT></form>\r\n<img src='shift_1.gif' id='myImg'>\r\n"
                                u"<div id='syubetu-img'><img src='../kihon-settei/shift_1.gif'></div>\r\n"
                                u"<div id='syubetu-link'><a href='javascript:void(0);'>勤務種別表</a></div>\r\n"
                                u"</BODY>\r\n</HTML>"_s);
    const QString single = KindPageText(u"総合シフト表"_s, {}, {});
    EXPECT_TRUE(single.contains(u"<Form>総合シフト表　\r\n</form>\r\n<img src='shift_1.gif' id='myImg'>"_s));
    EXPECT_FALSE(single.contains(u"SELECT"_s));
}

TEST(HtmlPages, SharedPagesAndTheirLineEnds)
{
    const QString frame = FramePageText();
    EXPECT_TRUE(frame.startsWith(kHead + u"<TITLE>シフト表</TITLE>\r\n</HEAD>\r\n<FRAMESET rows='40,*'"_s));
    EXPECT_TRUE(frame.endsWith(u"</NOFRAMES>\r\n</FRAMESET>\r\n</HTML>"_s));

    const std::vector<HtmlKind>& kinds = HtmlKinds();
    const QString top = TopPageText(QDate(2027, 1, 1), {&kinds[0], &kinds[2]});
    EXPECT_TRUE(top.contains(u"<TD width='100'><FONT color='#009900'><A href='bottom.html' target='frame2'>2027年01月</A></FONT></TD>\r\n"
                             u"<TD width='110'><A href='shift/index.html' target='frame2'>総合シフト表</A></TD>\r\n"
                             u"<TD width='90'><A href='shift_list/index.html' target='frame2'>シフト一覧</A></TD>\r\n</TR>"_s));
    EXPECT_TRUE(top.endsWith(u"</BODY>\r\n</HTML>\r\n"_s));   // the one page with a final line end

    const QString bottom = BottomPageText(QDate(2027, 1, 21), QDate(2027, 2, 20), 20,
                                          QDateTime(QDate(2026, 12, 9), QTime(7, 5)), u"1分30秒"_s, u"0.1"_s);
    EXPECT_TRUE(bottom.contains(u"<BODY background='html-parts/bg.gif'>\r\n<div  id='main_title'>\r\n"
                                u"   <IMG src='html-parts/kinmu_shift.gif'>\r\n</div>\r\n<div id='main_info'>\r\n"
                                u"   期間：2027/01/21～2027/02/20<br>\r\n   要員：20名<br>\r\n"
                                u"   2026/12/09 07:05作成<br>\r\n   作成時間：1分30秒<br><br>\r\n"
                                u"   Quorvane 　0.1<br>\r\n</div></BODY></HTML>"_s));
    EXPECT_FALSE(bottom.endsWith(u"\n"_s));
    EXPECT_TRUE(bottom.startsWith(u"<!DOCTYPE html><html lang='ja'>\r\n<HEAD>\r\n"_s));
    EXPECT_EQ(bottom.count(u"<html"_s, Qt::CaseInsensitive), 1);
}

TEST(HtmlPages, LabelsAreEscapedAndNamesOutsideCp932Kept)
{
    EXPECT_EQ(HtmlEscape(u"<&>\"'"_s), u"&lt;&amp;&gt;&quot;&#39;"_s);
    EXPECT_EQ(HtmlEscape(u"101 佐藤 花子"_s), u"101 佐藤 花子"_s);
    EXPECT_EQ(HtmlEscape(u"𠮷田"_s), u"&#134071;田"_s);   // not in CP932: would print as "?"
    const QString page = KindPageText(u"個人別一覧"_s, {{1, u"7 <&>"_s}}, {});
    EXPECT_TRUE(page.contains(u"<OPTION value=1>7 &lt;&amp;&gt;</OPTION>"_s));
}

TEST(HtmlPages, FlagsAndElapsedTime)
{
    EXPECT_EQ(HtmlItemFlags(u"111"_s), u"1110000000"_s);
    EXPECT_EQ(HtmlItemFlags(u"12010000001"_s), u"1201000000"_s);   // only "1" selects; ten at most
    EXPECT_EQ(HtmlItemFlags({}), u"0000000000"_s);
    EXPECT_EQ(ElapsedText(89500), u"1分30秒"_s);   // halves go to the even second
    EXPECT_EQ(ElapsedText(88500), u"1分28秒"_s);
}

}  // namespace
