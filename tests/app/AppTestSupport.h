#pragma once
// The program's two windows made as start-up makes them, on the headless window system, with
// helpers to drive them by input and to run the command-line tool on the same settings.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "app/Unit3.h"
#include "cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "tests/toolkit/ToolkitTestSupport.h"

namespace app::testing {

class ProgramTest : public toolkit::testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        const TProgramForms forms = CreateProgramForms(*app);
        form = forms.main;
        saveOptions = forms.saveOptions;
        form->Show();
        Pump();
    }

    static std::string Asset(const char* name) {
        return std::string(CHARVANE_SOURCE_DIR) + "/assets/" + name;
    }
    std::string TempFile(const char* name) const { return folder.File(name); }
    static std::string ReadFile(const std::string& path) {
        return charvane::testing::ReadFile(path);
    }

    // A left click at a point of the control (client coordinates; default its middle), handled.
    void ClickAt(toolkit::TControl& control, int x, int y) {
        host->Click(control.ClientToScreen({x, y}));
        Pump();
    }
    void ClickOn(toolkit::TControl& control) {
        ClickAt(control, control.Width() / 2, control.Height() / 2);
    }
    void Key(int vk) {
        host->Key(vk);
        Pump();
    }
    // Replaces an edit's text the way a user does: focus, select everything, type.
    void TypeInto(toolkit::TCustomEdit& edit, const std::string& text) {
        edit.SetFocus();
        edit.SelectAll();
        host->Text(text);
        Pump();
    }

    std::string Cell(int col, int row) { return form->StringGrid1->Cells(col, row); }
    std::string MemoText() {
        std::string text;
        for (int i = 0; i < form->sMemo1->Lines().Count(); ++i)
            text += form->sMemo1->Lines().Get(i) + "\n";
        return text;
    }
    // What charvane-cli prints (or, with a save file, writes) for the options; its exit status
    // must be 0.
    static std::string CliOutput(const cli::CliOptions& options) {
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCli(options, out, err), 0) << err.str();
        return out.str();
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const toolkit::MessageBoxRequest& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    TForm1* form = nullptr;
    TForm3* saveOptions = nullptr;
    const charvane::testing::TempFolder folder{"charvane-app"};
};

} // namespace app::testing
