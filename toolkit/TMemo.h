#pragma once
// The multi-line edit. All editing, caret, selection, clipboard, undo and painting behaviour is
// TCustomEdit's (toolkit/TCustomEdit.h); the memo adds Enter (a line break, WantReturns),
// optionally Tab (WantTabs), the platform's standard scroll bars (ScrollBars: WS_HSCROLL /
// WS_VSCROLL, kept shown and disabled while there is nothing to scroll), the wheel (three lines
// a notch) and its line list.
//
// Lines is a live view of the text as a list of strings, like a string list: Count does not
// include an empty last line, so the text "a\r\nb\r\n" and the text "a\r\nb" both have two
// lines; Add puts a line at the end and leaves the text ending in a line break. Each change made
// through Lines is a change of the text: OnChange runs, the undo step is dropped, and the caret
// keeps its line and column as far as they still exist. Index errors raise EListError "List
// index out of bounds (%d)". Line texts are UTF-8; line breaks inside a text given to Put, Add
// or Insert are dropped (one call, one line).
//
// Lines never wrap (WordWrap stays false: long lines scroll sideways). Changing the font (its
// Size in points, say) re-measures every line and repaints at once.

#include <string>

#include "toolkit/TCustomEdit.h"

namespace toolkit {

class TCustomMemo;

class TMemoLines {
public:
    explicit TMemoLines(TCustomMemo& memo) : m_memo(memo) {}
    TMemoLines(const TMemoLines&) = delete;
    TMemoLines& operator=(const TMemoLines&) = delete;

    int Count() const;
    std::string operator[](int index) const { return Get(index); }
    std::string Get(int index) const;
    void Put(int index, const std::string& text);
    void Add(const std::string& text);
    void Insert(int index, const std::string& text);
    void Delete(int index);
    void Clear();
    std::string Text() const;
    void SetText(const std::string& text);

private:
    void CheckIndex(int index, int limit) const;

    TCustomMemo& m_memo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    std::string ClassName() const override { return "TCustomMemo"; }

    TMemoLines& Lines() { return m_lines; }
    const TMemoLines& Lines() const { return m_lines; }

    TScrollStyle ScrollBars() const { return ScrollBarsStyle(); }
    void SetScrollBars(TScrollStyle style) { SetScrollBarsStyle(style); }
    bool WantReturns() const { return WantReturnsKey(); }
    void SetWantReturns(bool on) { SetWantReturnsKey(on); }
    bool WantTabs() const { return WantTabsKey(); }
    void SetWantTabs(bool on) { SetWantTabsKey(on); }
    bool WordWrap() const { return false; }

    // The caret's line and column.
    TTextPos CaretPosition() const { return CaretPos(); }

private:
    friend class TMemoLines;
    TMemoLines m_lines;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
    std::string ClassName() const override { return "TMemo"; }
};

} // namespace toolkit
