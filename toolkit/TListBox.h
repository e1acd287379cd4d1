#pragma once
// The list box: a column of item texts (UTF-8) with at most one selected item, a sunken
// border and the platform's vertical scroll bar, which shows only while the items do not fit.
//
// - ItemIndex is the selected item, -1 for none. Setting it by program fires nothing; values
//   outside -1 ... Count - 1 become -1. The user selects with the mouse (a press selects the
//   item under it, dragging follows the pointer) and the keys Up, Down, Home, End, PageUp,
//   PageDown and typed letters (the next item starting with that letter, wrapping round).
//   OnClick fires once for every click and once for every key that changed the selection.
// - ItemHeight is the font's line height unless set (a value of 0 or less goes back to the
//   font's). Items are drawn in client coordinates from TopIndex down; TopIndex is kept within
//   0 ... Count - VisibleItemCount, and every selection by the user scrolls it into view.
// - Items changes repaint the list; a deleted item before the selection moves it up one, the
//   selected item deleted (or the list reset) leaves no selection.
// - Painting is split for skinned descendants: PaintBackground, then DrawItem for every item
//   that shows. The state getters (ItemIndex, TopIndex, ItemRect, Focused) say the rest.

#include "toolkit/TItemStrings.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

// Where a navigation key leads in a list of count items from `from` (-1: nothing selected),
// paging by `page` items: Up/Left one back, Down/Right one on, Home the first, End the last,
// PageUp / PageDown a page, always within 0 ... count - 1 (-1 for an empty list). False for
// keys that do not navigate.
bool ListNavigationTarget(platform::WORD key, int from, int count, int page, int& target);

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    std::string ClassName() const override { return "TCustomListBox"; }

    TItemStrings& Items() { return m_items; }
    const TItemStrings& Items() const { return m_items; }
    int Count() const { return m_items.Count(); }

    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);
    int TopIndex() const { return m_topIndex; }
    void SetTopIndex(int index);
    int ItemHeight() const;
    void SetItemHeight(int height);
    bool Sorted() const { return m_items.Sorted(); }
    void SetSorted(bool on) { m_items.SetSorted(on); }

    // The rectangle of an item in client coordinates (it may lie outside the client area).
    platform::Rect ItemRect(int index) const;
    // The item at a client point; with `existing` false a point below the last item answers
    // the last item and above the first the first. -1 when there is none.
    int ItemAtPos(platform::Point p, bool existing) const;
    // How many items show whole (at least 1).
    int VisibleItemCount() const;
    // Scrolls as little as needed for the item to show whole.
    void MakeVisible(int index);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    virtual void PaintBackground(TCanvas& canvas, const platform::Rect& rect);
    virtual void DrawItem(TCanvas& canvas, int index, const platform::Rect& rect, bool selected,
                          bool focusMark);

    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

    // Selects index as the user did: scrolls it into view and, when it changed, runs
    // UserSelected (which fires OnClick).
    void SelectByUser(int index);
    virtual void UserSelected();
    virtual void ItemsChanged(TItemStrings::TChange change, int index);
    void UpdateScrollBar();

private:
    void Scroll(int code);

    TItemStrings m_items;
    int m_itemIndex = -1;
    int m_topIndex = 0;
    int m_itemHeight = 0; // 0: from the font
    bool m_updatingScrollBar = false;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    std::string ClassName() const override { return "TListBox"; }
};

} // namespace toolkit
