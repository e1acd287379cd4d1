#include "skinned/TsLabelFX.h"

#include <gtest/gtest.h>

#include "SkinnedPaintSupport.h"
#include "skinned/TsLabel.h"
#include "toolkit/TLabel.h"

namespace {

using namespace toolkit;
using skinnedtest::Make;

class EffectLabel : public skinnedtest::SkinnedPaintTest {
protected:
    void SetUp() override {
        SkinnedPaintTest::SetUp();
        form = MakeForm();
        form->SetColor(clWhite);
    }
    // An opaque white label with a large caption, so shadow pixels are easy to find.
    template <class T> T* Label(platform::Rect bounds, bool autoSize = false) {
        T* label = Make<T>(form, bounds);
        label->SetAutoSize(autoSize);
        label->SetTransparent(false);
        label->SetColor(clWhite);
        label->Font().SetSize(20);
        label->SetCaption("IL");
        return label;
    }
    void Show() {
        form->Show();
        Pump();
    }
    // The pixels of a label's area, row by row.
    std::vector<platform::Color> Pixels(TControl& c) {
        std::vector<platform::Color> out;
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x)
                out.push_back(PixelAt(c, {x, y}));
        return out;
    }
    TForm* form = nullptr;
};

bool IsShadowTint(platform::Color c) {
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return c != 0xFFFFFF && b >= g && g >= r;
}

// With the internal skin, a default effect label casts the skin's shadow (colour 5386787, two
// passes, one pixel right and down): tinted pixels beside the text that the shadowless label
// leaves white, reaching further right and down than the text.
TEST_F(EffectLabel, CastsTheSkinShadowRightAndDown) {
    auto* shaded = Label<skinned::TsLabelFX>({10, 10, 80, 50});
    auto* flat = Label<skinned::TsLabelFX>({10, 60, 80, 100});
    flat->Shadow().SetMode(skinned::smNone);
    Show();
    const std::vector<platform::Color> a = Pixels(*shaded), b = Pixels(*flat);
    int shadowOnly = 0, lastInkRow = -1, lastShadowRow = -1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int row = static_cast<int>(i) / shaded->Width();
        if (b[i] != 0xFFFFFF)
            lastInkRow = std::max(lastInkRow, row);
        if (b[i] == 0xFFFFFF && a[i] != 0xFFFFFF) {
            ++shadowOnly;
            EXPECT_TRUE(IsShadowTint(a[i])) << std::hex << a[i];
            lastShadowRow = std::max(lastShadowRow, row);
        }
    }
    EXPECT_GT(shadowOnly, 20);
    EXPECT_GT(lastShadowRow, lastInkRow);
    // The stored bytes follow the colour in use.
    EXPECT_EQ(shaded->Shadow().R(), 0x23);
    EXPECT_EQ(shaded->Shadow().G(), 0x32);
    EXPECT_EQ(shaded->Shadow().B(), 0x52);
}

// Auto size leaves room for the shadow: max(0, D + B) − min(0, D − B) more in each direction;
// no growth when the shadow is off (no blur, or the no-colour value).
TEST_F(EffectLabel, AutoSizeMakesRoomForTheShadow) {
    auto* plain = Label<TLabel>({0, 0, 10, 10}, true);
    auto* skinShadow = Label<skinned::TsLabelFX>({0, 0, 10, 10}, true);
    EXPECT_EQ(skinShadow->Width(), plain->Width() + 4);
    EXPECT_EQ(skinShadow->Height(), plain->Height() + 4);

    // Custom: distance 1 and 4 passes make 5 − (−3) = 8.
    auto* custom = Label<skinned::TsLabelFX>({0, 0, 10, 10}, true);
    custom->Shadow().SetMode(skinned::smCustom);
    custom->SetCaption("LI");
    EXPECT_EQ(custom->Width(), Label<TLabel>({0, 0, 10, 10}, true)->Width() + 8);
    EXPECT_EQ(custom->Height(), plain->Height() + 8);

    custom->Shadow().SetBlurCount(0);
    custom->SetCaption("IL");
    EXPECT_EQ(custom->Width(), plain->Width());
    custom->Shadow().SetBlurCount(2);
    custom->Shadow().SetColor(clNone);
    custom->SetCaption("LI");
    custom->SetCaption("IL");
    EXPECT_EQ(custom->Height(), plain->Height());
}

// The blurred shadow is kept between paints: a label whose text, font, shadow or colours change
// after a paint looks exactly like a new label made with the new values.
TEST_F(EffectLabel, KeptShadowFollowsChangesOfTextFontDistanceAndColours) {
    auto* changed = Label<skinned::TsLabelFX>({10, 10, 90, 60});
    changed->Shadow().SetMode(skinned::smCustom);
    Show();
    const auto newLabel = [&](platform::Rect bounds) {
        auto* l = Label<skinned::TsLabelFX>(bounds);
        l->Shadow().SetMode(skinned::smCustom);
        l->SetCaption("LI");
        l->Font().SetStyle({TFontStyle::fsBold});
        l->Shadow().SetDistance(3);
        return l;
    };
    changed->SetCaption("LI");
    changed->Font().SetStyle({TFontStyle::fsBold});
    changed->Shadow().SetDistance(3);
    auto* fresh = newLabel({100, 10, 180, 60});
    Pump();
    EXPECT_EQ(Pixels(*changed), Pixels(*fresh));
    changed->Font().SetSize(14);
    auto* fresh14 = newLabel({190, 10, 270, 60});
    fresh14->Font().SetSize(14);
    Pump();
    EXPECT_EQ(Pixels(*changed), Pixels(*fresh14));

    // A new background, then a new shadow colour, under the same levels.
    changed->SetColor(clYellow);
    auto* yellow = newLabel({10, 70, 90, 120});
    yellow->Font().SetSize(14);
    yellow->SetColor(clYellow);
    Pump();
    EXPECT_EQ(Pixels(*changed), Pixels(*yellow));
    changed->Shadow().SetColor(clRed);
    yellow->Shadow().SetColor(clRed);
    Pump();
    auto* red = newLabel({100, 70, 180, 120});
    red->Font().SetSize(14);
    red->SetColor(clYellow);
    red->Shadow().SetColor(clRed);
    Pump();
    EXPECT_EQ(Pixels(*changed), Pixels(*red));
}

// Without a shadow in force the effect label draws exactly the plain text; disabled, it shows the
// engraved two-colour text of the plain label and no shadow.
TEST_F(EffectLabel, DrawsPlainTextWithoutAShadowAndEngravedWhenDisabled) {
    auto* noBlur = Label<skinned::TsLabelFX>({10, 10, 80, 50});
    noBlur->Shadow().SetMode(skinned::smCustom);
    noBlur->Shadow().SetBlurCount(0);
    noBlur->Kind().SetKindType(skinned::ktCustom);
    noBlur->Kind().SetColor(clBlack);
    auto* plain = Label<TLabel>({10, 60, 80, 100});
    plain->Font().SetColor(clBlack);
    auto* disabled = Label<skinned::TsLabelFX>({100, 10, 170, 50});
    disabled->SetEnabled(false);
    auto* plainDisabled = Label<TLabel>({100, 60, 170, 100});
    plainDisabled->SetEnabled(false);
    Show();
    EXPECT_EQ(Pixels(*noBlur), Pixels(*plain));
    EXPECT_EQ(Pixels(*disabled), Pixels(*plainDisabled));
}

// A negative distance casts the shadow left and up of the text.
TEST_F(EffectLabel, NegativeDistanceCastsTheShadowLeftAndUp) {
    auto* shaded = Label<skinned::TsLabelFX>({10, 10, 80, 50});
    shaded->Shadow().SetMode(skinned::smCustom);
    shaded->Shadow().SetBlurCount(1);
    shaded->Shadow().SetDistance(-3);
    auto* flat = Label<skinned::TsLabelFX>({10, 60, 80, 100});
    flat->Shadow().SetMode(skinned::smNone);
    Show();
    const std::vector<platform::Color> a = Pixels(*shaded), b = Pixels(*flat);
    int firstInkRow = shaded->Height(), firstShadowRow = shaded->Height();
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int row = static_cast<int>(i) / shaded->Width();
        if (b[i] != 0xFFFFFF)
            firstInkRow = std::min(firstInkRow, row);
        // The blend leaves untouched white one step darker: only a real shade counts.
        if (b[i] == 0xFFFFFF && platform::GetGValue(a[i]) < 240)
            firstShadowRow = std::min(firstShadowRow, row);
    }
    ASSERT_LT(firstInkRow, shaded->Height());
    // Three rows up; one blur pass spreads it one row more.
    EXPECT_LE(firstShadowRow, firstInkRow - 3) << firstInkRow;
}

// Without an active skin the default effect label (the skin's shadow) falls back to its own
// shadow values (black, distance 1, 4 passes): a shadow where the plain label is white, and 8
// pixels more room when auto-sized, 4 once the skin's shadow comes.
TEST_F(EffectLabel, FallsBackToItsOwnShadowWithoutASkin) {
    manager->SetActive(false);
    auto* fx = Label<skinned::TsLabelFX>({10, 10, 80, 50});
    auto* plain = Label<TLabel>({10, 60, 80, 100});
    Show();
    const std::vector<platform::Color> shadowed = Pixels(*fx), flat = Pixels(*plain);
    int darkened = 0;
    for (std::size_t i = 0; i < flat.size(); ++i)
        darkened += flat[i] == 0xFFFFFF && shadowed[i] != 0xFFFFFF;
    EXPECT_GT(darkened, 20);
    auto* fxAuto = Label<skinned::TsLabelFX>({100, 10, 170, 50}, true);
    auto* plainAuto = Label<TLabel>({100, 60, 170, 100}, true);
    EXPECT_EQ(fxAuto->Height(), plainAuto->Height() + 8);
    // The skin arriving is measured again: its shadow (2 passes, offset 1) needs 4 more.
    manager->SetActive(true);
    Pump();
    EXPECT_EQ(fxAuto->Height(), plainAuto->Height() + 4);
    EXPECT_EQ(fxAuto->Width(), plainAuto->Width() + 4);
    fxAuto->Shadow().SetMode(skinned::smNone);
    fxAuto->SetCaption("LI");
    EXPECT_EQ(fxAuto->Height(), plainAuto->Height());
}

} // namespace

namespace {

using namespace toolkit;
using skinnedtest::Make;

class SkinnedLabel : public skinnedtest::SkinnedPaintTest {};

// The label's text takes the skin's general font colour at paint (unless UseSkinColor is off),
// and the system's window-text colour once the skin is removed; a disabled label blends that
// colour with its parent's background, 0.4 to 0.6.
TEST_F(SkinnedLabel, TakesTheSkinFontColourAndBlendsItWhenDisabled) {
    TForm* form = MakeForm();
    form->SetColor(clWhite);
    auto* label = Make<skinned::TsLabel>(form, {10, 10, 80, 40});
    auto* own = Make<skinned::TsLabel>(form, {10, 50, 80, 80});
    own->SetUseSkinColor(false);
    own->Font().SetColor(clRed);
    label->SetCaption("Text");
    own->SetCaption("Text");
    EXPECT_TRUE(label->Transparent());
    form->Show();
    Pump();
    const platform::Color skinFont = manager->GetGlobalFontColor();
    ASSERT_NE(skinFont, skin::kKeyColor);
    EXPECT_EQ(label->Font().Color(), skinFont);
    EXPECT_EQ(own->Font().Color(), clRed);

    const int width = label->Width();
    label->SetEnabled(false);
    Pump();
    EXPECT_EQ(label->Width(), width);
    bool foundBlend = false;
    platform::Color blend = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int f = (skinFont >> shift) & 0xFF;
        blend |= static_cast<platform::Color>((4 * f + 6 * 255 + 5) / 10) << shift;
    }
    for (int y = 0; y < label->Height() && !foundBlend; ++y)
        for (int x = 0; x < label->Width() && !foundBlend; ++x)
            foundBlend = PixelAt(*label, {x, y}) == blend;
    EXPECT_TRUE(foundBlend) << std::hex << blend;

    manager->SetActive(false);
    EXPECT_EQ(label->Font().Color(), clWindowText);
}

// A label naming a section of the skin paints it under its text; one naming none does not.
TEST_F(SkinnedLabel, PaintsItsSectionUnderTheText) {
    TForm* form = MakeForm();
    form->SetColor(clWhite);
    auto* boxed = Make<skinned::TsLabel>(form, {10, 10, 80, 40});
    auto* bare = Make<skinned::TsLabel>(form, {10, 50, 80, 80});
    for (skinned::TsLabel* l : {boxed, bare}) {
        l->SetAutoSize(false);
        l->SetCaption("");
    }
    boxed->SetSkinSection("PANEL");
    bare->SetSkinSection("NO SUCH SECTION");
    form->Show();
    Pump();
    EXPECT_NE(PixelAt(*boxed, {35, 15}), 0xFFFFFFu);
    EXPECT_NE(PixelAt(*boxed, {35, 2}), PixelAt(*boxed, {35, 27})); // the panel's gradient
    EXPECT_EQ(PixelAt(*bare, {35, 15}), 0xFFFFFFu);
}

} // namespace
