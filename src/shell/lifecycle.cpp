#include "shell/lifecycle.h"

#include "platform/ui/prompt.h"
#include "shell/msg_box.h"

#include <utility>

namespace {

int g_runs = 0;
std::function<void()> g_runEnded;
std::function<void()> g_ending;

}  // namespace

RunScope::RunScope()
{
    ++g_runs;
}

RunScope::~RunScope()
{
    if (--g_runs == 0 && g_runEnded)
        g_runEnded();
}

bool RunActive()
{
    return g_runs > 0;
}

void setRunEndedHook(std::function<void()> hook)
{
    g_runEnded = std::move(hook);
}

bool RefuseDuringRun()
{
    if (!RunActive())
        return false;
    MsgBox(QStringLiteral("シフト表の作成中・最適化中は実行できません。") + QStringLiteral("\r\n\r\n")
               + QStringLiteral("中止してから、もう一度実行して下さい。"),
           ui::vbOKOnly | ui::vbExclamation);
    return true;
}

void End()
{
    if (AppEnded)
        return;
    AppEnded = true;
    if (g_ending)
        g_ending();
}

void setEnding(std::function<void()> ending)
{
    g_ending = std::move(ending);
}

void resetLifecycle()
{
    g_runs = 0;
    g_runEnded = nullptr;
    g_ending = nullptr;
    AppEnded = false;
}
