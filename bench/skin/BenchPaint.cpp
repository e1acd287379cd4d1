// Every skinned control repaints its cache bitmap from its section on each change of state; a
// button must paint in well under a millisecond and the whole form background in a few.

#include <benchmark/benchmark.h>

#include "skin/InternalSkin.h"
#include "skin/sGraphUtils.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"

namespace {

struct InternalSkin {
    InternalSkin() {
        skin::AddInternalSkin(manager.InternalSkins());
        manager.SetSkinName(skin::kInternalSkinName);
    }
    skin::TsSectionPaint Section(const char* name) {
        skin::TsSectionPaint p;
        p.SectionName = name;
        p.SectionIndex = manager.FindSectionIndex(name);
        p.TextureIndex = manager.FindTextureIndex(p.SectionIndex, name, "PATTERN");
        p.HotTextureIndex = manager.FindTextureIndex(p.SectionIndex, name, "HOTPATTERN");
        p.Manager = &manager;
        return p;
    }
    skin::TsSkinManager manager;
};

void PaintFormBackground(benchmark::State& state) {
    InternalSkin skin;
    auto form = skin::NewBitmap24(782, 570);
    const auto section = skin.Section("FORM");
    for (auto _ : state) {
        skin::PaintSection(section, *form, {0, 0, 782, 570});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PaintFormBackground)->Unit(benchmark::kMillisecond);

// The button is see-through (TRANSPARENCY 100) over the form, with a masked border; state 0
// normal, 1 hot.
void PaintButton(benchmark::State& state) {
    InternalSkin skin;
    auto form = skin::NewBitmap24(782, 570);
    skin::PaintSection(skin.Section("FORM"), *form, {0, 0, 782, 570});
    auto button = skin::NewBitmap24(191, 31);
    auto section = skin.Section("BUTTON");
    section.Parent = {form.get(), 0, 0, true};
    section.Position = {300, 480};
    section.State = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        skin::PaintSection(section, *button, {0, 0, 191, 31});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PaintButton)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A panel blends its gradient half over the form.
void PaintPanel(benchmark::State& state) {
    InternalSkin skin;
    auto form = skin::NewBitmap24(782, 570);
    skin::PaintSection(skin.Section("FORM"), *form, {0, 0, 782, 570});
    auto panel = skin::NewBitmap24(782, 570);
    auto section = skin.Section("PANEL");
    section.Parent = {form.get(), 0, 0, true};
    for (auto _ : state) {
        skin::PaintSection(section, *panel, {0, 0, 782, 570});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PaintPanel)->Unit(benchmark::kMillisecond);

} // namespace
