#include "engine/progress_window.h"

#include <algorithm>

namespace {

std::unique_ptr<ProgressWindowView>& view()
{
    static std::unique_ptr<ProgressWindowView> v;
    return v;
}

ProgressWindowState g_state;

void publish()
{
    if (view())
        view()->apply(g_state);
}

void load()
{
    if (g_state.loaded)
        return;
    g_state = ProgressWindowState{};
    g_state.loaded = true;
}

}  // namespace

void setProgressWindowView(std::unique_ptr<ProgressWindowView> v)
{
    view() = std::move(v);
}

namespace progwin {

void show()
{
    load();
    g_state.visible = true;
    publish();
}

void unload()
{
    if (!g_state.loaded)
        return;
    g_state = ProgressWindowState{};
    publish();
}

void setMessage(const QString& text)
{
    load();
    g_state.message = text;
    g_state.messageVisible = true;
    publish();
}

void setRange(int min, int max)
{
    load();
    g_state.min = min;
    g_state.max = std::max(min, max);
    g_state.value = std::clamp(g_state.value, g_state.min, g_state.max);
    publish();
}

void setValue(int value)
{
    load();
    g_state.value = std::clamp(value, g_state.min, g_state.max);
    publish();
}

const ProgressWindowState& state()
{
    return g_state;
}

}  // namespace progwin
