#pragma once
// The picture dialog's preview: one picture file, loaded through TPicture, drawn scaled to fit
// the area above a line that tells its size ("W x H"), centred and keeping its proportions
// (small pictures are enlarged too, so a few pixels still read as a picture). With no picture
// the area says "(None)"; a file that fails to load shows the error's text instead. Loading
// never lets an exception out; what a picture class refuses (unknown formats, broken or absurdly
// large pictures) only ends up as that text. Sunken border, window colour inside.
//
// Coordinates: client coordinates of the control. The state getters (Picture, Message,
// PictureRect, SizeText) tell a skinned descendant what to draw.

#include <string>

#include "toolkit/TPicture.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

class TPicturePreview : public TCustomControl {
public:
    explicit TPicturePreview(TComponent* owner);
    ~TPicturePreview() override;

    std::string ClassName() const override { return "TPicturePreview"; }

    // Loads the file (empty: shows nothing) and repaints.
    void ShowFile(const std::string& fileName);
    void Clear();

    const std::string& FileName() const { return m_fileName; }
    const TPicture& Picture() const { return m_picture; }
    // "(None)" or the error text when no picture shows; empty when one does.
    const std::string& Message() const { return m_message; }
    // "W x H" of the picture shown, else empty.
    std::string SizeText() const;
    // The area pictures are fitted into, and where the current one is drawn (empty: none).
    platform::Rect ImageArea() const;
    platform::Rect PictureRect() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    virtual void PaintPicture(TCanvas& canvas, const platform::Rect& rect);
    virtual void PaintMessage(TCanvas& canvas, const platform::Rect& area);
    virtual void PaintSizeText(TCanvas& canvas, const platform::Rect& line);

private:
    int TextLineHeight() const;

    TPicture m_picture;
    std::string m_fileName;
    std::string m_message = "(None)";
};

} // namespace toolkit
