#include <unistd.h>

#include <array>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/Session.h"
#include "platform/sys/OpenUrl.h"
#include "tests/app/AppTestSupport.h"
#include "tests/image/BitmapBytes.h"
#include "tests/support/Scoped.h"
#include "toolkit/Exceptions.h"

namespace {

using app::TForm1;
using app::testing::ProgramTest;
using namespace toolkit;

using Row = std::pair<std::string, std::string>;

class MainWindow : public ProgramTest {
protected:
    std::vector<Row> Rows(int first, int last) {
        std::vector<Row> rows;
        for (int row = first; row <= last; ++row)
            rows.emplace_back(Cell(0, row), Cell(1, row));
        return rows;
    }
    // Chooses a preset from the closed list with the keyboard, as a user may.
    void ChoosePreset(int index) {
        form->sComboBox1->SetFocus();
        Key(platform::VK_HOME);
        for (int i = 0; i < index; ++i)
            Key(platform::VK_DOWN);
    }
    void ClickGeneratorFace() { ClickAt(*form->sSpeedButton1, 8, 11); }
};

const std::vector<Row> kStartTable = {{"8", "36"},  {"6", "72"},  {"5", "109"}, {"1", "145"},
                                      {":", "182"}, {".", "218"}, {" ", "255"}};

TEST_F(MainWindow, StartsWithPresetTwoTheUniformGeneratorAndTheDefinitionsValues) {
    EXPECT_EQ(form->Caption(), "Charvane 1.2 (charvane@example.org)");
    EXPECT_EQ(form->Width(), 782);
    EXPECT_EQ(form->Height(), 570);
    EXPECT_EQ(form->Left(), (1024 - 782) / 2); // centred on the test screen
    EXPECT_EQ(form->Top(), (768 - 570) / 2);
    EXPECT_TRUE(form->TransparentColor());
    EXPECT_EQ(form->TransparentColorValue(), clSkyBlue);
    EXPECT_EQ(app->MainForm(), form);

    EXPECT_EQ(form->sComboBox1->Text(), "Цифры+Знаки");
    EXPECT_EQ(form->sSpeedButton1->ImageIndex(), 3);
    EXPECT_EQ(form->sSpeedButton1->ButtonStyle(), tbsDropDown);
    EXPECT_EQ(form->sSpeedButton1->Width(), 39);
    EXPECT_EQ(form->StringGrid1->RowCount(), 8);
    EXPECT_EQ(form->StringGrid1->FixedRows(), 1);
    EXPECT_EQ(Rows(1, 7), kStartTable);
    EXPECT_EQ(Cell(0, 0), "");
    EXPECT_EQ(Cell(1, 0), "");

    EXPECT_EQ(form->sSpinEdit1->Value(), 7);
    EXPECT_EQ(form->sSpinEdit2->Value(), 10);
    EXPECT_EQ(form->sSpinEdit3->Value(), 80);
    EXPECT_EQ(form->sComboBox2->Text(), "2:3");
    EXPECT_EQ(form->sMemo1->Font().Height(), -13);
    EXPECT_EQ(form->sMemo1->Font().Size(), 10);
    EXPECT_EQ(form->sMemo1->Lines().Count(), 0);
    EXPECT_EQ(form->ImageList1->Count(), 5);
    EXPECT_EQ(form->sBitBtn4->ImageIndex(), 4);

    // The save options window exists, hidden, with its own start values.
    ASSERT_NE(saveOptions, nullptr);
    EXPECT_FALSE(saveOptions->Visible());
    EXPECT_EQ(saveOptions->SpinEdit1->Value(), 55);
    EXPECT_EQ(saveOptions->SpinEdit3->Value(), 42);
    EXPECT_EQ(saveOptions->Edit1->Text(), "");
    EXPECT_EQ(saveOptions->ClientWidth(), 270);
    EXPECT_EQ(saveOptions->ClientHeight(), 141);
    EXPECT_EQ(saveOptions->Caption(), "Сохранение");
    EXPECT_TRUE(boxes.empty());
}

// The window comes up painted from its internal skin; switching the skin off gives back the
// plain look at the same places, and switching it on again the skinned one.
TEST_F(MainWindow, ComesUpInItsInternalSkinAndFallsBackToThePlainLook) {
    skin::TsSkinManager& m = *form->sSkinManager1;
    EXPECT_TRUE(m.IsDefault());
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.SkinName(), "Winter2003 (internal)");
    EXPECT_EQ(m.SkinInfo(), "5.2");
    EXPECT_EQ(m.SkinningRules(), (skin::TacSkinningRules{skin::TacSkinningRule::srStdForms,
                                                         skin::TacSkinningRule::srThirdParty}));
    EXPECT_EQ(m.MenuSupport().IcoLineSkin, "ICOLINE");
    for (skinned::TsPanel* panel :
         {form->sPanel1, form->sPanel2, form->sPanel3, form->sPanel4, form->sPanel5, form->sPanel6})
        EXPECT_TRUE(panel->SkinData().Skinned(true)) << panel->Name();
    EXPECT_TRUE(form->sBitBtn2->SkinData().Skinned(true));

    // Beside the big buttons, on the panel, and on the face of one of them.
    const platform::Point beside{4, 50}, onFace{20, 4};
    const platform::Color panelSkinned = PixelAt(*form->sPanel4, beside);
    const platform::Color faceSkinned = PixelAt(*form->sBitBtn2, onFace);
    m.SetActive(false);
    Pump();
    const platform::Color plainFace = ColorToRGB(clBtnFace) & 0xFFFFFF;
    EXPECT_EQ(PixelAt(*form->sPanel4, beside), plainFace);
    EXPECT_EQ(PixelAt(*form->sBitBtn2, onFace), plainFace);
    EXPECT_NE(panelSkinned, plainFace);
    EXPECT_NE(faceSkinned, plainFace);
    m.SetActive(true);
    Pump();
    EXPECT_EQ(PixelAt(*form->sPanel4, beside), panelSkinned);
    EXPECT_EQ(PixelAt(*form->sBitBtn2, onFace), faceSkinned);
}

// The generator menu is handed to the skin's menu painter: 22-pixel items and a 2-pixel
// separator while the skin is on, the toolkit's own measures without it.
TEST_F(MainWindow, GeneratorMenuIsMeasuredFromTheSkin) {
    EXPECT_TRUE(form->PopupMenu1->OwnerDraw());
    const auto height = [](TMenuItem* item) {
        TCanvas canvas;
        int w = 0, h = 0;
        item->MeasureItem(canvas, w, h);
        return h;
    };
    EXPECT_EQ(height(form->N4), 22);
    EXPECT_EQ(height(form->N5), 2);
    form->sSkinManager1->SetActive(false);
    EXPECT_NE(height(form->N5), 2);
    form->sSkinManager1->SetActive(true);
    EXPECT_EQ(height(form->N5), 2);
}

// Reading the definition gives sSpinEdit1 its "7" before the handlers are bound: the table
// stays exactly as the definition made it until FormCreate runs.
TEST_F(MainWindow, BuildingTheWindowRunsNoChangeHandler) {
    // Owned apart from the application, which already has a "Form1".
    TComponent holder(nullptr);
    auto* fresh = new TForm1(&holder);
    EXPECT_EQ(fresh->sSpinEdit1->Text(), "7");
    EXPECT_EQ(fresh->StringGrid1->RowCount(), 8);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(fresh->StringGrid1->Cells(0, row), "") << row;
        EXPECT_EQ(fresh->StringGrid1->Cells(1, row), "") << row;
    }
    EXPECT_EQ(fresh->sComboBox1->ItemIndex(), 0);
    fresh->FormCreate(fresh);
    for (int row = 1; row <= 7; ++row)
        EXPECT_EQ(Row(fresh->StringGrid1->Cells(0, row), fresh->StringGrid1->Cells(1, row)),
                  kStartTable[row - 1]);
    TComponent::Free(fresh);
}

TEST_F(MainWindow, PresetsFromTheListRewriteSymbolsAndBoundsKeepingHiddenRows) {
    ChoosePreset(0);
    EXPECT_EQ(form->sComboBox1->Text(), "Цифры 8651");
    EXPECT_EQ(form->sSpinEdit1->Text(), "5");
    EXPECT_EQ(form->StringGrid1->RowCount(), 6);
    EXPECT_EQ(
        Rows(1, 5),
        (std::vector<Row>{{"8", "51"}, {"6", "102"}, {"5", "153"}, {"1", "204"}, {" ", "255"}}));
    EXPECT_EQ(Rows(6, 7), (std::vector<Row>{{".", "218"}, {" ", "255"}}));

    // With the Fibonacci generator chosen from the menu, "Знаки" brings its own bounds.
    form->N3->Click();
    ChoosePreset(3);
    EXPECT_EQ(form->StringGrid1->RowCount(), 8);
    EXPECT_EQ(Rows(1, 7), (std::vector<Row>{{"#", "15"},
                                            {"%", "22"},
                                            {"+", "37"},
                                            {"|", "60"},
                                            {":", "97"},
                                            {".", "157"},
                                            {" ", "255"}}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, MenuItemsChooseTheGeneratorWhichRunsOnlyWhenTheButtonIsPressed) {
    form->N2->Click();
    EXPECT_EQ(form->sSpeedButton1->ImageIndex(), 1);
    EXPECT_EQ(Rows(1, 7), kStartTable); // nothing ran yet
    ClickGeneratorFace();
    EXPECT_EQ(Cell(1, 1), "3");
    EXPECT_EQ(Cell(1, 6), "127");

    // The manual generator keeps what was typed.
    form->N4->Click();
    EXPECT_EQ(form->sSpeedButton1->ImageIndex(), 0);
    form->StringGrid1->SetCells(1, 1, "40");
    ClickGeneratorFace();
    EXPECT_EQ(Cell(1, 1), "40");

    form->N1->Click();
    EXPECT_EQ(form->sSpeedButton1->ImageIndex(), 3);
    ClickGeneratorFace();
    EXPECT_EQ(Rows(1, 7), kStartTable);

    // Only the Fibonacci item checks itself, and each choice toggles it.
    EXPECT_FALSE(form->N2->Checked());
    form->N3->Click();
    EXPECT_TRUE(form->N3->Checked());
    form->N3->Click();
    EXPECT_FALSE(form->N3->Checked());
    EXPECT_EQ(form->sSpeedButton1->ImageIndex(), 2);
}

TEST_F(MainWindow, ThePressInTheArrowZoneOpensTheMenuBelowTheButtonInsteadOfGenerating) {
    int popups = 0;
    form->PopupMenu1->OnPopup = [&](TObject*) { ++popups; };
    form->N2->Click(); // exponential, not yet run
    const int arrowX = form->sSpeedButton1->Width() - 8;
    ClickAt(*form->sSpeedButton1, arrowX, 11);
    EXPECT_EQ(popups, 1);
    // One pixel below the button's bottom edge.
    const platform::Point below =
        form->sSpeedButton1->ClientToScreen({0, form->sSpeedButton1->Height() + 1});
    EXPECT_EQ(form->PopupMenu1->PopupPoint().x, below.x);
    EXPECT_EQ(form->PopupMenu1->PopupPoint().y, below.y);
    EXPECT_EQ(form->PopupMenu1->PopupComponent(), form->sSpeedButton1);
    EXPECT_EQ(Rows(1, 7), kStartTable);
    // One pixel left of the zone is the button's face.
    ClickAt(*form->sSpeedButton1, form->sSpeedButton1->Width() - 16, 11);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(Cell(1, 1), "3");
}

TEST_F(MainWindow, ArrowKeysInTheBoundCountResizeTheTableAndANegativeCountReportsAndRecovers) {
    form->sSpinEdit1->SetFocus();
    Key(platform::VK_UP);
    EXPECT_EQ(form->StringGrid1->RowCount(), 9);
    EXPECT_EQ(Cell(0, 8), " ");
    Key(platform::VK_UP);
    EXPECT_EQ(form->StringGrid1->RowCount(), 10);
    const std::array<const char*, 9> bounds = {"28",  "56",  "85",  "113", "141",
                                               "170", "198", "226", "255"};
    for (int row = 1; row <= 9; ++row)
        EXPECT_EQ(Cell(1, row), bounds[row - 1]) << row;
    EXPECT_EQ(Cell(0, 7), " ");
    EXPECT_EQ(Cell(0, 8), " ");

    // Down to -1: the grid goes to one row and the error box names the row.
    form->sSpinEdit1->SetValue(0);
    EXPECT_EQ(form->StringGrid1->RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), " ");
    Key(platform::VK_DOWN);
    EXPECT_EQ(form->sSpinEdit1->Text(), "-1");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"List index out of bounds (-1)"});
    EXPECT_EQ(boxes[0].type, MsgDlgType::Error);
    EXPECT_EQ(form->StringGrid1->RowCount(), 1);
    // Back up: the table works again; only the new last row's symbol is set.
    TypeInto(*form->sSpinEdit1, "3");
    EXPECT_EQ(form->StringGrid1->RowCount(), 4);
    EXPECT_EQ(Rows(1, 3), (std::vector<Row>{{"8", "85"}, {"6", "170"}, {" ", "255"}}));
}

// A cell being edited in place is committed before a table handler runs, so the handler sees
// (and may overwrite) what the user typed, and the editor does not write a stale text later.
TEST_F(MainWindow, ACellBeingEditedIsCommittedBeforeTheGeneratorRuns) {
    form->N4->Click(); // manual: the typed bound must survive
    form->StringGrid1->SetFocus();
    form->StringGrid1->SetCol(1);
    form->StringGrid1->SetRow(2);
    host->Text("99");
    Pump();
    ASSERT_TRUE(form->StringGrid1->EditorMode());
    ClickGeneratorFace();
    EXPECT_FALSE(form->StringGrid1->EditorMode());
    EXPECT_EQ(Cell(1, 2), "99");
}

TEST_F(MainWindow, FontSizeAppliesToTheTextPaneAtOnce) {
    TypeInto(*form->sSpinEdit2, "20");
    EXPECT_EQ(form->sMemo1->Font().Size(), 20);
    Key(platform::VK_DOWN);
    EXPECT_EQ(form->sMemo1->Font().Size(), 19);
}

TEST_F(MainWindow, ConvertingGivesTheCommandLineToolsLinesForTheSameSettings) {
    for (const char* name : {"sample.bmp", "sample.jpg"}) {
        SCOPED_TRACE(name);
        form->OpenPicture(Asset(name));
        EXPECT_EQ(form->sBitBtn1->Caption(), name);
        EXPECT_EQ(form->sBitBtn1->Hint(), Asset(name));
        ClickOn(*form->sBitBtn2);
        EXPECT_TRUE(boxes.empty());
        cli::CliOptions options;
        options.pictures = {Asset(name)};
        const std::string expected = CliOutput(options);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(MemoText(), expected);
    }

    // Other settings, made in the window: preset "Знаки", exponential, 60 wide, "1:2".
    ChoosePreset(3);
    form->N2->Click();
    ClickGeneratorFace();
    TypeInto(*form->sSpinEdit3, "60");
    form->sComboBox2->SetFocus();
    Key(platform::VK_DOWN);
    EXPECT_EQ(form->sComboBox2->Text(), "1:2");
    ClickOn(*form->sBitBtn2);
    cli::CliOptions options;
    options.pictures = {Asset("sample.jpg")};
    options.preset = 3;
    options.generator = cli::Generator::Exponential;
    options.width = 60;
    options.ratioIndex = 2;
    EXPECT_EQ(MemoText(), CliOutput(options));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, ConvertFailuresShowTheErrorBoxAndTheWindowGoesOn) {
    // No picture yet.
    form->sMemo1->Lines().Add("old");
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Division by zero."});
    EXPECT_EQ(boxes[0].caption, app->Title());
    EXPECT_EQ(form->sMemo1->Lines().Count(), 0);

    // Width 0: nothing to draw into.
    form->OpenPicture(Asset("sample.bmp"));
    TypeInto(*form->sSpinEdit3, "0");
    ClickOn(*form->sBitBtn2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Canvas does not allow drawing.");
    EXPECT_EQ(form->sMemo1->Lines().Count(), 0);

    // A bound that does not parse stops the scan at the first pixel brighter than row 1.
    TypeInto(*form->sSpinEdit3, "80");
    form->StringGrid1->SetCells(1, 2, "abc");
    ClickOn(*form->sBitBtn2);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "'abc' is not a valid integer value.");
    EXPECT_NE(host->CurrentCursor(), platform::Cursor::Wait) << "the failure took the watch away";

    // Fixed, the same window converts as the tool does, under the busy watch.
    form->StringGrid1->SetCells(1, 2, "72");
    std::set<platform::Cursor> whileConverting;
    form->sMemo1->OnChange = [&](TObject*) { whileConverting.insert(host->CurrentCursor()); };
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(whileConverting, std::set<platform::Cursor>{platform::Cursor::Wait});
    EXPECT_NE(host->CurrentCursor(), platform::Cursor::Wait);
    EXPECT_EQ(boxes.size(), 3u);
    cli::CliOptions options;
    options.pictures = {Asset("sample.bmp")};
    EXPECT_EQ(MemoText(), CliOutput(options));
}

TEST_F(MainWindow, OpeningAPictureThatFailsKeepsTheNewNameAndReportsTheReadersMessage) {
    form->OpenPicture(Asset("sample.bmp"));
    const std::int32_t width = form->DXPaintBox1->DIB().Width();
    ASSERT_GT(width, 0);

    const std::string missing = TempFile("missing.bmp");
    try {
        form->OpenPicture(missing);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_EQ(form->sBitBtn1->Caption(), "missing.bmp");
    EXPECT_EQ(form->sBitBtn1->Hint(), missing);

    // A JPEG named ".jpeg" is known by its bytes; ".JPG" in capitals is read as a JPEG by name.
    const std::string jpeg = ReadFile(Asset("sample.jpg"));
    for (const char* name : {"photo.jpeg", "PHOTO.JPG"}) {
        std::ofstream(TempFile(name), std::ios::binary) << jpeg;
    }
    form->OpenPicture(TempFile("photo.jpeg"));
    EXPECT_GT(form->DXPaintBox1->DIB().Width(), 0);
    form->OpenPicture(TempFile("PHOTO.JPG"));
    EXPECT_GT(form->DXPaintBox1->DIB().Width(), 0);
    EXPECT_EQ(form->sBitBtn1->Caption(), "PHOTO.JPG");
}

TEST_F(MainWindow, APictureDroppedOrNamedAtStartOpensAsTheOpenButtonWouldOpenIt) {
    host->DropFile(form->Handle(), Asset("sample.jpg"));
    Pump();
    EXPECT_EQ(form->sBitBtn1->Caption(), "sample.jpg");
    EXPECT_EQ(form->sBitBtn1->Hint(), Asset("sample.jpg"));
    EXPECT_GT(form->DXPaintBox1->DIB().Width(), 0);
    EXPECT_TRUE(boxes.empty());

    // A relative name is taken against the current folder; a failure reaches the error box.
    {
        const charvane::testing::ScopedCurrentFolder inTemp(folder.Path());
        form->QueueOpenPicture("missing.bmp");
        Pump();
    }
    const std::string missing = TempFile("missing.bmp");
    EXPECT_EQ(form->sBitBtn1->Hint(), missing);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Cannot open file \"" + missing +
                                                   "\". No such file or directory."});
}

// The preview shows each new picture at once, and of several files dropped together the first
// is the one opened.
TEST_F(MainWindow, TheFirstOfTheDroppedPicturesOpensAndShowsInThePreview) {
    const auto solid = [&](const char* name, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        testbmp::Info info;
        info.width = 4;
        info.height = 4;
        testbmp::Bytes file = testbmp::InfoFile(info);
        for (int i = 0; i < 16; ++i)
            file.Raw({b, g, r});
        std::ofstream(TempFile(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data.data()),
                   static_cast<std::streamsize>(file.data.size()));
        return TempFile(name);
    };
    const std::string red = solid("red.bmp", 0, 0, 255);
    const std::string blue = solid("blue.bmp", 255, 0, 0);
    toolkit::TControl& preview = *form->DXPaintBox1;
    const platform::Point centre{preview.Width() / 2, preview.Height() / 2};

    form->OpenPicture(red);
    Pump();
    EXPECT_EQ(PixelAt(preview, centre), platform::RGB(255, 0, 0));

    host->DropFiles(form->Handle(), {blue, red});
    Pump();
    EXPECT_EQ(form->sBitBtn1->Hint(), blue);
    EXPECT_EQ(PixelAt(preview, centre), platform::RGB(0, 0, 255));
    EXPECT_TRUE(boxes.empty());

    // Disabled, as under the save options window, the window refuses a drop as it would a click.
    platform::EnableWindow(form->Handle(), false);
    host->DropFile(form->Handle(), red);
    Pump();
    platform::EnableWindow(form->Handle(), true);
    EXPECT_EQ(form->sBitBtn1->Hint(), blue);
    EXPECT_EQ(PixelAt(preview, centre), platform::RGB(0, 0, 255));
}

// What the session hands the windows at start comes back from them at the end: the dialogs'
// folders, the window's normal place and its maximised state.
TEST_F(MainWindow, RememberedFoldersPlaceAndMaximisedStateComeBackFromTheWindows) {
    app::TSettings settings;
    settings.openFolder = "/tmp/pictures here";
    settings.saveFolder = "/tmp/art there";
    settings.window = app::TWindowPlace{platform::Rect::FromSize(40, 30, 700, 500), true};
    const app::TProgramForms forms{form, saveOptions};
    app::ApplySettings(settings, forms);
    app::ShowMainForm(settings, forms);
    Pump();
    EXPECT_TRUE(platform::IsZoomed(form->Handle()));
    const app::TSettings back = app::CurrentSettings(forms);
    EXPECT_EQ(back.openFolder, settings.openFolder);
    EXPECT_EQ(back.saveFolder, settings.saveFolder);
    ASSERT_TRUE(back.window);
    EXPECT_EQ(back.window->bounds, settings.window->bounds);
    EXPECT_TRUE(back.window->maximized);
}

TEST_F(MainWindow, TheWebPageButtonHandsTheHelpPageToTheDesktop) {
    std::vector<std::string> opened;
    const platform::OpenUrlHandler previous =
        platform::SetOpenUrlHandler([&](const std::string& url) { opened.push_back(url); });
    ClickOn(*form->sBitBtn4);
    platform::SetOpenUrlHandler(previous);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind("file:///", 0), 0u) << opened[0];
    const std::string tail = "/assets/help/index.html";
    ASSERT_GE(opened[0].size(), tail.size());
    EXPECT_EQ(opened[0].substr(opened[0].size() - tail.size()), tail);
    EXPECT_TRUE(std::filesystem::is_regular_file(opened[0].substr(7)));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, ACancelledOpenDialogChangesNothing) {
    form->OpenPicture(Asset("sample.bmp"));
    // Esc cancels the dialog (the stand-in dialog cancels by itself; the key then goes to the
    // main window, which has no use for it).
    host->Click(form->sBitBtn1->ClientToScreen({20, 15}));
    host->Key(platform::VK_ESCAPE, 20);
    Pump();
    EXPECT_EQ(form->sBitBtn1->Caption(), "sample.bmp");
    EXPECT_EQ(form->sBitBtn1->Hint(), Asset("sample.bmp"));
    EXPECT_TRUE(boxes.empty());
}

} // namespace

namespace {

class SaveOptionsWindow : public app::testing::ProgramTest {};

TEST_F(SaveOptionsWindow, KeysFollowTheDefinitionsTabOrderAndButtonKinds) {
    std::vector<TWinControl*> order;
    saveOptions->GetTabOrderList(order);
    const std::vector<TWinControl*> expected = {saveOptions->SpinEdit1, saveOptions->Edit1,
                                                saveOptions->BitBtn2, saveOptions->SpinEdit3,
                                                saveOptions->BitBtn1};
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(saveOptions->BitBtn1->Default());
    EXPECT_TRUE(saveOptions->BitBtn2->Cancel());
    EXPECT_EQ(saveOptions->BorderStyle(), bsSingle);
    EXPECT_TRUE(saveOptions->BorderIcons().Empty());
    // The file types start with the paged text for any name, chosen at first; no extension is
    // added by the dialog itself.
    EXPECT_TRUE(saveOptions->SaveDialog1->Filter().starts_with("Paged text|*|"))
        << saveOptions->SaveDialog1->Filter();
    EXPECT_EQ(saveOptions->SaveDialog1->FilterIndex(), 1);
    EXPECT_EQ(saveOptions->SaveDialog1->DefaultExt(), "");

    // Shown, it stands where it was designed. "..." opens the save dialog and keeps the window
    // open: pressed twice, each dialog cancelled, then Esc for the window.
    saveOptions->Edit1->SetText("kept.txt");
    int dialogs = 0;
    // Once: the handler is copied when it runs, so its own state would not last.
    bool queued = false;
    saveOptions->OnActivate = [&](TObject*) {
        if (!queued)
            host->Click(saveOptions->SpeedButton1->ClientToScreen({10, 10}),
                        platform::MouseButton::Left, 10);
        queued = true;
    };
    saveOptions->SaveDialog1->OnShow = [&](TObject*) {
        ++dialogs;
        host->Key(platform::VK_ESCAPE, 10);
    };
    saveOptions->SaveDialog1->OnClose = [&](TObject*) {
        if (dialogs == 1)
            host->Click(saveOptions->SpeedButton1->ClientToScreen({10, 10}),
                        platform::MouseButton::Left, 30);
        else
            host->Key(platform::VK_ESCAPE, 30);
    };
    EXPECT_EQ(saveOptions->ShowModal(), mrCancel);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(saveOptions->Left(), 469);
    EXPECT_EQ(saveOptions->Top(), 322);
    EXPECT_EQ(saveOptions->Edit1->Text(), "kept.txt");
}

TEST_F(MainWindow, AnEmptyJpegEmptiesThePreviewAndReportsThatNothingCanBeDrawn) {
    form->OpenPicture(Asset("sample.bmp"));
    const std::string empty = TempFile("empty.jpg");
    std::ofstream(empty, std::ios::binary).close();
    try {
        form->OpenPicture(empty);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
    EXPECT_EQ(form->DXPaintBox1->DIB().Width(), 0);
    EXPECT_EQ(form->sBitBtn1->Caption(), "empty.jpg");
    // Converting now reports the missing picture.
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Division by zero."});
}

} // namespace
