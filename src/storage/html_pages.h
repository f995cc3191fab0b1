#pragma once
// The texts of the published site's pages, built line by line with CR LF line ends. They are
// written in CP932, as their Shift_JIS declaration says.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// One page kind of the site.
struct HtmlKind {
    int flag;            // its position in HTML_ITEM, 1..10
    QString folder;      // below the site root
    QString caption;     // menu text
    int menuWidth;
    QString name;        // shown while its pictures are made
    bool listTitle;      // the page title is the name with "一覧" after it
    QString sheet;       // the worksheet pictured
    QString indexName;   // its index range; "" for a sheet of one picture
    QString title() const { return listTitle ? name + QStringLiteral("一覧") : name; }
};
// The ten kinds in the order the site is built (flags 1, 2, 8, 3, 4, 5, 6, 7, 9, 10).
const std::vector<HtmlKind>& HtmlKinds();

// One entry of a kind page's list: the image number and its label (plain text).
struct HtmlOption {
    int value;
    QString label;
};

// Text made safe for a page: & < > " ' as entities, and characters CP932 cannot hold as
// numeric references, so a name shows as it is spelled.
QString HtmlEscape(const QString& text);

// A kind's index.html: the title, the list (when there are options) with the text in front of
// it, the first picture, and the shift-type table behind the link "勤務種別表".
QString KindPageText(const QString& title, const std::vector<HtmlOption>& options, const QString& prefix);
// The site's index.html: the frameset of the menu bar over the information page.
QString FramePageText();
// top.html: the month, then one menu cell per selected kind in building order.
QString TopPageText(const QDate& periodStart, const std::vector<const HtmlKind*>& selected);
// bottom.html: the period, the members, when and how long it was made, the program's version.
QString BottomPageText(const QDate& periodStart, const QDate& periodEnd, int members, const QDateTime& made,
                       const QString& elapsed, const QString& version);
// "m分r秒" for a time in milliseconds, taken to the nearest second (halves to the even second).
QString ElapsedText(qint64 ms);
