#include "engine/run_window.h"

#include <algorithm>

RunWindow::RunWindow(QString freshMessage)
    : freshMessage_(std::move(freshMessage))
{
}

void RunWindow::setView(std::unique_ptr<RunWindowView> view)
{
    view_ = std::move(view);
}

void RunWindow::reset()
{
    state_ = RunWindowState{};
}

void RunWindow::publish()
{
    if (view_)
        view_->apply(state_);
}

void RunWindow::load()
{
    if (state_.loaded)
        return;
    state_ = RunWindowState{};
    state_.loaded = true;
    state_.message = freshMessage_;
    state_.messageVisible = !freshMessage_.isEmpty();
}

void RunWindow::show()
{
    load();
    state_.visible = true;
    publish();
}

void RunWindow::hide()
{
    if (!state_.loaded)
        return;
    state_.visible = false;
    publish();
}

void RunWindow::unload()
{
    if (!state_.loaded)
        return;
    state_ = RunWindowState{};
    publish();
}

void RunWindow::setMessage(const QString& text)
{
    load();
    state_.message = text;
    state_.messageVisible = true;
    publish();
}

void RunWindow::setScore(const QString& text)
{
    load();
    state_.score = text;
    publish();
}

void RunWindow::setRange(int min, int max)
{
    load();
    state_.min = min;
    state_.max = std::max(min, max);
    state_.value = std::clamp(state_.value, state_.min, state_.max);
    publish();
}

void RunWindow::setValue(int value)
{
    load();
    state_.value = std::clamp(value, state_.min, state_.max);
    publish();
}
