#pragma once
// A run's progress window as logic sees it, one module for both: the generation's frm処理中
// (status text txtMsg, hidden until a failed day shows it; the bar PBar; the remaining time and the
// stop button belong to the window itself, engine/time_limit.h and Sw_中止) and the optimiser's
// frm最適化 (stage text lblMsg, the score lbl標準偏差, the bar Prg; its "中止" button sets Sw_中止).
// No widget types: the state lives here, and the windowed program installs a view for each at
// start-up that draws it; without one (tests, benchmarks) the state is only kept. Setting anything
// loads the window without showing it; show() makes it visible.
#include <QString>
#include <memory>

struct RunWindowState {
    bool loaded = false;
    bool visible = false;
    QString message;              // txtMsg, lblMsg
    bool messageVisible = false;
    QString score;                // lbl標準偏差
    int min = 0;                  // PBar, Prg
    int max = 100;
    int value = 0;
};

class RunWindowView {
public:
    virtual ~RunWindowView() = default;
    // Shows, updates or (state.loaded false) unloads the window; every call carries the whole state.
    virtual void apply(const RunWindowState& state) = 0;
};

class RunWindow {
public:
    // A freshly loaded window shows `freshMessage` (nothing when it is empty).
    explicit RunWindow(QString freshMessage = {});
    RunWindow(const RunWindow&) = delete;
    RunWindow& operator=(const RunWindow&) = delete;

    void setView(std::unique_ptr<RunWindowView> view);
    // The state as before the first call (not loaded); the installed view stays and is not told.
    void reset();

    void show();
    // Visible = False: the window stays loaded.
    void hide();
    void unload();
    // Sets the message and shows it.
    void setMessage(const QString& text);
    void setScore(const QString& text);
    // A maximum below the minimum is raised to it, so the bar never gets an empty range.
    void setRange(int min, int max);
    // Kept within the range.
    void setValue(int value);
    const RunWindowState& state() const { return state_; }

private:
    void load();
    void publish();

    QString freshMessage_;
    std::unique_ptr<RunWindowView> view_;
    RunWindowState state_;
};

// The generation's progress window frm処理中.
inline RunWindow progwin;
// The optimiser's progress window frm最適化: loading it runs its load step, the stage text of a
// fresh window.
inline RunWindow optwin{QStringLiteral("最適化しています！")};
