#pragma once
// The one top-level trap of every event handler (buttons, menus, timers, the windows' own events):
// an error abandons that handler only, after its number and description have been shown, so no
// exception ever reaches the event loop.
#include <QString>
#include <exception>
#include <functional>

namespace ui {

// "number description" of an exception: a VbError gives its own; exhausted memory 7; anything
// else 51 (an internal error) with what the exception says.
QString errorText(const std::exception_ptr& error);

// Runs handler; an exception ends it and its errorText goes to show (the program's layers pass
// their own message box). True when the handler ran to its end.
bool guarded(const std::function<void()>& handler, const std::function<void(const QString& text)>& show);
// The same, shown in the standard box (OK only, titled title).
bool guarded(const std::function<void()>& handler, const QString& title);

}  // namespace ui
