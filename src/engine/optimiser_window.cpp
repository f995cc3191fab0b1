#include "engine/optimiser_window.h"

#include <QtGlobal>

namespace {

std::unique_ptr<OptimiserWindowView>& view()
{
    static std::unique_ptr<OptimiserWindowView> v;
    return v;
}

OptimiserWindowState g_state;

void publish()
{
    if (view())
        view()->apply(g_state);
}

// Loading the window runs its load step: the stage text of a fresh window.
void load()
{
    if (g_state.loaded)
        return;
    g_state = OptimiserWindowState{};
    g_state.loaded = true;
    g_state.message = QStringLiteral("最適化しています！");
}

}  // namespace

void setOptimiserWindowView(std::unique_ptr<OptimiserWindowView> v)
{
    view() = std::move(v);
}

void resetOptimiserWindowState()
{
    g_state = OptimiserWindowState{};
}

namespace optwin {

void show()
{
    load();
    g_state.visible = true;
    publish();
}

void hide()
{
    if (!g_state.loaded)
        return;
    g_state.visible = false;
    publish();
}

void unload()
{
    if (!g_state.loaded)
        return;
    g_state = OptimiserWindowState{};
    publish();
}

void setMessage(const QString& text)
{
    load();
    g_state.message = text;
    publish();
}

void setScore(const QString& text)
{
    load();
    g_state.score = text;
    publish();
}

void setRange(int min, int max)
{
    load();
    g_state.min = min;
    g_state.max = qMax(min, max);
    g_state.value = qBound(g_state.min, g_state.value, g_state.max);
    publish();
}

void setValue(int value)
{
    load();
    g_state.value = qBound(g_state.min, value, g_state.max);
    publish();
}

const OptimiserWindowState& state()
{
    return g_state;
}

}  // namespace optwin
