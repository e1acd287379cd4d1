// The grid's plain look: cells in their colours with their text, grid lines, raised fixed
// cells unless the grid is flat, and the focus frame on the current cell.

#include <algorithm>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "toolkit/TCustomGrid.h"

namespace toolkit {

void TCustomGrid::Paint() {
    TCanvas& c = Canvas();
    PaintCells(c);
    PaintFocus(c);
}

void TCustomGrid::PaintCells(TCanvas& canvas) {
    platform::DeviceContext& dc = canvas.Handle();
    const int width = ClientWidth(), height = ClientHeight();
    platform::FillRect(dc, ClientRect(), ColorToRGB(Color()));
    const TGridRect sel = Selection();
    const bool focused = Focused();
    const bool drawFocusSelected = m_options.Contains(goDrawFocusSelected);
    const int lw = m_gridLineWidth;

    int y = 0;
    auto nextRow = [&](int r) { return r + 1 == FixedRows() ? m_topLeft.Y : r + 1; };
    for (int r = FixedRows() > 0 ? 0 : m_topLeft.Y; r < RowCount() && y < height; r = nextRow(r)) {
        const int h = RowHeights(r);
        int x = 0;
        auto nextCol = [&](int c) { return c + 1 == m_fixedCols ? m_topLeft.X : c + 1; };
        for (int c = m_fixedCols > 0 ? 0 : m_topLeft.X; c < ColCount() && x < width;
             c = nextCol(c)) {
            const int w = ColWidths(c);
            const platform::Rect rect = platform::Rect::FromSize(x, y, w, h);
            const bool fixed = c < m_fixedCols || r < FixedRows();
            const bool current = c == m_current.X && r == m_current.Y;
            TGridDrawState state;
            if (fixed)
                state.Include(gdFixed);
            if (!fixed && sel.Contains(c, r) && !(current && focused && !drawFocusSelected))
                state.Include(gdSelected);
            if (current && focused)
                state.Include(gdFocused);
            DrawCell(canvas, c, r, rect, state);
            if (lw > 0) {
                platform::FillRect(dc, {x + w, y, x + w + lw, y + h + lw}, LineColor(fixed, true));
                platform::FillRect(dc, {x, y + h, x + w, y + h + lw}, LineColor(fixed, false));
            }
            x += w + lw;
        }
        y += h + lw;
    }
}

void TCustomGrid::DrawCell(TCanvas& canvas, int col, int row, const platform::Rect& rect,
                           TGridDrawState state) {
    platform::DeviceContext& dc = canvas.Handle();
    platform::DcStateGuard guard(dc);
    platform::FillRect(dc, rect, CellColor(state));
    if (state.Contains(gdFixed) && !m_flat)
        platform::DrawBevel(dc, rect, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow));
    const std::string text = CellText(col, row);
    if (text.empty())
        return;
    platform::SelectFont(dc, Font().Handle());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    platform::SetTextColor(
        dc, ColorToRGB(state.Contains(gdSelected) ? clHighlightText : Font().Color()));
    platform::Rect inner{rect.left + 2, rect.top + 2, rect.right, rect.bottom};
    platform::DrawText(dc, text, inner, platform::DT_SINGLELINE | platform::DT_NOPREFIX);
}

void TCustomGrid::PaintFocus(TCanvas& canvas) {
    if (!Focused() || EditorMode())
        return;
    const platform::Rect r = CellRect(m_current.X, m_current.Y);
    if (!r.IsEmpty())
        platform::DrawFocusRect(canvas.Handle(), r);
}

platform::Color TCustomGrid::CellColor(TGridDrawState state) const {
    if (state.Contains(gdFixed))
        return ColorToRGB(m_fixedColor);
    if (state.Contains(gdSelected))
        return ColorToRGB(clHighlight);
    return ColorToRGB(Color());
}

platform::Color TCustomGrid::LineColor(bool fixed, bool vertical) const {
    const TGridOption option = fixed ? (vertical ? goFixedVertLine : goFixedHorzLine)
                                     : (vertical ? goVertLine : goHorzLine);
    if (!m_options.Contains(option))
        return ColorToRGB(fixed ? m_fixedColor : Color());
    if (fixed)
        return ColorToRGB(clBlack);
    return ColorToRGB(clSilver);
}

} // namespace toolkit
