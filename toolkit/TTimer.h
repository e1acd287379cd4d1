#pragma once
// A timer component: while Enabled, with an Interval above 0 (milliseconds) and an OnTimer
// handler, OnTimer runs every Interval on the interface thread (a platform timer on a hidden
// window of the timer's own; the platform raises intervals below 10 ms to 10 ms, and a timer
// that falls behind fires once). Changing any of the three restarts the count. Without a running
// window system the timer only keeps its settings. An exception from OnTimer goes to the
// application's error box like any handler's.

#include "platform/win/WinDefs.h"
#include "toolkit/TComponent.h"

namespace toolkit {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    std::string ClassName() const override { return "TTimer"; }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    unsigned Interval() const { return m_interval; }
    void SetInterval(unsigned ms);
    const TNotifyEvent& OnTimer() const { return m_onTimer; }
    void SetOnTimer(TNotifyEvent handler);

    // Whether a platform timer is running now.
    bool Running() const { return m_running; }

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void Stop();

    bool m_enabled = true;
    unsigned m_interval = 1000;
    TNotifyEvent m_onTimer;
    platform::HWND m_window;
    bool m_running = false;
};

} // namespace toolkit
