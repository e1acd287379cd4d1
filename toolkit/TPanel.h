#pragma once
// The panel: a windowed container with bevels and a caption.
//
// Geometry (client coordinates): from the edge inwards come the outer bevel (BevelWidth pixels,
// raised by default), BorderWidth pixels of the panel's colour, and the inner bevel (none by
// default). Aligned children share what lies inside all three (AdjustClientRect), so a panel
// with BevelWidth 4 and the raised outer bevel puts an alClient child 4 pixels in from each edge.
//
// The caption is drawn inside the bevels, as one block centred vertically; each of its lines
// (CR, LF or CR LF end them) stands as Alignment says. An ampersand is shown as itself. A
// disabled panel shows its caption engraved. Children that lie over the caption hide it.
//
// Painting is split into virtual pieces (background, bevels, caption) so a skinned panel can
// replace the look and keep the behaviour; CaptionRect and CaptionFlags tell it where the plain
// panel puts the text.

#include "toolkit/TAlignment.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    std::string ClassName() const override { return "TCustomPanel"; }

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

    // The rectangle inside the bevels and the border, in client coordinates.
    platform::Rect InnerRect() const;
    // The block the caption's lines fill (centred vertically in InnerRect) and the flags it is
    // drawn with.
    platform::Rect CaptionRect() const;
    unsigned CaptionFlags() const;

protected:
    void Paint() override;
    virtual void PaintBackground(TCanvas& canvas, const platform::Rect& rect);
    // Draws the bevels and the border; answers the rectangle inside them.
    virtual platform::Rect PaintBevels(TCanvas& canvas, const platform::Rect& rect);
    virtual void PaintCaption(TCanvas& canvas);

private:
    TAlignment m_alignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    std::string ClassName() const override { return "TPanel"; }
};

} // namespace toolkit
