#pragma once
// The program's own message box (frmMsgBox, asked through MyMsgBox), the standard message box and
// the input box, as logic calls them. All go through the scripted-answer hook of ui/prompt.h.
#include <QString>
#include <QStringList>
#include <functional>

// The request record: 12 fields joined by Chr(1): prompt, buttons, title, auto-close ms, n4,
// t1, v1, t2, v2, t3, v3, display flag.
QString MsgBoxRequest(const QString& prompt, long buttons, const QString& title, long autoCloseMs, long n4,
                      const QString& t1, long v1, const QString& t2, long v2, const QString& t3, long v3,
                      long displayFlag);

// The fields of a request record as frmMsgBox reads them.
struct MsgBoxFields {
    QString prompt;
    long buttons = 0;
    QString title;
    long autoCloseMs = 0;
    long displayFlag = 0;
};
MsgBoxFields ParseMsgBoxRequest(const QString& record);

// The captions of a button set (buttons & 255), left to right: 0 Ok; 1 Ok/Cancel; 2 中止/再試行/無視;
// 3 はい/いいえ/キャンセル; 4 はい/いいえ; 5 再試行/キャンセル; anything else Ok.
QStringList MsgBoxCaptions(long buttons);
// The button that takes Enter: &256 the second, &512 the third (when shown), else the first.
int MsgBoxDefaultIndex(long buttons);
// Caption of the pressed button -> result: Ok 1, Cancel/キャンセル 2, 中止 3, 再試行 4, 無視 5,
// はい 6, いいえ 7; anything else (the countdown, the close box) 0.
long MsgBoxResult(const QString& caption);

// Shows frmMsgBox modally and gives the result code of the pressed button (0 after the countdown
// or the close box). width and height are pixels (both needed, else the design size); an empty
// title is the program's title. DlgParam holds the request, then the pressed caption.
long MyMsgBox(const QString& prompt, long buttons = 0, const QString& title = {}, long width = 0, long height = 0,
              long autoCloseMs = 0, const QString& t1 = {}, long v1 = 0, const QString& t2 = {}, long v2 = 0,
              const QString& t3 = {}, long v3 = 0, long n4 = 0, long displayFlag = 0);

// The standard box, for every caller of the program (styles 0, 1, 3, 4, +256/512 default button,
// +4096 on top; results 1..7);
// an empty title is the program's title. This box and MyMsgBox's take the boot splash down first.
int MsgBox(const QString& prompt, int style = 0, const QString& title = {});
// The input box: the text typed, "" when cancelled.
QString InputBox(const QString& prompt, const QString& title = {}, const QString& proposal = {});

// Runs handler through the guarded-handler trap of ui/guard.h, an error shown in the standard
// box above (OK only, critical; an empty title is the program's title). True when the handler
// ran to its end.
bool runGuarded(const std::function<void()>& handler, const QString& title = {});
