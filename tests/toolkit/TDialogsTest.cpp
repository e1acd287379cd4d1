// The file dialogs driven as a user would: typing paths, clicking and double clicking the list,
// keys, the file type box, cancelling; the open dialog's refusal of missing files, the save
// dialog's names, and the picture dialog's filter and preview.

#include "toolkit/TDialogs.h"

#include <cstdlib>

#include "DialogTestSupport.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TButton.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TLabel.h"
#include "toolkit/TPicture.h"
#include "toolkit/TPicturePreview.h"

namespace toolkit::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;

class FileDialogs : public DialogTest {};

TEST_F(FileDialogs, TypedPathsConfirmFilesAndOpenFolders) {
    MakeFile("a.txt");
    MakeFolder("sub");
    MakeFile("sub/c.txt");
    TOpenDialog dialog(owner);
    dialog.SetInitialDir(folder);

    // An absolute path, typed into the field that has the focus from the start.
    std::string caption;
    bool nameFocused = false;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm& f) {
                        caption = f.Caption();
                        nameFocused = f.FileNameEdit()->Focused();
                        Type(Path("a.txt"));
                        Press(VK_RETURN);
                    }}));
    EXPECT_EQ(caption, "Open");
    EXPECT_TRUE(nameFocused);
    EXPECT_EQ(dialog.FileName(), Path("a.txt"));

    // A folder name relative to the folder shown opens it; then a name in it confirms.
    std::string shownAfterFolder;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm&) {
                                 Type("./sub/");
                                 Press(VK_RETURN);
                             },
                             [&](TFileDialogForm& f) {
                                 shownAfterFolder = f.FolderEdit()->Text();
                                 Type("c.txt");
                                 Press(VK_RETURN);
                             }}));
    EXPECT_EQ(shownAfterFolder, Path("sub"));
    EXPECT_EQ(dialog.FileName(), Path("sub/c.txt"));

    // The next time it starts in the folder of the chosen file, with its name filled in, and
    // "../a.txt" climbs out of it.
    dialog.SetInitialDir("");
    std::string startName, startFolder;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm& f) {
                        startName = f.FileNameEdit()->Text();
                        startFolder = f.Folder();
                        f.FileNameEdit()->SelectAll();
                        Type("../a.txt");
                        Press(VK_RETURN);
                    }}));
    EXPECT_EQ(startName, "c.txt");
    EXPECT_EQ(startFolder, Path("sub"));
    EXPECT_EQ(dialog.FileName(), Path("a.txt"));
    EXPECT_EQ(boxes.size(), 0u);

    // Esc cancels and keeps the name.
    EXPECT_FALSE(Run(dialog, {[&](TFileDialogForm&) {
                         Type("zzz");
                         Press(VK_ESCAPE);
                     }}));
    EXPECT_EQ(dialog.FileName(), Path("a.txt"));
}

TEST_F(FileDialogs, AMissingFileIsRefusedWithAMessageAndTheDialogStays) {
    MakeFile("real.txt");
    TOpenDialog dialog(owner);
    dialog.SetInitialDir(folder);
    dialog.SetFileName("/before");
    std::string refusedTitle;
    bool stillUp = false;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm&) {
                                 Type("missing.txt");
                                 Press(VK_RETURN);
                             },
                             [&](TFileDialogForm& f) {
                                 stillUp = f.Visible();
                                 // The refused text is selected, so typing replaces it.
                                 Type("real.txt");
                                 Press(VK_RETURN);
                             }}));
    EXPECT_TRUE(stillUp);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              Path("missing.txt") + "\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(boxes[0].caption, "Open");
    EXPECT_EQ(dialog.FileName(), Path("real.txt"));

    // With DefaultExt a bare name finds the file with that extension; "~/" is the home folder.
    dialog.SetDefaultExt("txt");
    dialog.SetInitialDir("/");
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm&) {
                        Type(Path("real"));
                        Press(VK_RETURN);
                    }}));
    EXPECT_EQ(dialog.FileName(), Path("real.txt"));
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    setenv("HOME", folder.c_str(), 1);
    const bool confirmed = Run(dialog, {[&](TFileDialogForm&) {
                                   Type("~/real.txt");
                                   Press(VK_RETURN);
                               }});
    home ? setenv("HOME", oldHome.c_str(), 1) : unsetenv("HOME");
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(dialog.FileName(), Path("real.txt"));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(FileDialogs, TheListOpensFoldersAndChoosesFilesByMouseAndKeys) {
    MakeFolder("inner");
    MakeFile("inner/one.txt");
    MakeFile("inner/two.txt");
    MakeFile("top.txt");
    TOpenDialog dialog(owner);
    dialog.SetInitialDir(folder);

    // Double click on a folder opens it, on a file confirms it.
    std::vector<std::string> inside;
    int selectedInside = 0;
    std::string nameInside = "?";
    EXPECT_TRUE(Run(
        dialog, {[&](TFileDialogForm& f) { DoubleClickItem(*f.FileList(), IndexOf(f, "inner")); },
                 [&](TFileDialogForm& f) {
                     inside = Shown(*f.FileList());
                     selectedInside = f.FileList()->ItemIndex();
                     nameInside = f.FileNameEdit()->Text();
                     DoubleClickItem(*f.FileList(), IndexOf(f, "two.txt"));
                 }}));
    EXPECT_EQ(inside, (std::vector<std::string>{"[..]", "one.txt", "two.txt"}));
    // The double click's second press does not pick anything in the folder it opened.
    EXPECT_EQ(selectedInside, -1);
    EXPECT_EQ(nameInside, "");
    EXPECT_EQ(dialog.FileName(), Path("inner/two.txt"));

    // Keys: a click gives the list the focus, arrows move, Enter on a folder opens it ("[..]"
    // goes up) and on a file confirms it; selecting a file fills in its name.
    dialog.SetInitialDir(Path("inner"));
    std::string filledIn, afterUp;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm& f) {
                                 ClickItem(*f.FileList(), 1); // one.txt
                                 Press(VK_DOWN);
                             },
                             [&](TFileDialogForm& f) {
                                 filledIn = f.FileNameEdit()->Text();
                                 f.FileList()->SetItemIndex(0);
                                 Press(VK_RETURN); // "[..]"
                             },
                             [&](TFileDialogForm& f) {
                                 afterUp = f.Folder();
                                 for (int i = 0; i < 3; ++i) // [..], [inner], top.txt
                                     Press(VK_DOWN);
                                 Press(VK_RETURN);
                             }}));
    EXPECT_EQ(filledIn, "two.txt");
    EXPECT_EQ(afterUp, folder);
    EXPECT_EQ(dialog.FileName(), Path("top.txt"));
}

TEST_F(FileDialogs, TheFileTypeChoosesWhatTheListShows) {
    for (const char* name : {"b.txt", "A.TXT", "c.bmp", "d.JPG", "e.bin", ".hidden.txt"})
        MakeFile(name);
    MakeFolder("Zeta");
    MakeFolder("alpha");
    TOpenDialog dialog(owner);
    dialog.SetInitialDir(folder);
    dialog.SetFilter("Text files|*.txt|Pictures|*.bmp;*.jpg|Everything|*");
    dialog.SetFilterIndex(2);
    std::vector<std::string> types, pictures, text, masked;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm& f) {
                                 for (int i = 0; i < f.FileTypeCombo()->Items().Count(); ++i)
                                     types.push_back(f.FileTypeCombo()->Items()[i]);
                                 pictures = Shown(*f.FileList());
                                 host->Click(f.FileTypeCombo()->ClientToScreen({10, 10}));
                                 Press(VK_ESCAPE); // closes the dropped list only
                                 host->Key(platform::VK_UP, 1);
                             },
                             [&](TFileDialogForm& f) {
                                 text = Shown(*f.FileList());
                                 f.FileNameEdit()->SetFocus();
                                 Type("*.bin");
                                 Press(VK_RETURN);
                             },
                             [&](TFileDialogForm& f) {
                                 masked = Shown(*f.FileList());
                                 f.FileNameEdit()->SelectAll();
                                 Type("a.txt"); // on disk as A.TXT: no such file here
                                 Press(VK_RETURN);
                             },
                             [&](TFileDialogForm& f) {
                                 f.FileNameEdit()->SelectAll();
                                 Type("A.TXT");
                                 Press(VK_RETURN);
                             }}));
    EXPECT_EQ(types, (std::vector<std::string>{"Text files", "Pictures", "Everything"}));
    // Folders first, then the files; each group sorted ignoring case; dot files hidden.
    EXPECT_EQ(pictures, (std::vector<std::string>{"[..]", "[alpha]", "[Zeta]", "c.bmp", "d.JPG"}));
    EXPECT_EQ(text, (std::vector<std::string>{"[..]", "[alpha]", "[Zeta]", "A.TXT", "b.txt"}));
    EXPECT_EQ(masked, (std::vector<std::string>{"[..]", "[alpha]", "[Zeta]", "e.bin"}));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(dialog.FileName(), Path("A.TXT"));
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_F(FileDialogs, AnUnreadableFolderShowsAnEmptyListAndWhy) {
    MakeFolder("doomed");
    MakeFolder("locked");
    MakeFile("locked/secret.txt");
    std::filesystem::permissions(Path("locked"), std::filesystem::perms::none);
    const bool permissionsBind = geteuid() != 0; // the superuser reads every folder
    TOpenDialog dialog(owner);
    dialog.SetInitialDir(folder);
    int goneCount = -1, lockedCount = -1;
    std::string goneWhy, lockedWhy, back;
    EXPECT_FALSE(Run(dialog, {[&](TFileDialogForm&) {
                                  Type("doomed");
                                  Press(VK_RETURN);
                              },
                              [&](TFileDialogForm&) {
                                  // The folder shown vanishes; listing it again (a typed
                                  // mask does) fails.
                                  std::filesystem::remove(Path("doomed"));
                                  Type("*");
                                  Press(VK_RETURN);
                              },
                              [&](TFileDialogForm& f) {
                                  goneCount = f.FileList()->Count();
                                  goneWhy = f.MessageLabel()->Caption();
                                  host->Click(f.UpButton()->ClientToScreen({5, 5}));
                              },
                              [&](TFileDialogForm& f) {
                                  back = f.Folder();
                                  Type("locked");
                                  Press(VK_RETURN);
                              },
                              [&](TFileDialogForm& f) {
                                  lockedCount = f.FileList()->Count();
                                  lockedWhy = f.MessageLabel()->Caption();
                                  Press(VK_ESCAPE);
                              }}));
    EXPECT_EQ(goneCount, 0);
    EXPECT_EQ(goneWhy,
              "Cannot read the folder \"" + Path("doomed") + "\": No such file or directory");
    EXPECT_EQ(back, folder);
    if (permissionsBind) {
        EXPECT_EQ(lockedCount, 0);
        EXPECT_EQ(lockedWhy,
                  "Cannot read the folder \"" + Path("locked") + "\": Permission denied");
    }
}

TEST_F(FileDialogs, TheSaveDialogTakesNewAndExistingNamesAsTyped) {
    MakeFile("old.txt");
    TSaveDialog dialog(owner);
    dialog.SetInitialDir(folder);
    std::string caption, button;
    dialog.OnShow = [&](TObject*) {
        caption = dialog.Form()->Caption();
        button = dialog.Form()->OkButton()->Caption();
    };
    // Input queued before Execute reaches the dialog's file-name field.
    host->Text("new name", 10);
    host->Key(VK_RETURN, 20);
    EXPECT_TRUE(Run(dialog, {}));
    EXPECT_EQ(caption, "Save As");
    EXPECT_EQ(button, "Save");
    EXPECT_EQ(dialog.FileName(), Path("new name"));
    dialog.OnShow = nullptr;

    // An existing file is taken without a question.
    dialog.SetFileName("");
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm&) {
                        Type("old.txt");
                        Press(VK_RETURN);
                    }}));
    EXPECT_EQ(dialog.FileName(), Path("old.txt"));

    // DefaultExt goes on names without an extension only; a missing folder is refused.
    dialog.SetFileName("");
    dialog.SetDefaultExt("txt");
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm&) {
                                 Type("nowhere/x");
                                 Press(VK_RETURN);
                             },
                             [&](TFileDialogForm&) {
                                 Type("report");
                                 Press(VK_RETURN);
                             }}));
    EXPECT_EQ(dialog.FileName(), Path("report.txt"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Path("nowhere") + "\nThe folder does not exist.");
    EXPECT_EQ(boxes[0].caption, "Save As");
}

TEST(FileDialogsWithoutWindows, AnswerNothingChosen) {
    ASSERT_FALSE(platform::WindowSystem::Running());
    TSaveDialog dialog(nullptr);
    dialog.SetFileName("/kept");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/kept");
}

using PictureDialogs = DialogTest;

TEST_F(PictureDialogs, TheFilterListsTheRegisteredFormatsAfterAnEntryForAll) {
    TOpenPictureDialog dialog(owner);
    dialog.SetInitialDir(folder);
    std::vector<std::string> types;
    EXPECT_FALSE(Run(dialog, {[&](TFileDialogForm& f) {
                         for (int i = 0; i < f.FileTypeCombo()->Items().Count(); ++i)
                             types.push_back(f.FileTypeCombo()->Items()[i]);
                         Press(VK_ESCAPE);
                     }}));
    ASSERT_GE(types.size(), 2u);
    EXPECT_EQ(types.front().rfind("All (", 0), 0u);
    EXPECT_NE(types.front().find("*.bmp"), std::string::npos);
    EXPECT_EQ(std::vector<std::string>(types.end() - 4, types.end()),
              (std::vector<std::string>{"Bitmaps (*.bmp)", "Icons (*.ico)",
                                        "Enhanced Metafiles (*.emf)", "Metafiles (*.wmf)"}));

    // A filter set by the program wins.
    dialog.SetFilter("Mine|*.mine");
    types.clear();
    EXPECT_FALSE(Run(dialog, {[&](TFileDialogForm& f) {
                         for (int i = 0; i < f.FileTypeCombo()->Items().Count(); ++i)
                             types.push_back(f.FileTypeCombo()->Items()[i]);
                         Press(VK_ESCAPE);
                     }}));
    EXPECT_EQ(types, std::vector<std::string>{"Mine"});
}

TEST_F(PictureDialogs, ThePreviewShowsTheSelectedPictureOrWhyItCannot) {
    TBitmap bitmap;
    bitmap.SetSize(4, 2);
    for (int y = 0; y < 2; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < 4; ++x) {
            const bool left = x < 2;
            row[x * 3 + 0] = left ? 0 : 255; // blue
            row[x * 3 + 1] = 0;
            row[x * 3 + 2] = left ? 255 : 0; // red
        }
    }
    bitmap.SaveToFile(Path("small.bmp"));
    MakeFile("broken.bmp", "BM not really a bitmap");
    // A header that claims 60000 x 60000 pixels and brings none.
    std::string huge(54, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            huge[at + i] = static_cast<char>(v >> (8 * i));
    };
    huge[0] = 'B';
    huge[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    huge[26] = 1;
    huge[28] = 24;
    MakeFile("huge.bmp", huge);

    TOpenPictureDialog dialog(owner);
    dialog.SetInitialDir(folder);
    std::string size, none, brokenText, hugeText;
    platform::Rect drawn, area;
    platform::Color leftPixel = 0, rightPixel = 0;
    bool brokenHasPicture = true;
    EXPECT_TRUE(Run(dialog, {[&](TFileDialogForm& f) {
                                 ASSERT_NE(f.Preview(), nullptr);
                                 none = f.Preview()->Message();
                                 ClickItem(*f.FileList(), IndexOf(f, "small.bmp"));
                             },
                             [&](TFileDialogForm& f) {
                                 TPicturePreview& p = *f.Preview();
                                 size = p.SizeText();
                                 drawn = p.PictureRect();
                                 const int midY = (drawn.top + drawn.bottom) / 2;
                                 leftPixel = PixelAt(p, {drawn.left + drawn.Width() / 4, midY});
                                 rightPixel = PixelAt(p, {drawn.right - drawn.Width() / 4, midY});
                                 area = p.ImageArea();
                                 Press(platform::VK_UP); // huge.bmp
                             },
                             [&](TFileDialogForm& f) {
                                 hugeText = f.Preview()->Message();
                                 Press(platform::VK_UP); // broken.bmp
                             },
                             [&](TFileDialogForm& f) {
                                 brokenHasPicture = f.Preview()->Picture().Graphic() != nullptr;
                                 brokenText = f.Preview()->Message();
                                 Press(VK_RETURN);
                             }}));
    EXPECT_EQ(none, "(None)");
    EXPECT_EQ(size, "4 x 2");
    // Fitted into the area keeping 2:1, and centred in it.
    EXPECT_NEAR(drawn.Width(), 2 * drawn.Height(), 2);
    EXPECT_EQ(drawn.Width(), area.Width());
    EXPECT_NEAR(drawn.top - area.top, area.bottom - drawn.bottom, 1);
    EXPECT_EQ(leftPixel, platform::RGB(255, 0, 0));
    EXPECT_EQ(rightPixel, platform::RGB(0, 0, 255));
    EXPECT_FALSE(brokenHasPicture);
    EXPECT_EQ(brokenText, "Bitmap image is not valid");
    EXPECT_FALSE(hugeText.empty());
    EXPECT_NE(hugeText, "(None)");
    EXPECT_EQ(dialog.FileName(), Path("broken.bmp"));
    EXPECT_TRUE(boxes.empty());
}

} // namespace
} // namespace toolkit::testing
