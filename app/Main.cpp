#include "app/Main.h"

#include <vector>

#include "app/FirstFocus.h"
#include "app/Glyphs.h"
#include "app/PaneExport.h"
#include "app/ProgramInfo.h"
#include "app/Texts.h"
#include "app/Unit3.h"
#include "engine/PagedExport.h"
#include "engine/PictureConversion.h"
#include "image/PictureFile.h"
#include "platform/sys/Files.h"
#include "platform/sys/OpenUrl.h"
#include "platform/win/DropFiles.h"
#include "platform/win/Window.h"
#include "skin/InternalSkin.h"
#include "skinned/acDials.h"
#include "toolkit/TBusyCursor.h"

namespace app {
namespace {

using namespace toolkit;

// The string grid with its cells store in reach: the character table writes the store and
// the window then brings the grid up to date.
class TCharGrid : public TStringGrid {
public:
    using TCustomGrid::Store;
    using TStringGrid::TStringGrid;
};

// Like the window definition: the component is named and placed, then put on its parent.
template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
        int height, TAlign align = alNone) {
    T* control = new T(owner);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    if (align != alNone)
        control->SetAlign(align);
    return control;
}

// Left and top only: the control keeps the size its class gives it (labels size to their
// text, combo boxes take their height from the font).
template <class T>
T* MakeAt(TComponent* owner, TWinControl* parent, const char* name, int left, int top) {
    T* control = new T(owner);
    control->SetName(name);
    control->SetLeft(left);
    control->SetTop(top);
    control->SetParent(parent);
    return control;
}

void SetFont(TFont& font, const char* name, int height, TColor color = clBlack,
             TFontStyles style = {}, TFontCharset charset = DEFAULT_CHARSET) {
    font.SetName(name);
    font.SetHeight(height);
    font.SetColor(color);
    font.SetStyle(style);
    font.SetCharset(charset);
}

skinned::TsLabelFX* MakeLabel(TComponent* owner, TWinControl* parent, const char* name, int left,
                              int top, const char* caption) {
    auto* label = MakeAt<skinned::TsLabelFX>(owner, parent, name, left, top);
    SetFont(label->Font(), "Times New Roman", -16, clBlack, {TFontStyle::fsBold}, RUSSIAN_CHARSET);
    label->SetCaption(caption);
    return label;
}

skinned::TsSpinEdit* MakeSpinEdit(TComponent* owner, TWinControl* parent, const char* name, int top,
                                  const char* text, std::int32_t value) {
    auto* edit = Make<skinned::TsSpinEdit>(owner, parent, name, 156, top, 46, 21);
    edit->SkinData().SetSkinSection("EDIT");
    edit->SetColor(clWhite);
    SetFont(edit->Font(), "MS Sans Serif", -11);
    edit->SetText(text);
    edit->SetValue(value);
    return edit;
}

skinned::TsComboBox* MakeList(TComponent* owner, TWinControl* parent, const char* name, int left,
                              int top, int width, std::initializer_list<const char*> items,
                              int itemIndex) {
    auto* list = MakeAt<skinned::TsComboBox>(owner, parent, name, left, top);
    list->SetWidth(width);
    list->SkinData().SetSkinSection("COMBOBOX");
    list->SetStyle(csDropDownList);
    list->SetColor(clWhite);
    SetFont(list->Font(), "MS Sans Serif", -11);
    for (const char* item : items)
        list->Items().Add(item);
    list->SetItemIndex(itemIndex);
    return list;
}

skinned::TsBitBtn* MakeBigButton(TComponent* owner, TWinControl* parent, const char* name, int top,
                                 const char* caption, GlyphId glyph) {
    auto* button = Make<skinned::TsBitBtn>(owner, parent, name, 10, top, 191, 31);
    button->SkinData().SetSkinSection("BUTTON");
    SetFont(button->Font(), "MS Sans Serif", -13);
    button->SetCaption(caption);
    const TGlyphImage picture = Glyph(glyph);
    button->SetGlyphPixels(picture.width, picture.height, picture.pixels, picture.transparent);
    return button;
}

TMenuItem* MakeItem(TPopupMenu* menu, const char* name, const char* caption, int imageIndex) {
    auto* item = new TMenuItem(menu->Owner());
    item->SetName(name);
    item->SetCaption(caption);
    item->SetImageIndex(imageIndex);
    item->SetGroupIndex(2);
    menu->Items()->Add(item);
    return item;
}

// The name part of a path: everything after its last folder separator.
std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner), m_table(*this) {
    BuildControls();
    ResolveReferences();
    sSkinManager1->Loaded();
    BindHandlers();
}

void TForm1::BuildControls() {
    SetName("Form1");
    SetBounds(0, 0, 782, 570);
    SetPosition(poScreenCenter);
    SetCaption(MainCaption());
    SetColor(clSkyBlue);
    SetTransparentColorValue(clSkyBlue);
    SetTransparentColor(true);
    SetFont(Font(), "MS Sans Serif", -11);

    sPanel1 = Make<skinned::TsPanel>(this, this, "sPanel1", 0, 0, 211, 543, alLeft);
    sPanel1->SkinData().SetSkinSection("PANEL");
    // No caption: the column's lowest panel is half transparent in our skins, and once the
    // window is tall enough (maximised) the column's middle, where a caption stands, lies
    // behind it rather than behind the opaque controls above.
    sPanel1->SetCaption("");

    sPanel2 = Make<skinned::TsPanel>(this, sPanel1, "sPanel2", 0, 0, 211, 30, alTop);
    sPanel2->SkinData().SetSkinSection("PANEL");
    sPanel2->SetCaption("sPanel2");
    sSpeedButton1 = new skinned::TsSpeedButton(this);
    sSpeedButton1->SetName("sSpeedButton1");
    // The style comes before the size: the definition's 39 pixels already hold the arrow zone.
    sSpeedButton1->SetButtonStyle(tbsDropDown);
    sSpeedButton1->SetBounds(7, 4, 39, 22);
    sSpeedButton1->SetParent(sPanel2);
    sSpeedButton1->SkinData().SetSkinSection("SPEEDBUTTON");
    sSpeedButton1->SetImageIndex(3);
    sComboBox1 = MakeList(this, sPanel2, "sComboBox1", 57, 3, 145,
                          {engine::kPresetItems[0].data(), engine::kPresetItems[1].data(),
                           engine::kPresetItems[2].data(), engine::kPresetItems[3].data()},
                          0);

    sPanel3 = Make<skinned::TsPanel>(this, sPanel1, "sPanel3", 0, 30, 211, 212, alTop);
    sPanel3->SkinData().SetSkinSection("PANEL");
    sPanel3->SetCaption("sPanel3");
    sBitBtn4 = Make<skinned::TsBitBtn>(this, sPanel3, "sBitBtn4", 6, 3, 25, 25);
    sBitBtn4->SkinData().SetSkinSection("BUTTON");
    sBitBtn4->SetCaption("");
    sBitBtn4->SetImageIndex(4);
    sLabelFX1 = MakeLabel(this, sPanel3, "sLabelFX1", 44, 1, Tr("Число границ: "));
    sSpinEdit1 = MakeSpinEdit(this, sPanel3, "sSpinEdit1", 5, "7", 7);

    auto* grid = Make<TCharGrid>(this, sPanel3, "StringGrid1", 5, 31, 197, 100);
    StringGrid1 = grid;
    grid->SetColor(clCream);
    grid->SetColCount(2);
    grid->SetFixedCols(0);
    grid->SetRowCount(8);
    grid->SetDefaultColWidth(78);
    grid->SetFixedColor(clSilver);
    grid->SetFlat(true);
    SetFont(grid->Font(), "Courier New", -13, clBlack, {TFontStyle::fsBold}, RUSSIAN_CHARSET);
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                      goEditing, goTabs});

    sLabelFX4 = MakeLabel(this, sPanel3, "sLabelFX4", 26, 130, Tr("Высота : ширина"));
    sComboBox2 = MakeList(this, sPanel3, "sComboBox2", 156, 134, 46, {"1:1", "2:3", "1:2"}, 1);
    sLabelFX2 = MakeLabel(this, sPanel3, "sLabelFX2", 32, 154, Tr("Размер шрифта:"));
    sSpinEdit2 = MakeSpinEdit(this, sPanel3, "sSpinEdit2", 158, "10", 10);
    sLabelFX3 = MakeLabel(this, sPanel3, "sLabelFX3", 7, 180, Tr("Ширина в сиволах:"));
    sSpinEdit3 = MakeSpinEdit(this, sPanel3, "sSpinEdit3", 184, "80", 80);

    sPanel4 = Make<skinned::TsPanel>(this, sPanel1, "sPanel4", 0, 242, 211, 105, alTop);
    sPanel4->SkinData().SetSkinSection("PANEL");
    sPanel4->SetCaption("sPanel4");
    sBitBtn1 =
        MakeBigButton(this, sPanel4, "sBitBtn1", 5, Tr("Файл картинка"), GlyphId::OpenPicture);
    sBitBtn2 = MakeBigButton(this, sPanel4, "sBitBtn2", 36, Tr("Преобразовать"), GlyphId::Convert);
    sBitBtn3 = MakeBigButton(this, sPanel4, "sBitBtn3", 68, Tr("Сохранить"), GlyphId::Save);

    sPanel6 = Make<skinned::TsPanel>(this, sPanel1, "sPanel6", 0, 347, 211, 196, alClient);
    sPanel6->SkinData().SetSkinSection("PANEL");
    sPanel6->SetBevelWidth(4);
    SetFont(sPanel6->Font(), "MS Sans Serif", -13);
    sPanel6->SetCaption(Tr("Образ картинки\r\nдля преобразования"));
    DXPaintBox1 = Make<TDXPaintBoxControl>(this, sPanel6, "DXPaintBox1", 4, 4, 203, 188, alClient);
    DXPaintBox1->Box().SetAutoStretch(true);
    DXPaintBox1->Box().SetCenter(true);
    DXPaintBox1->Box().SetKeepAspect(true);
    DXPaintBox1->Box().SetStretch(true);

    sPanel5 = Make<skinned::TsPanel>(this, this, "sPanel5", 211, 0, 563, 543, alClient);
    sPanel5->SkinData().SetSkinSection("PANEL");
    sPanel5->SetBevelWidth(5);
    sPanel5->SetCaption("sPanel5");
    sMemo1 = Make<skinned::TsMemo>(this, sPanel5, "sMemo1", 5, 5, 553, 533, alClient);
    sMemo1->SkinData().SetSkinSection("EDIT");
    sMemo1->SetColor(clWhite);
    SetFont(sMemo1->Font(), "Courier New", -13, clBlack, {TFontStyle::fsBold}, RUSSIAN_CHARSET);
    sMemo1->SetScrollBars(ssBoth);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    N4 = MakeItem(PopupMenu1, "N4", Tr("В ручную"), 0);
    N5 = MakeItem(PopupMenu1, "N5", "-", -1);
    N1 = MakeItem(PopupMenu1, "N1", Tr("Равномерно"), 3);
    N2 = MakeItem(PopupMenu1, "N2", Tr("Экспоненциально"), 1);
    N3 = MakeItem(PopupMenu1, "N3", Tr("По фибаначи"), 2);
    N3->SetAutoCheck(true);

    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");
    ImageList1->SetSize(kIconSize, kIconSize);
    for (int index = 0; index < kImageList1Count; ++index) {
        const TGlyphImage icon = ImageList1Icon(index);
        ImageList1->AddPixels(icon.width, icon.height, icon.pixels);
    }

    // The manager attaches skinned frames to the program's windows as they are activated and
    // makes the painter of the program's skinned menus.
    skinned::UseFormSkinning();
    sSkinManager1 = new skin::TsSkinManager(this);
    sSkinManager1->Loading();
    sSkinManager1->SetName("sSkinManager1");
    skin::AddInternalSkin(sSkinManager1->InternalSkins());
    sSkinManager1->SetSkinningRules(
        {skin::TacSkinningRule::srStdForms, skin::TacSkinningRule::srThirdParty});
    sSkinManager1->MenuSupport().IcoLineSkin = "ICOLINE";
    sSkinManager1->SetSkinName(skin::kInternalSkinName);

    OpenPictureDialog1 = new TOpenPictureDialog(this);
    OpenPictureDialog1->SetName("OpenPictureDialog1");
}

// The definition names other components by name; those links are made once all exist.
void TForm1::ResolveReferences() {
    sSpeedButton1->SetImages(ImageList1);
    sBitBtn4->SetImages(ImageList1);
    PopupMenu1->SetImages(ImageList1);
    sSpeedButton1->SetDropdownMenu(PopupMenu1);
}

void TForm1::BindHandlers() {
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    sSpeedButton1->OnClick = [this](TObject* sender) { ToolButton1Click(sender); };
    for (TMenuItem* item : {N4, N1, N2, N3})
        item->OnClick = [this](TObject* sender) { N4Click(sender); };
    sComboBox1->OnChange = [this](TObject* sender) { ComboBox1Change(sender); };
    sSpinEdit1->OnChange = [this](TObject* sender) { SpinEdit1Change(sender); };
    sSpinEdit2->OnChange = [this](TObject* sender) { SpinEdit2Change(sender); };
    sBitBtn1->OnClick = [this](TObject* sender) { BitBtn1Click(sender); };
    sBitBtn2->OnClick = [this](TObject* sender) { BitBtn2Click(sender); };
    sBitBtn3->OnClick = [this](TObject* sender) { BitBtn4Click(sender); };
    sBitBtn4->OnClick = [this](TObject* sender) { BitBtn3Click(sender); };

    // Changes the table makes to N go to the edit, whose own change then runs SpinEdit1Change.
    m_boundCount.SetOnChange([this] {
        if (sSpinEdit1->Text() != m_boundCount.Text())
            sSpinEdit1->SetText(m_boundCount.Text());
    });
}

template <class Handler> void TForm1::WithTable(Handler handler) {
    StringGrid1->SetEditorMode(false);
    // Setting the count it already has fits the current cell and the scroll bars to the store
    // and repaints; it may fail too, so it is no destructor's job.
    const auto sync = [this] { StringGrid1->SetRowCount(StringGrid1->RowCount()); };
    try {
        handler();
    } catch (...) {
        // The handler's failure is the one the user is told of; the grid follows as far as it
        // can.
        try {
            sync();
        } catch (...) {
        }
        throw;
    }
    sync();
}

void TForm1::WndProc(TMessage& message) {
    if (message.Msg == platform::WM_DROPFILES) {
        // One picture at a time: the first of several files dropped together. While a modal
        // window disables this one, a drop is refused as a click would be.
        const std::vector<std::string> paths = platform::DragQueryFiles(message.WParam);
        message.Result = 0;
        if (!paths.empty() && platform::IsWindowEnabled(Handle()))
            OpenPicture(platform::ExpandFileName(paths.front()));
        return;
    }
    TForm::WndProc(message);
    FocusFirstControlOnActivate(*this, message);
}

void TForm1::QueueOpenPicture(const std::string& path) {
    platform::PostDroppedFiles(Handle(), {path});
}

// ---- TCharTableControls ----

TGridCells& TForm1::Grid() {
    return static_cast<TCharGrid*>(StringGrid1)->Store();
}

TSpinEditModel& TForm1::BoundCount() {
    m_boundCount.SetMinValue(sSpinEdit1->MinValue());
    m_boundCount.SetMaxValue(sSpinEdit1->MaxValue());
    m_boundCount.SetIncrement(sSpinEdit1->Increment());
    m_boundCount.SetText(sSpinEdit1->Text());
    return m_boundCount;
}

int TForm1::PresetIndex() const {
    return sComboBox1->ItemIndex();
}

void TForm1::SetPresetIndex(int index) {
    sComboBox1->SetItemIndex(index);
}

int TForm1::GeneratorIndex() const {
    return sSpeedButton1->ImageIndex();
}

void TForm1::SetGeneratorIndex(int index) {
    sSpeedButton1->SetImageIndex(index);
}

void TForm1::ClickGenerator() {
    sSpeedButton1->Click();
}

// ---- handlers ----

void TForm1::FormCreate(TObject*) {
    WithTable([this] { m_table.FormCreate(); });
}

void TForm1::ToolButton1Click(TObject*) {
    WithTable([this] { m_table.ToolButton1Click(); });
}

void TForm1::N4Click(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item)
        m_table.N4Click(item->ImageIndex());
}

void TForm1::ComboBox1Change(TObject*) {
    WithTable([this] { m_table.ComboBox1Change(); });
}

void TForm1::SpinEdit1Change(TObject*) {
    WithTable([this] { m_table.SpinEdit1Change(); });
}

void TForm1::SpinEdit2Change(TObject*) {
    sMemo1->Font().SetSize(sSpinEdit2->Value());
}

void TForm1::BitBtn1Click(TObject*) {
    // A cancelled dialog changes nothing: no caption, no path, no reload.
    if (!OpenPictureDialog1->Execute())
        return;
    OpenPicture(OpenPictureDialog1->FileName());
}

void TForm1::OpenPicture(const std::string& path) {
    sBitBtn1->SetHint(path);
    sBitBtn1->SetCaption(FileNamePart(path));
    struct Repaint {
        TDXPaintBoxControl* box;
        ~Repaint() { box->Invalidate(); }
    } repaint{DXPaintBox1};
    const toolkit::TBusyCursor busy;
    image::LoadPictureFile(DXPaintBox1->DIB(), sBitBtn1->Hint());
}

void TForm1::BitBtn2Click(TObject*) {
    const toolkit::TBusyCursor busy;
    StringGrid1->SetEditorMode(false);
    sMemo1->Lines().Clear();
    image::TDIB& picture = DXPaintBox1->DIB();
    engine::TConversionRequest request;
    request.sourceWidth = picture.Width();
    request.sourceHeight = picture.Height();
    request.width = sSpinEdit3->Value();
    request.ratioIndex = sComboBox2->ItemIndex();
    request.table = &Grid();
    request.boundCount = sSpinEdit1->Value();
    image::TDIB grey;
    engine::ConvertPicture(
        request,
        [&](std::int32_t w, std::int32_t h) {
            image::DrawGreyCopy(picture, grey, w, h);
            const platform::PixelRows rows = grey.Image().Rows();
            return engine::TGreyRasterView(rows.top, rows.width, rows.height, rows.step);
        },
        [this] { DXPaintBox1->Invalidate(); },
        [this](std::string line) { sMemo1->Lines().Add(line); });
}

void TForm1::BitBtn4Click(TObject*) {
    if (!m_saveOptions || m_saveOptions->ShowModal() != mrOk)
        return;
    std::vector<std::string> lines;
    const int count = sMemo1->Lines().Count();
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(sMemo1->Lines().Get(i));
    const toolkit::TBusyCursor busy;
    const TSaveFileType& type = m_saveOptions->FileType();
    if (type.format == textexport::ExportFormat::Text) {
        engine::SavePagedText(m_saveOptions->Edit1->Text(), lines, sSpinEdit3->Value(),
                              m_saveOptions->SpinEdit1->Value(), m_saveOptions->SpinEdit3->Value());
        return;
    }
    TPaneExport pane;
    pane.fileName = m_saveOptions->Edit1->Text();
    pane.lines = &lines;
    pane.charsPerLine = m_saveOptions->SpinEdit1->Value();
    pane.linesPerPage = m_saveOptions->SpinEdit3->Value();
    const TFont& font = sMemo1->Font();
    pane.font.lfFaceName = font.Name();
    pane.font.lfHeight = font.Height();
    pane.font.lfWeight =
        font.Style().Contains(TFontStyle::fsBold) ? platform::FW_BOLD : platform::FW_NORMAL;
    pane.font.lfItalic = font.Style().Contains(TFontStyle::fsItalic);
    pane.picture = &DXPaintBox1->DIB();
    pane.conversion.sourceWidth = pane.picture->Width();
    pane.conversion.sourceHeight = pane.picture->Height();
    pane.conversion.width = sSpinEdit3->Value();
    pane.conversion.ratioIndex = sComboBox2->ItemIndex();
    pane.conversion.table = &Grid();
    pane.conversion.boundCount = sSpinEdit1->Value();
    SavePaneAs(type, pane);
}

void TForm1::BitBtn3Click(TObject*) {
    // The page holds both languages; a reader of translated captions starts at the English half.
    platform::OpenUrl(WebPageUrl() + (CaptionsTranslated() ? "#en" : ""));
}

} // namespace app
