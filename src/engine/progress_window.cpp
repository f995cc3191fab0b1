#include "engine/progress_window.h"

#include <algorithm>

namespace {

std::unique_ptr<処理中View>& view()
{
    static std::unique_ptr<処理中View> v;
    return v;
}

処理中状態 g_state;

void publish()
{
    if (view())
        view()->apply(g_state);
}

void load()
{
    if (g_state.loaded)
        return;
    g_state = 処理中状態{};
    g_state.loaded = true;
}

}  // namespace

void set処理中View(std::unique_ptr<処理中View> v)
{
    view() = std::move(v);
}

namespace procwin {

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
    g_state = 処理中状態{};
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

const 処理中状態& state()
{
    return g_state;
}

}  // namespace procwin
