#include "storage/sheet_gif.h"

#include "engine/model.h"
#include "platform/image/image_convert.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <cmath>

using namespace Qt::StringLiterals;

std::optional<int> PictureIndex(const QString& sheetName, int k)
{
    if (sheetName == u"時間帯別"_s || sheetName == u"日別要員"_s)
        return k - 1;
    if (sheetName == u"シフト一覧"_s || sheetName == u"シフト別"_s || sheetName == u"個人別"_s)
        return k;
    return std::nullopt;
}

QString PictureRange(xl::Worksheet& sheet)
{
    const QString name = sheet.name();
    if (name == kRosterSheet)
        return u"A3:BK81"_s;
    if (name == u"時間帯別"_s)
        return u"A4:BN57"_s;
    if (name == u"シフト一覧"_s)
        return u"C4:"_s + ColName(Day_Cnt + 3) + QString::number(Type_Cnt + 6);
    if (name == u"日別要員"_s)
        return RangeAddr(sheet.range(u"A3"_s), Type_Cnt + 1, long(Val(XlText(sheet.range(u"YoinMax"_s).value()))) + 4);
    if (name == u"シフト別"_s)
        return u"B4:"_s + ColName(long(std::nearbyint(Val(XlText(sheet.range(u"A4"_s).value())))) + 4)
               + QString::number(Day_Cnt + 4);
    if (name == u"個人別"_s)
        return u"B3:H"_s + QString::number(Type_Cnt + 29);
    if (name == u"スケジュール"_s)
        return u"B3:AL"_s + QString::number(Member_Cnt + 4);
    if (name == u"予約表"_s)
        return u"A3:AG"_s + QString::number(Member_Cnt + 4);
    if (name == u"基本設定"_s)
        return u"A1:AN170"_s;
    if (name == u"要員設定"_s)
        return u"A1:DG60"_s;
    throw xl::Error(1004, u"シート %1 には画像にする範囲がありません。"_s.arg(name));
}

bool SavePictureGif(const QImage& picture, const QString& imageName)
{
    return !ImgConvert(imageName + u".gif"_s, picture);
}

QStringList SheetToGif(xl::Worksheet& sheet, const QString& folder, const QString& indexName, int n, int bar)
{
    setSharedProgress(bar, 0, n, 0);
    // Each index written recalculates its page before it is pictured.
    xlAppSetting(true, true, true);
    sheet.activate();
    sheet.protect(true, true, true, true);
    QStringList failed;
    for (int k = 1; k <= n; ++k) {
        DoEvents();
        if (Sw_中止)
            break;
        if (const std::optional<int> index = PictureIndex(sheet.name(), k))
            sheet.range(indexName).setValue(double(*index));
        const xl::Range range = sheet.range(PictureRange(sheet));
        QImage picture;
        try {
            picture = range.copyPicture();
        } catch (const xl::Error&) {
            // A range too large to draw: that image is missing and reported with the others.
        }
        const QString imageName = folder + u"/shift_"_s + QString::number(k);
        if (SavePictureGif(picture, imageName))
            failed << imageName + u".gif"_s;
        setSharedProgress(bar, 0, n, k);
    }
    return failed;
}
