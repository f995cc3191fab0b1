#pragma once
// The generation's progress window frm処理中 as logic sees it: the status text (txtMsg, hidden
// until a failed day shows it), the bar (PBar). The remaining time and the stop button belong to
// the window itself (engine/time_limit.h, Sw_中止). No widget types: the state lives here, and
// the windowed program installs a view at start-up that draws it; without one (tests,
// benchmarks) the state is only kept.
#include <QString>
#include <memory>

struct ProgressWindowState {
    bool loaded = false;
    bool visible = false;
    QString message;              // txtMsg
    bool messageVisible = false;
    int min = 0;                  // PBar
    int max = 100;
    int value = 0;
};

class ProgressWindowView {
public:
    virtual ~ProgressWindowView() = default;
    // Shows, updates or (state.loaded false) unloads the window; every call carries the whole state.
    virtual void apply(const ProgressWindowState& state) = 0;
};
void setProgressWindowView(std::unique_ptr<ProgressWindowView> view);

namespace progwin {

// Loads and shows the window.
void show();
void unload();
// Sets and shows txtMsg.
void setMessage(const QString& text);
// A maximum below the minimum is raised to it.
void setRange(int min, int max);
// Kept within the range.
void setValue(int value);
const ProgressWindowState& state();

}  // namespace progwin
