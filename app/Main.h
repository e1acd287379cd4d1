#pragma once
// The main window: the character table, the number settings, the picture preview and the text
// pane, with the handlers that tie them to the engine.
//
// Construction builds every control in the order of the window's definition with its start
// values (sSpinEdit1 gets its text "7" and value 7 before any handler is bound, so nothing
// runs), resolves the references between components, and only then binds the handlers by name;
// FormCreate runs from AfterConstruction (TApplication::CreateForm), applying preset 2.
// sSkinManager1 loads and applies the internal skin when its skin name is set, and applies it
// once more when the whole window has been built, so every control starts in the skinned look.
//
// The window is the character table's TCharTableControls: the grid is StringGrid1 (its cells
// store), N is sSpinEdit1, the preset list sComboBox1 and the generator sSpeedButton1's
// ImageIndex. A cell being edited in place is committed before a handler reads or writes the
// table, and the grid is brought up to date (counts, current cell, scroll bars, repaint) after
// it, also when the handler fails.
//
// Errors leave the handlers as exceptions of toolkit/Exceptions.h; the application's loop shows
// them in the error box and the window goes on with whatever the failed step left.
//
// SetSaveOptions names the save options window BitBtn4Click shows (start-up does this); the
// main window does not own it.

#include <string>

#include "app/TDXPaintBoxControl.h"
#include "engine/TCharTable.h"
#include "skin/sSkinManager.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsLabelFX.h"
#include "skinned/TsMemo.h"
#include "skinned/TsPanel.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/TsSpinEdit.h"
#include "toolkit/TDialogs.h"
#include "toolkit/TForm.h"
#include "toolkit/TImageList.h"
#include "toolkit/TMenu.h"
#include "toolkit/TSpinEditModel.h"
#include "toolkit/TStringGrid.h"

namespace app {

class TForm3;

class TForm1 : public toolkit::TForm, public engine::TCharTableControls {
public:
    explicit TForm1(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TForm1"; }
    void WndProc(toolkit::TMessage& message) override;

    void SetSaveOptions(TForm3* form) { m_saveOptions = form; }
    TForm3* SaveOptions() const { return m_saveOptions; }

    // ---- handlers ----
    void FormCreate(toolkit::TObject* sender);
    void ToolButton1Click(toolkit::TObject* sender);
    void N4Click(toolkit::TObject* sender);
    void ComboBox1Change(toolkit::TObject* sender);
    void SpinEdit1Change(toolkit::TObject* sender);
    void SpinEdit2Change(toolkit::TObject* sender);
    void BitBtn1Click(toolkit::TObject* sender);
    void BitBtn2Click(toolkit::TObject* sender);
    void BitBtn4Click(toolkit::TObject* sender);
    void BitBtn3Click(toolkit::TObject* sender);

    // What the open button does once a file has been chosen: the path goes to sBitBtn1's Hint,
    // its name part to the caption, the picture is read into the preview (by
    // image::LoadPictureFile's rule: "*.jpg" by its name, anything else by its first bytes) and the preview repaints (also after a
    // failed read, so it shows what the picture now holds).
    void OpenPicture(const std::string& path);
    // Opens a picture named outside the window (on the command line) as a file dropped on the
    // window is opened: from the message loop, so a failure reaches the error box. A relative
    // path is taken against the current folder.
    void QueueOpenPicture(const std::string& path);

    // ---- TCharTableControls ----
    toolkit::TGridCells& Grid() override;
    toolkit::TSpinEditModel& BoundCount() override;
    int PresetIndex() const override;
    void SetPresetIndex(int index) override;
    int GeneratorIndex() const override;
    void SetGeneratorIndex(int index) override;
    void ClickGenerator() override;

    // ---- components, in the order of the window definition ----
    skinned::TsPanel* sPanel1 = nullptr;
    skinned::TsPanel* sPanel2 = nullptr;
    skinned::TsSpeedButton* sSpeedButton1 = nullptr;
    skinned::TsComboBox* sComboBox1 = nullptr;
    skinned::TsPanel* sPanel3 = nullptr;
    skinned::TsBitBtn* sBitBtn4 = nullptr;
    skinned::TsLabelFX* sLabelFX1 = nullptr;
    skinned::TsSpinEdit* sSpinEdit1 = nullptr;
    toolkit::TStringGrid* StringGrid1 = nullptr;
    skinned::TsLabelFX* sLabelFX4 = nullptr;
    skinned::TsComboBox* sComboBox2 = nullptr;
    skinned::TsLabelFX* sLabelFX2 = nullptr;
    skinned::TsSpinEdit* sSpinEdit2 = nullptr;
    skinned::TsLabelFX* sLabelFX3 = nullptr;
    skinned::TsSpinEdit* sSpinEdit3 = nullptr;
    skinned::TsPanel* sPanel4 = nullptr;
    skinned::TsBitBtn* sBitBtn1 = nullptr;
    skinned::TsBitBtn* sBitBtn2 = nullptr;
    skinned::TsBitBtn* sBitBtn3 = nullptr;
    skinned::TsPanel* sPanel6 = nullptr;
    TDXPaintBoxControl* DXPaintBox1 = nullptr;
    skinned::TsPanel* sPanel5 = nullptr;
    skinned::TsMemo* sMemo1 = nullptr;
    toolkit::TPopupMenu* PopupMenu1 = nullptr;
    toolkit::TMenuItem* N4 = nullptr;
    toolkit::TMenuItem* N5 = nullptr;
    toolkit::TMenuItem* N1 = nullptr;
    toolkit::TMenuItem* N2 = nullptr;
    toolkit::TMenuItem* N3 = nullptr;
    toolkit::TImageList* ImageList1 = nullptr;
    skin::TsSkinManager* sSkinManager1 = nullptr;
    toolkit::TOpenPictureDialog* OpenPictureDialog1 = nullptr;

private:
    void BuildControls();
    void ResolveReferences();
    void BindHandlers();
    // Runs a table handler with the grid's editor committed first and the grid synchronised
    // afterwards.
    template <class Handler> void WithTable(Handler handler);

    engine::TCharTable m_table;
    // sSpinEdit1's text as the table sees it; changes the table makes go back to the edit.
    toolkit::TSpinEditModel m_boundCount;
    TForm3* m_saveOptions = nullptr;
};

} // namespace app
