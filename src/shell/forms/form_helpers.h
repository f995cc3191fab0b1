#pragma once
// Helpers on the program's own windows and controls: loading and waiting for forms, z-order,
// focus, window search by title, key presses and list helpers. Only the program's own windows
// are reachable: other programs' windows and system-wide key injection have no place here.
#include <QString>
#include <functional>

class QAbstractButton;
class QComboBox;
class QObject;
class QTimer;
class QListWidget;
class QWidget;

// Runs an event handler of the program's windows through the guarded-handler trap (an error ends
// that handler only, shown under the program's title); nothing runs once the program has ended.
// It runs as work of window's window (ui::WindowWork): closing or deleting it waits for its end.
void RunHandler(const std::function<void()>& handler, QWidget* window = nullptr);
// A button's click or a timer's tick, run through RunHandler as work of the button's window or
// of the context when that is a window.
void OnClick(QAbstractButton* button, QObject* context, std::function<void()> handler);
void OnTimeout(QTimer* timer, QObject* context, std::function<void()> handler);

// Twips per pixel of the window's screen (15 at 96 dpi).
int TwipsPerPixelX(const QWidget* w = nullptr);
int TwipsPerPixelY(const QWidget* w = nullptr);

// Shows the form; nothing happens for a missing form.
void LoadObj(QWidget* form);
// Closes the form and deletes it once control returns to the event loop.
void UnloadObj(QWidget* form);
// Shows the form modeless and returns when it is hidden (events run meanwhile).
void ShowWaitVisible(QWidget* form);
// Shows the form modeless and returns when it no longer exists (it is deleted when it closes).
// Waits in its own event loop, so it also returns while Sw_中止 is set.
void ShowWaitClose(QWidget* form);

// Into the topmost band, or (toBottom) below the other windows without activating.
void FormTopMost(QWidget* form, bool toBottom = false);
void FormNoTopMost(QWidget* form);
// Windows stay opaque: these do nothing.
inline void FormTr(QWidget*, int) {}
inline void FormTrInit(QWidget*) {}
QString GetClsName(const QWidget* w);
// Focuses the control; moveCursor puts the mouse pointer on its centre.
void SetFocusCursor(QWidget* control, bool moveCursor);

// The program's top-level window whose title equals the search text, else the last whose title
// contains it; nullptr when none. The search text: "Microsoft Access" for a name ending in "mdb",
// else the name up to its first ".".
QWidget* FindWinByTitle(const QString& name);
QString FindWinSearchText(const QString& name);

// Key events (Windows virtual-key codes) sent to the focused widget of the program.
void KeyDown(int vk);
void KeyUp(int vk);
void KeyPress(int vk);
void KeyEsc();
void SendKeys(int count, const int* codes, const int* upFlags);

// Fills the combo box with the lines of text (CR LF, LF too); an empty last line is added.
void ComboSetList(QComboBox* box, const QString& text);
void SetRedraw(QWidget* w, bool on);
// Lets the list scroll sideways over 1.5 x factor times its width.
void ListHScroll(QListWidget* list, long factor);
// The first index 0..count whose item equals text; 0 when none (as for the first item).
int ListFindIdx(const QListWidget* list, const QString& text);
// The same for a combo box's entries.
int ListFindIdx(const QComboBox* box, const QString& text);
