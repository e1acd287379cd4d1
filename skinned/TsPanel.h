#pragma once
// The skinned panel: a panel painted from its skin section ("PANEL" by default) while a skin is
// active, and exactly the plain TPanel otherwise. SkinData is its skin state (control type 51).
//
// Skinned painting: the section, then the caption, are painted into the skin state's cache
// bitmap (rebuilt only when the background changed or the previous paint was partial), OnPaint
// runs on the cache's canvas, and the cache goes to the screen in one copy; the graphic children
// are then composed over the cached background (ChildPainting.h) and the windowed children told
// to repaint. Bevels and border keep their meaning for the client rectangle but are not drawn:
// the section's borders take their place. The caption is one line high, centred vertically in
// the client rectangle, aligned by Alignment, an ampersand shown as itself, drawn in the
// section's font colours (engraved by the skin's disabled blend when the panel is disabled).
//
// Without an active skin the plain panel paints; OnPaint, when assigned, then paints instead of
// it with the panel's own canvas.
//
// Library commands 1, 2 and 3 are those of the skin state; the manager sends them to every
// control itself, so the panel does not pass them on to its children.

#include <functional>
#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TPanel.h"

namespace toolkit {
class TCanvas;
}

namespace skinned {

using TsPaintEvent = std::function<void(toolkit::TObject* sender, toolkit::TCanvas& canvas)>;

class TsPanel : public toolkit::TPanel {
public:
    explicit TsPanel(toolkit::TComponent* owner);
    ~TsPanel() override;

    std::string ClassName() const override { return "TsPanel"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    TsPaintEvent OnPaint;
    toolkit::TNotifyEvent OnMouseEnter;
    toolkit::TNotifyEvent OnMouseLeave;

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

protected:
    void Paint() override;

private:
    bool SkinActive() const;
    void HandleCommand(toolkit::TMessage& message);
    void SkinPaint(platform::DeviceContext& dc, bool printing);
    void RebuildCache();
    void DrawSkinCaption(toolkit::TCanvas& canvas);

    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
