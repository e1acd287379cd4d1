#pragma once
// The root of the toolkit's class tree. Event handlers receive the object that raised the event
// as a TObject* (the sender); ClassName names the most derived class, as the streaming and skin
// code expect ("TsPanel", "TForm1").

#include <functional>
#include <string>
#include <utility>

namespace toolkit {

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

// The plain event: "something happened to sender".
using TNotifyEvent = std::function<void(TObject* sender)>;

// Runs an event handler through a copy, so a handler that frees the object raising the event
// (and with it the handler itself) still finishes safely.
template <class Handler, class... Args> void Fire(const Handler& handler, Args&&... args) {
    if (!handler)
        return;
    const Handler copy = handler;
    copy(std::forward<Args>(args)...);
}

} // namespace toolkit
