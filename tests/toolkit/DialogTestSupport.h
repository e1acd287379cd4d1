#pragma once
// Driving a modal file dialog from a test: a scratch folder, and a script of steps run one per
// timer tick while the dialog is up (each step may look at the dialog and queue input). When
// the script is over and the dialog still shows, it is cancelled after a while, so a test that
// goes wrong fails instead of hanging.

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ToolkitTestSupport.h"
#include "tests/support/TempFolder.h"
#include "toolkit/TDialogs.h"
#include "toolkit/TFileDialogForm.h"
#include "toolkit/TListBox.h"
#include "toolkit/TTimer.h"

namespace toolkit::testing {

class DialogTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        owner = MakeForm();
        owner->Show();
    }

    std::string Path(const std::string& relative) const { return folder + "/" + relative; }
    void MakeFile(const std::string& relative, const std::string& content = "x") {
        std::ofstream(Path(relative), std::ios::binary) << content;
    }
    void MakeFolder(const std::string& relative) {
        std::filesystem::create_directories(Path(relative));
    }

    using Step = std::function<void(TFileDialogForm&)>;

    // Executes the dialog, running one step every tick while it shows.
    bool Run(TOpenDialog& dialog, std::vector<Step> steps) {
        TTimer timer(owner);
        timer.SetInterval(50);
        std::size_t next = 0;
        int idle = 0;
        timedOut = false;
        timer.SetOnTimer([&](TObject*) {
            TFileDialogForm* form = dialog.Form();
            if (!form)
                return;
            if (next < steps.size()) {
                steps[next++](*form);
            } else if (++idle > 20) {
                timedOut = true;
                form->SetModalResult(mrCancel);
            }
        });
        const bool result = dialog.Execute();
        timer.SetEnabled(false);
        EXPECT_EQ(next, steps.size()) << "the dialog closed before its script ended";
        EXPECT_FALSE(timedOut) << "the dialog stayed up after its script";
        return result;
    }

    // Input helpers for steps.
    void Type(const std::string& text) { host->Text(text); }
    void Press(int vk) { host->Key(vk); }
    platform::Point ItemPoint(TListBox& list, int index) {
        const platform::Rect r = list.ItemRect(index);
        return list.ClientToScreen({r.left + 10, (r.top + r.bottom) / 2});
    }
    void ClickItem(TListBox& list, int index) { host->Click(ItemPoint(list, index)); }
    void DoubleClickItem(TListBox& list, int index) {
        host->Click(ItemPoint(list, index));
        host->Click(ItemPoint(list, index), platform::MouseButton::Left, 1);
    }
    static int IndexOf(const TFileDialogForm& form, const std::string& name) {
        const auto& entries = form.Entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].name == name)
                return static_cast<int>(i);
        return -1;
    }
    static std::vector<std::string> Shown(TListBox& list) {
        std::vector<std::string> lines;
        for (int i = 0; i < list.Count(); ++i)
            lines.push_back(list.Items()[i]);
        return lines;
    }

    const charvane::testing::TempFolder temp{"charvane-dialogs"};
    const std::string folder = temp.Str();
    TForm* owner = nullptr;
    bool timedOut = false;
};

} // namespace toolkit::testing
