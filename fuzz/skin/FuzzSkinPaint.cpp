// A hostile skin painted by every skinned control kind. The input is the skin's options text,
// optionally followed by a NUL byte and a picture recipe; the internal skin's container lends
// the rest (its master bitmap unless the recipe replaces it, and every other member). The skin
// is loaded through a manager and a gallery form with one control of each kind paints it in
// every state the controls have, into the headless window system's offscreen surfaces. The
// form wears the skinned frame (caption buttons, system menu), its plain controls are taken by
// the control adapter, and the drop-down button's menu is drawn by the skinned menu painter.
//
// Loading may end with the program's own error (the skin is then whatever loading left, or
// none); painting must never fail, since a paint that throws would raise an error box on every
// repaint. Any error box while painting stops the run.
//
// Picture recipe (after the NUL): width byte, height byte (each taken modulo 64, plus 1), a
// "which member" byte (even: MASTER.BMP, odd: a member named "A.BMP" beside the master), then
// pixel bytes, repeated as often as the picture needs them (blue, green, red).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/skin/PackedSkinWriter.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "skin/InternalSkin.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinManager.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsEdit.h"
#include "skinned/TsLabel.h"
#include "skinned/TsLabelFX.h"
#include "skinned/TsMemo.h"
#include "skinned/TsPanel.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/TsSpinEdit.h"
#include "skinned/acDials.h"
#include "skinned/sSkinMenus.h"
#include "skinned/sSkinProvider.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TButton.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMenu.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpinEdit.h"
#include "toolkit/TStringGrid.h"

namespace {

using fuzzskin::Bytes;
using platform::Rect;

using fuzzskin::AddMember;
using fuzzskin::PutI32;

struct Member {
    std::string name;
    Bytes data;
};

// The internal skin's members, read once.
const std::vector<Member>& InternalMembers() {
    static const std::vector<Member> members = [] {
        std::vector<Member> out;
        const auto data = skin::InternalSkinData();
        toolkit::TMemoryStream source(Bytes(data.begin(), data.end()));
        skin::TacSkinConvertor reader;
        reader.LendSource(&source);
        reader.ReadContainer();
        for (const char* name : {"OPTIONS.DAT", "MASTER.BMP"})
            if (toolkit::TMemoryStream* m = reader.FindMember(name))
                out.push_back({name, m->Bytes()});
        reader.DetachSource();
        return out;
    }();
    return members;
}

// A 24-bit bottom-up bitmap file of w × h pixels filled from the recipe's bytes.
Bytes Picture(int w, int h, const std::uint8_t* pixels, std::size_t count) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    Bytes bmp{'B', 'M'};
    PutI32(bmp, 54 + stride * h);
    PutI32(bmp, 0);
    PutI32(bmp, 54);
    PutI32(bmp, 40);
    PutI32(bmp, w);
    PutI32(bmp, h);
    PutI32(bmp, 1 | 24 << 16);
    for (int i = 0; i < 6; ++i)
        PutI32(bmp, 0);
    std::size_t next = 0;
    for (int y = 0; y < h; ++y) {
        for (std::uint32_t x = 0; x < stride; ++x) {
            bmp.push_back(count ? pixels[next % count] : 0);
            ++next;
        }
    }
    return bmp;
}

Bytes Container(const std::uint8_t* data, std::size_t size) {
    std::size_t textSize = 0;
    while (textSize < size && data[textSize] != 0)
        ++textSize;
    std::vector<Member> members;
    members.push_back({"Options.dat", Bytes(data, data + textSize)});
    bool ownMaster = false;
    if (textSize + 3 < size) {
        const std::uint8_t* recipe = data + textSize + 1;
        const int w = recipe[0] % 64 + 1, h = recipe[1] % 64 + 1;
        ownMaster = recipe[2] % 2 == 0;
        members.push_back(
            {ownMaster ? "MASTER.BMP" : "A.BMP", Picture(w, h, recipe + 3, size - textSize - 4)});
    }
    for (const Member& m : InternalMembers())
        if (m.name != "OPTIONS.DAT" && !(ownMaster && m.name == "MASTER.BMP"))
            members.push_back(m);
    Bytes container{'A', 'S', 'z', 'f'};
    PutI32(container, static_cast<std::uint32_t>(members.size()));
    for (const Member& m : members)
        AddMember(container, m.name, m.data);
    return container;
}

bool g_painting = false;

// One control of every skinned kind on one form. New skinned kinds join here with a line each.
struct Gallery {
    explicit Gallery(toolkit::TApplication& app, skin::TsSkinManager& manager) {
        form = app.CreateForm<toolkit::TForm>();
        form->SetBoundsRect(kWhole);
        auto add = [&]<class T>(T* c, toolkit::TWinControl* parent, Rect bounds) {
            c->SetParent(parent);
            c->SetBoundsRect(bounds);
            return c;
        };
        panel = add(new skinned::TsPanel(form), form, {0, 0, 600, 440});
        panel->SetCaption("Panel");
        add(new skinned::TsLabel(form), panel, {4, 4, 80, 20})->SetCaption("Label");
        add(new skinned::TsLabelFX(form), panel, {90, 4, 190, 24})->SetCaption("Effect");
        for (int i = 0; i < 3; ++i) {
            auto* b = add(new skinned::TsBitBtn(form), panel, {4 + 90 * i, 30, 88 + 90 * i, 56});
            b->SetCaption("Button");
            buttons.push_back(b);
        }
        // Every look a menu item has: normal, title, separator, disabled, checked, radio.
        menu = new toolkit::TPopupMenu(form);
        for (const char* caption : {"Item", "-Title-", "-", "Disabled", "Checked", "Radio"}) {
            auto* item = new toolkit::TMenuItem(form);
            item->SetCaption(caption);
            item->SetEnabled(std::string(caption) != "Disabled");
            item->SetChecked(caption[0] == 'C' || caption[0] == 'R');
            item->SetRadioItem(caption[0] == 'R');
            menu->Items()->Add(item);
        }
        skinned::TsSkinableMenus::Of(manager).InitMenuItems(true, *menu);
        for (int i = 0; i < 3; ++i) {
            auto* s =
                add(new skinned::TsSpeedButton(form), panel, {280 + 44 * i, 30, 320 + 44 * i, 56});
            s->SetCaption("S");
            if (i == 1) {
                s->SetButtonStyle(toolkit::tbsDropDown);
                s->SetDropdownMenu(menu);
            }
            if (i == 2) {
                s->SetGroupIndex(1);
                s->SetDown(true);
            }
            buttons.push_back(s);
        }
        edit = add(new skinned::TsEdit(form), panel, {4, 64, 150, 86});
        edit->SetText("Edit");
        combo = add(new skinned::TsComboBox(form), panel, {160, 64, 300, 86});
        for (int i = 0; i < 30; ++i)
            combo->Items().Add("Item " + std::to_string(i));
        combo->SetItemIndex(3);
        spin = add(new skinned::TsSpinEdit(form), panel, {310, 64, 400, 86});
        memo = add(new skinned::TsMemo(form), panel, {4, 96, 300, 236});
        memo->SetScrollBars(toolkit::ssBoth);
        for (int i = 0; i < 60; ++i)
            memo->Lines().Add(std::string(static_cast<std::size_t>(i * 2 % 90), 'x'));
        small = add(new skinned::TsMemo(form), panel, {310, 96, 318, 104}); // smaller than its bars
        small->SetScrollBars(toolkit::ssBoth);
        small->Lines().Add("tiny");
        // Plain controls below the panel, for the control adapter; a skinned edit stands on the
        // adapted panel.
        add(new toolkit::TEdit(form), form, {4, 446, 100, 467});
        add(new toolkit::TSpinEdit(form), form, {4, 472, 100, 493});
        auto* grid = add(new toolkit::TStringGrid(form), form, {110, 446, 300, 560});
        grid->SetCells(1, 1, "cell");
        add(new toolkit::TButton(form), form, {310, 446, 390, 471})->SetCaption("Plain");
        add(new toolkit::TBitBtn(form), form, {310, 476, 390, 501})->SetCaption("Bit");
        add(new toolkit::TLabel(form), form, {4, 500, 100, 515})->SetCaption("Plain label");
        plainPanel = add(new toolkit::TPanel(form), form, {400, 446, 596, 560});
        add(new skinned::TsEdit(plainPanel), plainPanel, {6, 6, 120, 27})->SetText("On a panel");
    }
    static constexpr Rect kWhole{20, 20, 620, 600};
    toolkit::TForm* form = nullptr;
    skinned::TsPanel* panel = nullptr;
    std::vector<toolkit::TControl*> buttons;
    toolkit::TPopupMenu* menu = nullptr;
    skinned::TsEdit* edit = nullptr;
    skinned::TsComboBox* combo = nullptr;
    skinned::TsSpinEdit* spin = nullptr;
    skinned::TsMemo* memo = nullptr;
    skinned::TsMemo* small = nullptr;
    toolkit::TPanel* plainPanel = nullptr;
};

// The skinned frame, if the form has one: each caption button hot, then pressed and let go
// away from it, and the system menu opened, walked and closed.
void ExerciseFrame(platform::HeadlessBackend& host, const std::function<void()>& pump,
                   toolkit::TForm& form) {
    skinned::TsSkinProvider* provider = skinned::ProviderOf(form);
    if (!provider)
        return;
    platform::Rect wr;
    platform::GetWindowRect(form.HandleIfAllocated(), wr);
    const platform::Point away = form.ClientToScreen({300, 300});
    using P = skinned::TsSkinProvider;
    for (P::ButtonKind kind : {P::kClose, P::kMax, P::kMin, P::kHelp}) {
        const Rect r = provider->Button(kind).Rect;
        if (r.Width() <= 0 || r.Height() <= 0)
            continue;
        const platform::Point middle{wr.left + (r.left + r.right) / 2,
                                     wr.top + (r.top + r.bottom) / 2};
        host.MouseMove(middle);
        pump();
        host.MouseDown(middle);
        host.MouseMove(away, 20);
        host.MouseUp(away, platform::MouseButton::Left, 30);
        pump();
    }
    host.Key(platform::VK_DOWN, 20);
    host.Key(platform::VK_DOWN, 40);
    host.Key(platform::VK_ESCAPE, 60);
    platform::SendMessage(form.HandleIfAllocated(), platform::WM_SYSCOMMAND, platform::SC_KEYMENU,
                          ' ');
    pump();
}

// Drives the gallery through its looks: hot, pressed, focused, scrolled, dropped down,
// disabled, and back.
void Exercise(platform::HeadlessBackend& host, toolkit::TApplication& app, Gallery& g) {
    const std::function<void()> pump = [&] {
        app.ProcessMessages();
        for (int i = 0; i < 3; ++i) { // a few fade steps
            host.Advance(10);
            app.ProcessMessages();
        }
    };
    g.form->Show();
    pump();
    for (toolkit::TControl* b : g.buttons) {
        const platform::Point middle = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
        host.MouseMove(middle);
        pump();
        const platform::Point away = g.form->ClientToScreen({590, 430});
        host.MouseDown(middle);
        // The drop-down button's menu: its items hot in turn, then closed.
        for (int k = 0; k < 4; ++k)
            host.Key(platform::VK_DOWN, 20 + 20 * k);
        host.Key(platform::VK_ESCAPE, 100);
        host.MouseMove(away, 120);
        host.MouseUp(away, platform::MouseButton::Left, 130);
        pump();
        while (host.HasPendingInput()) {
            host.Advance(10);
            app.ProcessMessages();
        }
    }
    for (toolkit::TWinControl* w :
         std::initializer_list<toolkit::TWinControl*>{g.edit, g.combo, g.spin, g.memo}) {
        w->SetFocus();
        pump();
    }
    const platform::Point inMemo = g.memo->ClientToScreen({20, 20});
    host.Wheel(-240, inMemo);
    pump();
    // The memo's bars: the down arrow at its bottom right, held a little, then released.
    const platform::Point arrow =
        g.memo->ClientToScreen({g.memo->Width() - 8, g.memo->Height() - 26});
    host.MouseDown(arrow);
    host.MouseUp(arrow, platform::MouseButton::Left, 400); // queued first: the bar tracks modally
    pump();
    g.combo->SetDroppedDown(true);
    pump();
    g.combo->SetDroppedDown(false);
    pump();
    g.panel->SetEnabled(false);
    for (toolkit::TControl* c : g.buttons)
        c->SetEnabled(false);
    pump();
    g.panel->SetEnabled(true);
    g.form->SetBoundsRect({20, 20, 140, 90}); // everything squeezed
    pump();
    g.form->SetBoundsRect(Gallery::kWhole);
    pump();
    ExerciseFrame(host, pump, *g.form);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        skinned::UseFormSkinning();
        toolkit::SetMessageBoxHandler([](const toolkit::MessageBoxRequest& box) {
            if (g_painting) {
                std::fprintf(stderr, "error box while painting: %s\n", box.text.c_str());
                std::abort();
            }
            return toolkit::ModalResult::OK;
        });
        return true;
    }();
    (void)quiet;
    const Bytes container = Container(data, size);

    auto backend = std::make_unique<platform::HeadlessBackend>(Rect{0, 0, 1024, 768});
    platform::HeadlessBackend& host = *backend;
    platform::WindowSystem system(std::move(backend));
    {
        toolkit::TApplication app;
        auto& manager = *new skin::TsSkinManager(&app); // the application frees it
        auto& item = manager.InternalSkins().Add();
        item.Name = "Fuzz";
        item.Data().WriteBuffer(container.data(), container.size());
        try {
            manager.SetSkinName("Fuzz");
            manager.SetActive(true);
        } catch (const toolkit::Exception&) {
        }
        Gallery gallery(app, manager);
        g_painting = true;
        Exercise(host, app, gallery);
        // A second look after the skin is re-coloured: every cache is built again.
        try {
            manager.SetHueOffset(120);
            manager.SetSaturation(-60);
        } catch (const toolkit::Exception&) {
        }
        app.ProcessMessages();
        g_painting = false;
    }
    return 0;
}
