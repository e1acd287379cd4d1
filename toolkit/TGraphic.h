#pragma once
// Pictures. TGraphic is the abstract picture a canvas can draw: it has a size in pixels, can be
// empty, draws itself stretched into a rectangle of a canvas (logical coordinates of the
// canvas, right/bottom exclusive), loads from and saves to streams in its file format, and tells
// listeners through OnChange when its picture changed.
//
// TSharedImage is the reference-counted pixel or data store that pictures of one class share
// between copies; the last Release frees it.
//
// Bad input to LoadFromStream raises the picture class's own exception (EInvalidGraphic and
// descendants, EReadError for data that ends early) and leaves the picture as it was unless the
// class says otherwise.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Palette.h"
#include "toolkit/Streams.h"
#include "toolkit/TPersistent.h"

namespace toolkit {

class TCanvas;

class TSharedImage {
public:
    TSharedImage() = default;
    TSharedImage(const TSharedImage&) = delete;
    TSharedImage& operator=(const TSharedImage&) = delete;
    virtual ~TSharedImage() = default;

    void Reference() { ++m_refCount; }
    // Drops one reference and deletes the store at 0 (the store must come from new).
    void Release();
    std::int32_t RefCount() const { return m_refCount; }

private:
    std::int32_t m_refCount = 0;
};

class TGraphic : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphic"; }

    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void SetWidth(std::int32_t value) = 0;
    virtual void SetHeight(std::int32_t value) = 0;

    // Draws the picture stretched into rect of the canvas. Called by TCanvas::Draw and
    // StretchDraw, which have already made sure the canvas can draw.
    virtual void Draw(TCanvas& canvas, const platform::Rect& rect) = 0;

    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    // Opens the file for reading (EFOpenError "Cannot open file "%s". %s") and loads it.
    virtual void LoadFromFile(const std::string& fileName);
    // Creates the file (EFCreateError) and saves into it.
    virtual void SaveToFile(const std::string& fileName);

    // The picture's palette, or nullptr when it has none.
    virtual std::shared_ptr<platform::Palette> GetPalette() { return nullptr; }

    bool Modified() const { return m_modified; }
    void SetModified(bool value);
    bool PaletteModified() const { return m_paletteModified; }
    void SetPaletteModified(bool value) { m_paletteModified = value; }

    // Called after every change of the picture.
    std::function<void(TGraphic&)> OnChange;

protected:
    // Marks the picture modified and tells the listener.
    virtual void Changed();

private:
    bool m_modified = false;
    bool m_paletteModified = false;
};

} // namespace toolkit
