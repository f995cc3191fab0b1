#pragma once
// Message boxes and modal dialogs as logic sees them: no widget types here.
//
// The scripted-answer hook. Every modal window of the program is asked through ui::ask():
//   1. the request (prompt, title, style and the kind of window) is recorded in shownMessages();
//   2. when a test has queued an answer (setNextAnswer / setNextText), that answer is returned and
//      no window is shown;
//   3. otherwise the handler installed for that kind runs (the windowed program installs real
//      windows at start-up: installWidgetDialogs() of ui/widgets, installShellWindows() of the
//      shell's forms) or, when none is installed, the caller's own show function, or at last the
//      headless default (the default button; the text goes to stderr).
// A dialog of a later window does the same: build a MessageRequest of kind Dialog titled with the
// form's name and call ask(request, [&] { return Answer{dialog.exec(), {}}; }). A test then queues
// the result and reads the recorded request; nothing blocks under QT_QPA_PLATFORM=offscreen.
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QObject;

namespace ui {

// Button styles and results of the standard box (the numbers the program passes around).
enum : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
    vbRetryCancel = 5, vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512, vbSystemModal = 4096,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Which window a request is for.
enum class Kind {
    Standard,  // the standard message box (showMessage)
    Custom,    // the program's own message box frmMsgBox (MyMsgBox)
    Input,     // the input box (inputBox)
    Folder,    // the folder picker (browseFolder)
    OpenFile,  // the file dialog for opening (openFileName)
    SaveFile,  // the file dialog for saving, with its own overwrite question (saveFileName)
    Notice,    // the countdown notice frmMsgWait
    Dialog,    // any other modal window; title = the form's name
};

struct MessageRequest {
    MessageRequest() = default;
    MessageRequest(QString prompt_, int buttons_, QString title_, Kind kind_ = Kind::Standard)
        : prompt(std::move(prompt_)), buttons(buttons_), title(std::move(title_)), kind(kind_)
    {
    }
    QString prompt;
    int buttons = 0;
    QString title;
    Kind kind = Kind::Standard;
    // Custom: the packed request record, the size in pixels (0 = design size), the auto-close
    // time in milliseconds and the display flag (above 0: the text box with scroll bars).
    QString record;
    int width = 0;
    int height = 0;
    int autoCloseMs = 0;
    int displayFlag = 0;
    // Input and Folder: the proposed text or start folder; the file dialogs: the start folder or
    // the proposed path.
    QString text;
    // The file dialogs: the file types offered, "name(*.ext);;name(*.*)".
    QString filter;
    // The window the dialog belongs to (nullptr: the active window).
    QObject* owner = nullptr;
};

// What a window answered: the result code (vbOK.., 0 for a closed or timed-out box) and, for the
// input box and the folder picker, the text (for frmMsgBox the caption of the pressed button).
struct Answer {
    int result = 0;
    QString text;
};

using MessageHandler = std::function<int(const MessageRequest&)>;
using DialogHandler = std::function<Answer(const MessageRequest&)>;

// The results of the buttons a style shows, left to right (4 = Yes/No, 5 = Retry/Cancel).
std::vector<int> buttonResults(int buttons);
// The result of the style's default button (vbDefaultButton2/3 pick the second or third).
int defaultResult(int buttons);

// The general entry: recorded, then a queued answer, the installed handler, show, or the default.
Answer ask(const MessageRequest& request, const std::function<Answer()>& show = {});
void setDialogHandler(Kind kind, DialogHandler handler);

// The standard box: an empty title is the caller's business (the program passes its title).
void setMessageHandler(MessageHandler handler);
int showMessage(const QString& prompt, int buttons, const QString& title);
// The input box: the text typed, or "" when cancelled (ok, when given, tells the two apart).
QString inputBox(const QString& prompt, const QString& title, const QString& proposal, bool* ok = nullptr);
// The folder picker over owner (nullptr: the active window): the chosen folder, or "" when cancelled.
QString browseFolder(const QString& title, const QString& startFolder, QObject* owner = nullptr);

// The file dialogs over owner (nullptr: the active window), titled title: the chosen path, or ""
// when cancelled. The open dialog takes only an existing file.
QString openFileName(const QString& title, const QString& startFolder, const QString& filter, QObject* owner = nullptr);
QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter, QObject* owner = nullptr);

// Test hooks: a queued answer is taken instead of asking; every request is recorded.
void setNextAnswer(int result);
// Queues an input box, folder picker or file dialog answer (result vbOK with that text).
void setNextText(const QString& text);
// Queues a full answer (for frmMsgBox: the result with the pressed caption).
void setNextAnswer(const Answer& answer);
const std::vector<MessageRequest>& shownMessages();
// Queued answers not yet taken.
size_t pendingAnswers();
void resetMessages();

}  // namespace ui
