#pragma once
// A run window's state drawn by its form: the form is made and loaded by the first state that
// wants it, updated by each later one, and unloaded by a state that no longer wants it.
#include "engine/run_window.h"
#include "platform/ui/widgets/form_instance.h"

template <class Form>
class WindowedRunView : public RunWindowView {
public:
    explicit WindowedRunView(DefaultInstance<Form>& window) : window_(window) {}

    void apply(const RunWindowState& s) override
    {
        if (!s.loaded) {
            window_.unload();
            return;
        }
        const bool fresh = !window_.loaded();
        Form& f = window_.get();
        if (fresh)
            f.Form_Load();
        f.apply(s);
    }

private:
    DefaultInstance<Form>& window_;
};
