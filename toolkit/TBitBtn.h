#pragma once
// The push button with a picture: a TButton whose content is a glyph and a caption placed
// together (CalcButtonLayout: Layout, Margin, Spacing; defaults glyph left, -1, 4).
//
// Glyph: a bitmap of NumGlyphs cells (up, disabled, down) with a transparent colour (the
// bottom left pixel unless given), or the program's own 24-bit pictures through
// SetGlyphPixels (magenta transparent), or an image of Images at ImageIndex when there is no
// bitmap. Setting a glyph makes Kind bkCustom.
//
// Kind: bkOK and bkCancel give the button our own tick or cross picture, the caption "OK" or
// "Cancel", ModalResult mrOk or mrCancel, and make it the Default or the Cancel button;
// bkCustom changes nothing of that.
//
// The caption may hold several lines (CR, LF); with WordWrap long lines break between words
// within the space the glyph leaves.

#include "toolkit/TButton.h"
#include "toolkit/TButtonGlyph.h"

namespace toolkit {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel };
using enum TBitBtnKind;

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    std::string ClassName() const override { return "TBitBtn"; }

    TBitmap& Glyph() { return m_glyph.Bitmap(); }
    void SetGlyph(const TBitmap& bitmap, TColor transparent = clDefault);
    void SetGlyphPixels(int width, int height, std::span<const std::uint8_t> bgr,
                        platform::Color transparent = kImageListMask);
    TButtonGlyph& GlyphData() { return m_glyph; }
    const TButtonGlyph& GlyphData() const { return m_glyph; }
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int count) { m_glyph.SetNumGlyphs(count); }
    TImageList* Images() const { return m_glyph.Images(); }
    void SetImages(TImageList* images);
    int ImageIndex() const { return m_glyph.ImageIndex(); }
    void SetImageIndex(int index) { m_glyph.SetImageIndex(index); }

    TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind kind);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return m_margin; }
    void SetMargin(int margin);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on);

    // Where glyph and caption go inside content (before the pressed shift), and the flags the
    // caption is drawn with.
    TButtonPlacement Placement(const platform::Rect& content) const;
    unsigned CaptionFlags() const;
    // The glyph state for the button's current state.
    TButtonState GlyphState() const;

protected:
    void PaintContent(TCanvas& canvas, const platform::Rect& content) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TButtonGlyph m_glyph;
    TBitBtnKind m_kind = bkCustom;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    bool m_wordWrap = false;
};

// Our own pictures for the kinds (16 x 16, rows top-down, blue green red, magenta transparent);
// empty for bkCustom.
std::vector<std::uint8_t> KindGlyphPixels(TBitBtnKind kind);
constexpr int kKindGlyphSize = 16;

} // namespace toolkit
