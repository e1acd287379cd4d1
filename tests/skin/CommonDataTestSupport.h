#pragma once
// A headless application with a skin manager holding a small packed test skin, and controls
// that own a skin state and log the library commands they receive.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TWinControl.h"

namespace commondatatest {

using skin::TsCommonData;
using skintest::Bytes;

// A 24-bit bottom-up bitmap file whose pixels come from pixel(x, y) (y = 0 at the top).
template <typename Pixel> Bytes BitmapFile(int width, int height, Pixel pixel) {
    const int row = (width * 3 + 3) & ~3;
    Bytes out = skintest::ToBytes("BM");
    skintest::PutI32(out, 54 + row * height);
    skintest::PutI32(out, 0);
    skintest::PutI32(out, 54);
    skintest::PutI32(out, 40);
    skintest::PutI32(out, width);
    skintest::PutI32(out, height);
    out.push_back(1), out.push_back(0), out.push_back(24), out.push_back(0);
    for (int i = 0; i < 6; ++i)
        skintest::PutI32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const platform::Color c = pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c));
        }
        for (int pad = width * 3; pad < row; ++pad)
            out.push_back(0);
    }
    return out;
}

inline constexpr platform::Color kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000,
                                 kWhite = 0xFFFFFF, kBlack = 0, kYellow = 0x00FFFF;

// The master bitmap is a 6 × 6 frame: blue, with magenta (key) corner pixels at the four outer
// corners. "BOX" uses it with 2-pixel corners.
inline Bytes TestSkin() {
    const std::string options = "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=5.2\r\n"
                                "[BOX]\r\nCOLOR=255\r\nGRADIENTPERCENT=0\r\n"
                                "BORDERSMASK=^0000^0000^0006^0006^0002^0002^0002^0002^1^0^0^0\r\n"
                                "[GLASS]\r\nCOLOR=0\r\nTRANSPARENCY=50\r\n"
                                "[CLEAR]\r\nTRANSPARENCY=100\r\n"
                                "[EDIT]\r\nCOLOR=65280\r\nFONTCOLOR=255\r\n";
    const Bytes master = BitmapFile(6, 6, [](int x, int y) {
        const bool corner = (x == 0 || x == 5) && (y == 0 || y == 5);
        return corner ? platform::Color{0xFF00FF} : kBlue;
    });
    return skintest::Pack({{"Options.dat", skintest::ToBytes(options)}, {"Master.bmp", master}});
}

inline void AddTestSkin(skin::TsSkinManager& m, const std::string& name) {
    skin::TsStoredSkin& item = m.InternalSkins().Add();
    item.Name = name;
    const Bytes bytes = TestSkin();
    item.Data().WriteBuffer(bytes.data(), bytes.size());
    item.Data().SetPosition(0);
}

// The library commands a control received, in order.
struct CommandLog {
    std::vector<std::uint16_t> commands;
    int Count(std::uint16_t c) const {
        int n = 0;
        for (std::uint16_t x : commands)
            n += x == c;
        return n;
    }
};

template <class Base> class TSkinned : public Base {
public:
    TSkinned(toolkit::TComponent* owner, const std::string& section, std::int32_t typeCode = 0)
        : Base(owner), data(std::make_unique<TsCommonData>(this, true)) {
        data->SetControlTypeCode(typeCode);
        data->SetSkinSection(section);
    }
    void WndProc(toolkit::TMessage& m) override {
        if (m.Msg == toolkit::kLibraryCommandMessage)
            log.commands.push_back(skin::CommandOf(m.WParam));
        if (data && data->WndProc(m))
            return;
        Base::WndProc(m);
    }
    std::unique_ptr<TsCommonData> data;
    CommandLog log;
};

class TSkinBox : public TSkinned<toolkit::TCustomControl> {
public:
    using TSkinned::TSkinned;
    std::string ClassName() const override { return "TSkinBox"; }
};
class TSkinGlyph : public TSkinned<toolkit::TGraphicControl> {
public:
    using TSkinned::TSkinned;
    std::string ClassName() const override { return "TSkinGlyph"; }
};

class CommonDataTest : public toolkit::testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        manager = std::make_unique<skin::TsSkinManager>();
        AddTestSkin(*manager, "Test");
        manager->SetActive(false);
    }
    void TearDown() override {
        manager.reset();
        ToolkitTest::TearDown();
    }
    void ApplySkin() {
        manager->SetSkinName("Test");
        manager->SetActive(true);
    }
    template <class T>
    T* Make(toolkit::TWinControl* parent, platform::Rect bounds, const std::string& section,
            std::int32_t typeCode = 0) {
        auto* c = new T(parent, section, typeCode);
        c->SetBoundsRect(bounds);
        c->SetParent(parent);
        return c;
    }

    std::unique_ptr<skin::TsSkinManager> manager;
};

} // namespace commondatatest
