#pragma once
// The canvas of a control. While the control paints, the canvas draws on the paint context it
// is given (SetHandle). Outside painting it asks for a context of its own on first use: the
// window's context for a windowed control, the parent window's context moved to the control and
// clipped to it for a graphic control. Such contexts are given back by FreeHandle, and all of
// them by FreeDeviceContexts, which the toolkit calls after every message it handles (as the
// drawing is then finished and shown).

#include <vector>

#include "platform/win/Paint.h"
#include "toolkit/TCanvas.h"

namespace toolkit {

class TControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl& control) : m_control(control) {}
    ~TControlCanvas() override;

    std::string ClassName() const override { return "TControlCanvas"; }
    TControl& Control() const { return m_control; }

    // Gives back a context this canvas took itself (not one handed in with SetHandle).
    void FreeHandle();
    static void FreeDeviceContexts();

protected:
    void CreateHandle() override;

private:
    TControl& m_control;
    platform::HWND m_dcWindow;
    platform::HDC m_ownDc = nullptr;
};

} // namespace toolkit
