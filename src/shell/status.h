#pragma once
// Status windows as logic sees them: the message splash (DspSplash), the boot splash with its
// step stamps, the progress bars frmPrgB and the countdown notice frmMsgWait. No widget types:
// the state lives here, and the windowed program installs StatusWindows at start-up to draw it.
// Without one (tests, benchmarks) the state is only kept, so tests read it back.
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>

// What frmSplash shows.
struct SplashState {
    bool loaded = false;
    QString message;
    QColor fore;
    QColor back;
    int widthTwips = 0;
    QString tag;  // the hide number as text
};

// What frmPrgB shows: the name and two bars.
struct ProgressState {
    bool loaded = false;
    QString name;
    int min[2] = {0, 0};
    int max[2] = {100, 100};
    int value[2] = {0, 0};
};

// Drawn by the windowed program; every call reflects the whole state.
class StatusWindows {
public:
    virtual ~StatusWindows() = default;
    // Shows, updates or (state.loaded false) unloads frmSplash.
    virtual void splash(const SplashState& state) = 0;
    // Shows the boot splash with a message, or unloads it for "".
    virtual void bootSplash(const QString& message) = 0;
    virtual bool bootSplashLoaded() const = 0;
    virtual void bootProgress(const QString& line) = 0;
    virtual void progress(const ProgressState& state) = 0;
};
void setStatusWindows(std::unique_ptr<StatusWindows> windows);
// Splash, progress and time stamps as a fresh start leaves them; the installed windows stay.
void resetStatusState();

// A Windows colour value (&HBBGGRR) as a colour.
QColor VbColor(long bgr);

// Shows message in the shared status window, or removes it for "". Suppressed while Sw_表示抑止
// unless force. foreColor 0: blue on pale green; else that text colour and, when backColor is not
// 0, that background. hideNumber > 0 removes the window again before returning.
void DspSplash(const QString& message, long foreColor = 0, long backColor = 0, long hideNumber = 0,
               bool force = false, int transparency = 255);
const SplashState& splashState();

// Where a status window of that size goes on that screen for 進行状況表示 = placement: 0 upper
// centre (progressWindow: centred), 1 top right, 2 bottom right, 3 bottom left, 50 px from the
// edges; any other value keeps current.
QPoint StatusWindowPos(long placement, const QRect& screen, const QSize& window, const QPoint& current,
                       bool progressWindow);

// The boot splash: "" unloads it.
void DspBootSplash(const QString& message);
// Stamps a start-up step. reset starts a new table. For a label ending in "End" whose matching
// "... Start" was stamped, "  (ms)" is appended to the caller's label. The stamp line goes to the
// boot splash.
void BootStepTime(QString& label, bool reset = false);
inline void BootStepTime(QString&& label, bool reset = false)
{
    BootStepTime(label, reset);
}
// The last stamp line, and the line for a number of milliseconds since the reset.
QString BootStepLine();
QString BootStampText(qint64 ms, const QString& label);

// frmPrgB from logic: show with a name, set a bar (0 = ProgB, 1 = ProgB2), close.
void showSharedProgress(const QString& name);
void setSharedProgress(int bar, int min, int max, int value);
void closeSharedProgress();
const ProgressState& progressState();

// Shows frmMsgWait with the message for MsgWaitTime milliseconds; its stop button sets Sw_中止.
void ShowMsgWait(const QString& message);
