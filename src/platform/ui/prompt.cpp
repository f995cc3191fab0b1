#include "platform/ui/prompt.h"

#include <cstdio>
#include <deque>
#include <map>

namespace ui {
namespace {

struct State {
    MessageHandler handler;
    std::map<Kind, DialogHandler> dialogs;
    std::deque<Answer> answers;
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

Answer ask(const MessageRequest& request, const std::function<Answer()>& show)
{
    State& s = state();
    s.shown.push_back(request);
    if (!s.answers.empty()) {
        const Answer answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    if (request.kind == Kind::Standard && s.handler)
        return Answer{s.handler(request), {}};
    const auto it = s.dialogs.find(request.kind);
    if (it != s.dialogs.end() && it->second)
        return it->second(request);
    if (show)
        return show();
    // Headless: nobody can answer, so the default button is taken (cancel for the pickers).
    if (request.kind == Kind::Input || request.kind == Kind::Folder || request.kind == Kind::OpenFile
        || request.kind == Kind::SaveFile)
        return Answer{vbCancel, {}};
    if (!request.prompt.isEmpty())
        std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(request.title), qUtf8Printable(request.prompt));
    return Answer{request.kind == Kind::Notice ? 0 : defaultResult(request.buttons), {}};
}

void setDialogHandler(Kind kind, DialogHandler handler)
{
    state().dialogs[kind] = std::move(handler);
}

void setMessageHandler(MessageHandler handler)
{
    state().handler = std::move(handler);
}

int showMessage(const QString& prompt, int buttons, const QString& title)
{
    return ask(MessageRequest{prompt, buttons, title}).result;
}

QString inputBox(const QString& prompt, const QString& title, const QString& proposal, bool* ok)
{
    MessageRequest r{prompt, vbOKCancel, title, Kind::Input};
    r.text = proposal;
    const Answer a = ask(r);
    if (ok)
        *ok = a.result == vbOK;
    return a.result == vbOK ? a.text : QString();
}

QString browseFolder(const QString& title, const QString& startFolder, QObject* owner)
{
    MessageRequest r{title, vbOKCancel, title, Kind::Folder};
    r.text = startFolder;
    r.owner = owner;
    const Answer a = ask(r);
    return a.result == vbOK ? a.text : QString();
}

namespace {

QString askFile(Kind kind, const QString& title, const QString& text, const QString& filter, QObject* owner)
{
    MessageRequest r{title, vbOKCancel, title, kind};
    r.text = text;
    r.filter = filter;
    r.owner = owner;
    const Answer a = ask(r);
    return a.result == vbOK ? a.text : QString();
}

}  // namespace

QString openFileName(const QString& title, const QString& startFolder, const QString& filter, QObject* owner)
{
    return askFile(Kind::OpenFile, title, startFolder, filter, owner);
}

QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter, QObject* owner)
{
    return askFile(Kind::SaveFile, title, proposedPath, filter, owner);
}

void setNextAnswer(int result)
{
    state().answers.push_back(Answer{result, {}});
}

void setNextText(const QString& text)
{
    state().answers.push_back(Answer{vbOK, text});
}

void setNextAnswer(const Answer& answer)
{
    state().answers.push_back(answer);
}

const std::vector<MessageRequest>& shownMessages()
{
    return state().shown;
}

size_t pendingAnswers()
{
    return state().answers.size();
}

void resetMessages()
{
    state().answers.clear();
    state().shown.clear();
}

}  // namespace ui
