#pragma once
// The drawing tools a canvas and a control carry: TFont, TPen and TBrush. Each is a small value
// object that tells its one listener (OnChange) after every change that alters it; setting a
// value equal to the current one changes nothing and tells nobody. Assign copies every property
// of another object of the same class and tells the listener once.
//
// Colours are TColor (system colours allowed); drawing code resolves them with ColorToRGB.
// Font sizes: Height is pixels (negative: the character height, the usual form; positive: the
// cell height), Size is points at 96 pixels per inch: Size = -Height * 72 / 96 and Height =
// -Size * 96 / 72, each rounded to the nearest integer (halves away from zero).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/text/Font.h"
#include "toolkit/Colors.h"
#include "toolkit/TPersistent.h"
#include "toolkit/TSet.h"

namespace toolkit {

constexpr int kPixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero (0 when c is 0).
int MulDiv(int a, int b, int c);

class TGraphicsObject : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphicsObject"; }
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, RUSSIAN_CHARSET = 204;

class TFont : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TFont"; }

    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name);
    int Height() const { return m_height; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Kept for the program's definitions; text is UTF-8 whatever the charset says.
    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset charset);

    // The platform font for these settings, made on first use after a change (never null: a
    // face that cannot be made falls back to the interface font).
    std::shared_ptr<platform::Font> Handle() const;

    void Assign(const TPersistent* source) override;
    bool SameAs(const TFont& other) const;

private:
    std::string m_name = "MS Sans Serif";
    int m_height = -11;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    TFontCharset m_charset = DEFAULT_CHARSET;
    mutable std::shared_ptr<platform::Font> m_handle;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TPen"; }

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Line thickness in pixels; values below 1 draw as 1.
    int Width() const { return m_width; }
    void SetWidth(int width);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);

    void Assign(const TPersistent* source) override;

private:
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = TPenStyle::psSolid;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TBrush"; }

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // bsClear: shapes are not filled and text is drawn without a background.
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style);

    void Assign(const TPersistent* source) override;

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = TBrushStyle::bsSolid;
};

} // namespace toolkit
