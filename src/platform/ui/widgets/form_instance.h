#pragma once
// The default instance of a form: created on first use, gone after unload, created afresh when
// used again.
#include <QPointer>
#include <QWidget>

template <class T>
class DefaultInstance {
public:
    T& get()
    {
        if (!p_)
            p_ = new T;
        return *p_;
    }
    T* loaded() const { return p_.data(); }
    // Safe from the form's own handlers: the window is hidden now and deleted once control returns
    // to the event loop.
    void unload()
    {
        if (T* w = p_.data()) {
            p_.clear();
            w->hide();
            w->deleteLater();
        }
    }

private:
    QPointer<T> p_;
};
