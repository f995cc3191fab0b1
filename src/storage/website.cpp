#include "storage/website.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "platform/os/clock.h"
#include "platform/os/save_file.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/myfile.h"
#include "shell/mymod.h"
#include "shell/desktop.h"
#include "shell/period.h"
#include "shell/status.h"
#include "storage/sheet_gif.h"
#include "workbook/sheet_names.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

// One folder level; its parent must exist.
void makeFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return;
    std::error_code ec;
    std::filesystem::create_directory(QFile::encodeName(path).toStdString(), ec);
    if (ec)
        throw fileError(ec.value());
}

void writePage(const QString& path, const QString& text)
{
    int e = 0;
    if (!os::writeWholeFile(path, text::toCp932(text), &e).isEmpty())
        throw fileError(!QFileInfo(path).dir().exists() ? ENOENT : e == ENOSPC ? ENOSPC : EACCES);
}

// frmPrgB's name for the next step; the kinds bar keeps its place, the pictures bar starts anew.
void progressName(const QString& name)
{
    const ProgressState s = progressState();
    showSharedProgress(name);
    setSharedProgress(1, s.min[1], s.max[1], s.value[1]);
}

int imageCount(int flag)
{
    switch (flag) {
    case 2: return Type_Cnt;
    case 3:
    case 4: return Day_Cnt;
    case 5: return Member_Cnt;
    case 8: return 2;
    default: return 1;
    }
}

std::vector<HtmlOption> kindOptions(int flag, const QDate& start)
{
    std::vector<HtmlOption> options;
    switch (flag) {
    case 2:
        for (int t = 1; t <= Type_Cnt; ++t)
            options.push_back({t, TypeText2(t)});
        break;
    case 3:
    case 4:
        for (int d = 1; d <= Day_Cnt; ++d)
            options.push_back({d, Format(start.addDays(d - 1), u"yyyy/mm/dd(aaa)"_s)});
        break;
    case 5:
        for (int i = 1; i <= Member_Cnt; ++i)
            options.push_back({i, QString::number(MemNo(i)) + u' ' + MemName(i)});
        break;
    case 8:
        options = {{1, u"改行"_s}, {2, u"／"_s}};
        break;
    default:
        break;
    }
    return options;
}

WebsiteResult cancelled(WebsiteResult result)
{
    MsgBox(u"キャンセルされました！"_s, 0, u"処理中止"_s);
    result.outcome = WebsiteResult::Cancelled;
    return result;
}

QString closingMessage(const QString& elapsed, qint64 size, const QStringList& failed, const QString& root)
{
    QString text = u"作成時間："_s + elapsed + u"\r\n合計ファイルサイズ："_s + Format(double(size), u"#,##0"_s) + u" バイト"_s;
    if (failed.isEmpty())
        return text;
    text += u"\r\n\r\n作成できなかった画像：%1 枚"_s.arg(failed.size());
    for (qsizetype i = 0; i < failed.size() && i < 10; ++i)
        text += u"\r\n　"_s + QString(failed[i]).remove(0, root.size());
    if (failed.size() > 10)
        text += u"\r\n　ほか %1 枚"_s.arg(failed.size() - 10);
    return text;
}

struct Site {
    QString root;       // ends with "/"
    QString flags;
    QDate start;
    QDate end;
};

// The pictures and page of every kind; false when cancelled.
bool buildKinds(const Site& site, std::vector<const HtmlKind*>& built, QStringList& failed)
{
    const int selected = StrCount(site.flags, u"1"_s);
    bool first = true;
    for (const HtmlKind& kind : HtmlKinds()) {
        if (!first && Sw_中止)
            return false;
        first = false;
        const QString dir = site.root + kind.folder;
        makeFolder(dir);
        FilesDelete({dir + u"/shift_*.gif"_s, dir + u"/index.html"_s});
        if (site.flags[kind.flag - 1] != u'1')
            continue;
        progressName(kind.name);
        failed += SheetToGif(xlBook->worksheets(kind.sheet), dir, kind.indexName, imageCount(kind.flag), 0);
        if (Sw_中止)
            return false;
        CreatePageIndex(dir, kind.title(), kindOptions(kind.flag, site.start), kind.flag == 8 ? u"　　氏名区切り "_s : QString());
        built.push_back(&kind);
        setSharedProgress(1, 0, selected, int(built.size()));
    }
    return !Sw_中止;
}

WebsiteResult build()
{
    Site site;
    const 期間 period = currentPeriod();
    site.start = period.開始日;
    site.end = period.終了日;
    QString folder = xlDtGet(u"Main"_s, u"HTML_PATH"_s).trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        const QString picked = BrowseForFolder(nullptr, u"HTML作成先"_s, GetFolderPath(46));
        if (!picked.isEmpty())
            folder = picked;
    }
    site.flags = HtmlItemFlags(xlDtGet(u"Main"_s, u"HTML_ITEM"_s));
    Sw_中止 = false;
    site.root = folder + u"/ShiftHtml/"_s;
    makeFolder(site.root);

    showSharedProgress(QString());
    setSharedProgress(1, 0, StrCount(site.flags, u"1"_s), 0);
    const qint64 started = os::elapsedMs();
    WebsiteResult result;
    std::vector<const HtmlKind*> built;
    if (!buildKinds(site, built, result.failedImages))
        return cancelled(result);

    progressName(u"HTML最終生成中・・・・"_s);
    FolderCopy(AppPath + u"/parts/html-parts"_s, site.root + u"html-parts"_s);
    writePage(site.root + u"index.html"_s, FramePageText());
    writePage(site.root + u"top.html"_s, TopPageText(site.start, built));
    const QString elapsed = ElapsedText(os::elapsedMs() - started);
    writePage(site.root + u"bottom.html"_s,
              BottomPageText(site.start, site.end, Member_Cnt, os::now(), elapsed, stVersion));

    SheetSelect(kRosterSheet);
    ShellOpen(site.root + u"index.html"_s, u"公開用HTML"_s);
    DoWait(1000);
    const qint64 size = FolderSize(site.root);
    MsgBox(closingMessage(elapsed, size, result.failedImages, site.root),
           4096 + (result.failedImages.isEmpty() ? 0 : 48), stAppTitle);
    result.outcome = WebsiteResult::Built;
    return result;
}

}  // namespace

QString HtmlItemFlags(const QString& stored)
{
    return (stored + u"0000000000"_s).left(10);
}

QString CreatePageIndex(const QString& folder, const QString& title, const std::vector<HtmlOption>& options,
                        const QString& prefix)
{
    const QString text = KindPageText(title, options, prefix);
    writePage(folder + u"/index.html"_s, text);
    return text;
}

WebsiteResult CreateWebsite()
{
    WebsiteResult result;
    try {
        result = build();
    } catch (const VbError& e) {
        MsgBox(e.text(), 0, u"エラー発生！"_s);
        try {
            SheetSelect(kRosterSheet);
        } catch (const VbError&) {
        }
        result.outcome = WebsiteResult::Failed;
    }
    closeSharedProgress();
    return result;
}
