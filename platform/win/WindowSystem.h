#pragma once
// The running window system: one per process at a time, on the thread that creates it. It takes
// a backend (headless or sdl), answers the window functions while it lives, and on destruction
// destroys every window still there (each gets WM_DESTROY and WM_NCDESTROY) and forgets classes,
// timers and hooks, so tests start from nothing.

#include <memory>

#include "platform/backend/Backend.h"

namespace platform {

class WindowSystem {
public:
    explicit WindowSystem(std::unique_ptr<Backend> backend);
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;
    ~WindowSystem();

    Backend& GetBackend() { return *m_backend; }
    static bool Running();

private:
    std::unique_ptr<Backend> m_backend;
    std::unique_ptr<InputSink> m_sink;
};

} // namespace platform
