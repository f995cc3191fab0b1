#pragma once
// The standard message box as logic sees it: no widget types here. The windowed program installs
// a handler that shows a real box; without one (tests, benchmarks, tools) the box answers with its
// default button and the text goes to stderr. Tests queue answers and read what was shown.
#include <QString>
#include <functional>
#include <vector>

namespace ui {

// Button styles and results of the standard box (the numbers the program passes around).
enum : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
    vbRetryCancel = 5, vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512, vbSystemModal = 4096,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MessageRequest {
    QString prompt;
    int buttons = 0;
    QString title;
};
using MessageHandler = std::function<int(const MessageRequest&)>;

// The results of the buttons a style shows, left to right.
std::vector<int> buttonResults(int buttons);
// The result of the style's default button (vbDefaultButton2/3 pick the second or third).
int defaultResult(int buttons);

void setMessageHandler(MessageHandler handler);
int showMessage(const QString& prompt, int buttons, const QString& title);

// Test hooks: a queued answer is taken instead of asking; every request is recorded.
void setNextAnswer(int result);
const std::vector<MessageRequest>& shownMessages();
void resetMessages();

}  // namespace ui
