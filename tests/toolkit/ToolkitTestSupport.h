#pragma once
// A headless window system and an application per test, a recorder of message boxes, and small
// controls that log the messages they see.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace toolkit::testing {

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>(platform::Rect{0, 0, 1024, 768});
        host = backend.get();
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        app = std::make_unique<TApplication>();
        previousBoxHandler = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return ModalResult::OK;
        });
    }
    void TearDown() override {
        app.reset();
        system.reset();
        SetMessageBoxHandler(previousBoxHandler);
    }

    // A form made by the application (the first one is the main form).
    template <class T = TForm> T* MakeForm(platform::Rect bounds = {100, 100, 500, 400}) {
        T* form = app->CreateForm<T>();
        form->SetBoundsRect(bounds);
        return form;
    }
    void Pump() { app->ProcessMessages(); }
    platform::Point ScreenOf(TControl& c, platform::Point client) {
        return c.ClientToScreen(client);
    }
    // The colour of a pixel of a form's window surface, at client coordinates of control c.
    platform::Color PixelAt(TControl& c, platform::Point client) {
        TCustomForm* form = c.ParentForm();
        const platform::DibSection* s = platform::GetWindowSurface(form->HandleIfAllocated());
        platform::Rect wr;
        platform::GetWindowRect(form->HandleIfAllocated(), wr);
        const platform::Point p = c.ClientToScreen(client);
        const int x = p.x - wr.left, y = p.y - wr.top;
        if (!s || x < 0 || y < 0 || x >= s->Width() || y >= s->Height())
            return 0xFFFFFFFF;
        const std::uint8_t* px = const_cast<platform::DibSection*>(s)->Row(y) + x * 4;
        return platform::RGB(px[2], px[1], px[0]);
    }

    platform::HeadlessBackend* host = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    std::unique_ptr<TApplication> app;
    std::vector<MessageBoxRequest> boxes;
    MessageBoxHandler previousBoxHandler;
};

// Messages seen by a control's WndProc, in order, with a name for failure output.
struct MessageLog {
    struct Entry {
        std::string control;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> entries;

    int Count(const std::string& control, UINT msg) const {
        int n = 0;
        for (const Entry& e : entries)
            n += e.control == control && e.msg == msg;
        return n;
    }
    std::vector<std::string> Order(UINT msg) const {
        std::vector<std::string> out;
        for (const Entry& e : entries)
            if (e.msg == msg)
                out.push_back(e.control);
        return out;
    }
    void Clear() { entries.clear(); }
};

// A graphic control that fills itself with its colour and logs its messages.
class TLoggedGraphic : public TGraphicControl {
public:
    TLoggedGraphic(TComponent* owner, MessageLog* log) : TGraphicControl(owner), m_log(log) {}
    void WndProc(TMessage& m) override {
        if (m_log)
            m_log->entries.push_back({Name(), m.Msg, m.WParam, m.LParam});
        TGraphicControl::WndProc(m);
    }

protected:
    void Paint() override {
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(ClientRect());
    }

private:
    MessageLog* m_log;
};

// A windowed control that paints itself with its colour and logs its messages.
class TLoggedWindow : public TCustomControl {
public:
    TLoggedWindow(TComponent* owner, MessageLog* log) : TCustomControl(owner), m_log(log) {
        SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    }
    void WndProc(TMessage& m) override {
        if (m_log)
            m_log->entries.push_back({Name(), m.Msg, m.WParam, m.LParam});
        TCustomControl::WndProc(m);
    }

private:
    MessageLog* m_log;
};

} // namespace toolkit::testing
