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
// Library commands 1, 2, 3 and 16 are those of the skin state, and the panel passes them on to
// its children (1 before taking the new skin itself, the others after); the manager's broadcast
// stops at the panel so no child hears a command twice.

#include <functional>

#include "skinned/TacSkinnedControl.h"
#include "toolkit/TPanel.h"

namespace toolkit {
class TCanvas;
}

namespace skinned {

using TsPaintEvent = std::function<void(toolkit::TObject* sender, toolkit::TCanvas& canvas)>;

class TsPanel : public TacSkinnedControl<toolkit::TPanel> {
public:
    explicit TsPanel(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsPanel"; }

    TsPaintEvent OnPaint;

protected:
    void Paint() override;
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;

private:
    bool SkinActive() const;
    void SkinPaint(platform::DeviceContext& dc, bool printing);
    // A partial paint, a changed background or alignment: the cached face no longer fits.
    bool FaceStale() const;
    void RebuildCache();
    void DrawSkinCaption(toolkit::TCanvas& canvas);

    // The alignment the cached face was drawn with: changing it only invalidates.
    toolkit::TAlignment m_faceAlignment = toolkit::taCenter;
};

} // namespace skinned
