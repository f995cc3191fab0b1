#pragma once
// The optimiser's progress window frm最適化 as logic sees it: the stage text (lblMsg), the score
// (lbl標準偏差) and the bar (Prg). No widget types: the state lives here, and the windowed program
// installs a view at start-up (installOptimiserWindow of the optimiser's forms) that draws it and
// whose "中止" button sets Sw_中止. Without one (tests, benchmarks) the state is only kept.
// Setting anything loads the window (its message then starts as "最適化しています！") without
// showing it; show() makes it visible.
#include <QString>
#include <memory>

struct OptimiserWindowState {
    bool loaded = false;
    bool visible = false;
    QString message;   // lblMsg
    QString score;     // lbl標準偏差
    int min = 0;       // Prg
    int max = 100;
    int value = 0;
};

class OptimiserWindowView {
public:
    virtual ~OptimiserWindowView() = default;
    // Shows, updates or (state.loaded false) unloads the window; every call carries the whole state.
    virtual void apply(const OptimiserWindowState& state) = 0;
};
void setOptimiserWindowView(std::unique_ptr<OptimiserWindowView> view);
// The state as before the first call (not loaded); the installed view stays and is not told.
void resetOptimiserWindowState();

namespace optwin {

void show();
// Visible = False: the window stays loaded.
void hide();
void unload();
void setMessage(const QString& text);
void setScore(const QString& text);
// A maximum below the minimum is raised to it, so the bar never gets an empty range.
void setRange(int min, int max);
// Kept within the range.
void setValue(int value);
const OptimiserWindowState& state();

}  // namespace optwin
