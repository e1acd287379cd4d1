#include "toolkit/TPicturePreview.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>

#include "platform/gfx/text/TextDraw.h"
#include "toolkit/Colors.h"
#include "toolkit/TGraphic.h"

namespace toolkit {
namespace {

constexpr int kMargin = 4;
constexpr const char* kNoPicture = "(None)";

} // namespace

TPicturePreview::TPicturePreview(TComponent* owner) : TCustomControl(owner) {
    SetColor(clWindow);
    SetTabStop(false);
}

TPicturePreview::~TPicturePreview() = default;

void TPicturePreview::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= platform::WS_EX_CLIENTEDGE;
}

void TPicturePreview::ShowFile(const std::string& fileName) {
    m_fileName = fileName;
    m_picture.SetGraphic(nullptr);
    m_message = kNoPicture;
    if (!fileName.empty()) {
        try {
            m_picture.LoadFromFile(fileName);
            if (m_picture.Graphic() && !m_picture.Graphic()->Empty())
                m_message.clear();
            else
                m_picture.SetGraphic(nullptr);
        } catch (const std::bad_alloc&) {
            m_picture.SetGraphic(nullptr);
            m_message = "Out of memory";
        } catch (const std::exception& e) {
            m_picture.SetGraphic(nullptr);
            m_message = e.what();
        } catch (...) {
            m_picture.SetGraphic(nullptr);
        }
    }
    Invalidate();
}

void TPicturePreview::Clear() {
    ShowFile("");
}

std::string TPicturePreview::SizeText() const {
    if (!m_picture.Graphic())
        return {};
    return std::to_string(m_picture.Width()) + " x " + std::to_string(m_picture.Height());
}

int TPicturePreview::TextLineHeight() const {
    return std::max(platform::TextExtent(*Font().Handle(), U"Ag").cy, 1) + 2;
}

platform::Rect TPicturePreview::ImageArea() const {
    const platform::Rect client = ClientRect();
    platform::Rect area{client.left + kMargin, client.top + kMargin, client.right - kMargin,
                        client.bottom - kMargin - TextLineHeight()};
    if (area.right < area.left)
        area.right = area.left;
    if (area.bottom < area.top)
        area.bottom = area.top;
    return area;
}

platform::Rect TPicturePreview::PictureRect() const {
    const TGraphic* graphic = m_picture.Graphic();
    const platform::Rect area = ImageArea();
    if (!graphic || graphic->Width() <= 0 || graphic->Height() <= 0 || area.Width() <= 0 ||
        area.Height() <= 0)
        return {};
    // The larger side decides, in 64-bit so huge pictures cannot overflow the products.
    const std::int64_t w = graphic->Width(), h = graphic->Height();
    std::int64_t fitW = area.Width(), fitH = fitW * h / w;
    if (fitH > area.Height()) {
        fitH = area.Height();
        fitW = fitH * w / h;
    }
    fitW = std::max<std::int64_t>(fitW, 1);
    fitH = std::max<std::int64_t>(fitH, 1);
    const int left = area.left + static_cast<int>((area.Width() - fitW) / 2);
    const int top = area.top + static_cast<int>((area.Height() - fitH) / 2);
    return {left, top, left + static_cast<int>(fitW), top + static_cast<int>(fitH)};
}

void TPicturePreview::Paint() {
    TCanvas& canvas = Canvas();
    const platform::Rect client = ClientRect();
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    canvas.Font().Assign(&Font());
    const platform::Rect area = ImageArea();
    if (m_picture.Graphic()) {
        const platform::Rect r = PictureRect();
        if (r.Width() > 0 && r.Height() > 0) {
            try {
                PaintPicture(canvas, r);
            } catch (const std::exception&) {
                // A picture that cannot draw leaves its area blank; the size line still tells.
            }
        }
    } else {
        PaintMessage(canvas, area);
    }
    PaintSizeText(canvas, {client.left + kMargin, area.bottom, client.right - kMargin,
                           client.bottom - kMargin});
}

void TPicturePreview::PaintPicture(TCanvas& canvas, const platform::Rect& rect) {
    canvas.StretchDraw(rect, *m_picture.Graphic());
}

void TPicturePreview::PaintMessage(TCanvas& canvas, const platform::Rect& area) {
    platform::Rect r = area;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    // Word-wrapped lines centred as a block: measure, then draw into the centred rectangle.
    platform::Rect measure{0, 0, r.Width(), 0};
    canvas.DrawText(m_message, measure,
                    platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_CALCRECT);
    const int top = r.top + std::max(0, (r.Height() - measure.Height()) / 2);
    platform::Rect block{r.left, top, r.right, std::min(r.bottom, top + measure.Height())};
    canvas.DrawText(m_message, block,
                    platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_NOPREFIX);
}

void TPicturePreview::PaintSizeText(TCanvas& canvas, const platform::Rect& line) {
    const std::string text = SizeText();
    if (text.empty())
        return;
    platform::Rect r = line;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.DrawText(text, r,
                    platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE |
                        platform::DT_NOPREFIX);
}

} // namespace toolkit
