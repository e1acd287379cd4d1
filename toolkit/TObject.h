#pragma once
// The root of the toolkit's class tree. Event handlers receive the object that raised the event
// as a TObject* (the sender); ClassName names the most derived class, as the streaming and skin
// code expect ("TsPanel", "TForm1").

#include <functional>
#include <string>

namespace toolkit {

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

// The plain event: "something happened to sender".
using TNotifyEvent = std::function<void(TObject* sender)>;

} // namespace toolkit
