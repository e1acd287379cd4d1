// The loader's re-colouring of a finished skin by hue and saturation.

#include "skin/SkinColors.h"
#include "skin/SkinLoader.h"

namespace skin {
namespace {

// Applies f to a colour stored in a model field.
template <typename F> void Transform(std::int32_t& color, F f) {
    color = static_cast<std::int32_t>(f(ColorToRGB(color)));
}

template <typename F> void TransformPixels(TsSkinBitmap& bitmap, F f) {
    platform::Color lastIn = kMagenta, lastOut = kMagenta;
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (std::int32_t x = 0; x < bitmap.Width(); ++x, p += 3) {
            if (p[0] == p[1] && p[1] == p[2])
                continue; // grey stays grey
            const platform::Color in = platform::RGB(p[2], p[1], p[0]);
            if (in == kMagenta)
                continue; // the transparent key keeps its meaning
            if (in != lastIn) {
                lastIn = in;
                lastOut = f(in);
            }
            p[0] = platform::GetBValue(lastOut);
            p[1] = platform::GetGValue(lastOut);
            p[2] = platform::GetRValue(lastOut);
        }
    }
}

} // namespace

void TacSkinLoader::TransformColors() {
    const auto apply = [this](auto f) {
        if (m_model.MasterBitmap)
            TransformPixels(*m_model.MasterBitmap, f);
        for (TsMaskData& m : m_model.Masks)
            if (m.Image)
                TransformPixels(*m.Image, f);
        for (TsGeneralData& d : m_model.Sections) {
            Transform(d.Color, f);
            Transform(d.HotColor, f);
            for (std::int32_t& c : d.FontColor)
                if (c != -1)
                    Transform(c, f);
            for (std::int32_t& c : d.HotFontColor)
                if (c != -1)
                    Transform(c, f);
            for (TsGradArray* steps : {&d.Gradient, &d.HotGradient})
                for (TsGradientStep& step : *steps) {
                    Transform(step.Color1, f);
                    Transform(step.Color2, f);
                }
        }
        Transform(m_model.Info.Shadow1Color, f);
        Transform(m_model.Info.BorderColor, f);
    };
    if (m_hueOffset != 0)
        apply([offset = m_hueOffset](platform::Color c) { return ChangeHue(c, offset); });
    if (m_saturation != 0)
        apply([amount = m_saturation](platform::Color c) { return ChangeSaturation(c, amount); });
}

} // namespace skin
