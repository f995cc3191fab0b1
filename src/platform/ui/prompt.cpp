#include "platform/ui/prompt.h"

#include <cstdio>
#include <deque>

namespace ui {
namespace {

struct State {
    MessageHandler handler;
    std::deque<int> answers;
    std::vector<MessageRequest> shown;
};

State& state()
{
    static State s;
    return s;
}

}  // namespace

std::vector<int> buttonResults(int buttons)
{
    switch (buttons & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int defaultResult(int buttons)
{
    const auto results = buttonResults(buttons);
    const size_t pick = (buttons & vbDefaultButton3) ? 2 : (buttons & vbDefaultButton2) ? 1 : 0;
    return results[pick < results.size() ? pick : 0];
}

void setMessageHandler(MessageHandler handler)
{
    state().handler = std::move(handler);
}

int showMessage(const QString& prompt, int buttons, const QString& title)
{
    State& s = state();
    const MessageRequest request{prompt, buttons, title};
    s.shown.push_back(request);
    if (!s.answers.empty()) {
        const int answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    if (s.handler)
        return s.handler(request);
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(title), qUtf8Printable(prompt));
    return defaultResult(buttons);
}

void setNextAnswer(int result)
{
    state().answers.push_back(result);
}

const std::vector<MessageRequest>& shownMessages()
{
    return state().shown;
}

void resetMessages()
{
    state().answers.clear();
    state().shown.clear();
}

}  // namespace ui
