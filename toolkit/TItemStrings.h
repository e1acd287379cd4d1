#pragma once
// The item texts of a list box or combo box (UTF-8). Unlike a plain TStringList it tells its
// one listener (OnChange) after every change, so the control that shows the items can repaint
// and fix its selection; BeginUpdate / EndUpdate gather a run of changes into one notice.
//
// Sorted: Add and Insert put a text where it belongs in the order (by code point, Latin and
// Cyrillic letters without regard to case, "ё" next to "е"; texts that differ only in case
// keep their arrival order) and turning Sorted on sorts what is there. Insert ignores its
// index while Sorted.
//
// Index errors raise EListError "List index out of bounds (%d)" and change nothing.

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "toolkit/TStringList.h"

namespace toolkit {

class TItemStrings {
public:
    // What changed: Insert / Delete carry the index, Reset means "look at everything again".
    enum class TChange { Insert, Delete, Put, Reset };
    using TChangeEvent = std::function<void(TChange change, int index)>;

    TItemStrings() = default;
    TItemStrings(const TItemStrings&) = delete;
    TItemStrings& operator=(const TItemStrings&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& operator[](int index) const { return Strings(index); }
    const std::string& Strings(int index) const;
    const std::vector<std::string>& Lines() const { return m_items; }

    // Answers the index the text landed at.
    int Add(std::string text);
    void Insert(int index, std::string text);
    void Put(int index, std::string text);
    void Delete(int index);
    void Clear();
    void Assign(const std::vector<std::string>& lines);
    void Assign(std::initializer_list<std::string> lines) {
        Assign(std::vector<std::string>(lines));
    }
    void Assign(const TStringList& list) { Assign(list.Lines()); }
    // The first item equal to text (exactly), or -1.
    int IndexOf(const std::string& text) const;
    // The first item after `after` (wrapping round, `after` itself last) whose text starts with
    // letter, case folded as Sorted folds it; -1 when there is none. Lists and combo boxes
    // jump there when a letter is typed.
    int NextStartingWith(char32_t letter, int after) const;

    std::string Text() const;
    void SetText(const std::string& text);

    bool Sorted() const { return m_sorted; }
    void SetSorted(bool on);

    void BeginUpdate() { ++m_updateLevel; }
    void EndUpdate();

    TChangeEvent OnChange;

    // The order Sorted uses: negative, zero or positive.
    static int CompareItems(const std::string& a, const std::string& b);

private:
    void Changed(TChange change, int index);
    void CheckIndex(int index, int limit) const;
    int SortedPosition(const std::string& text) const;

    std::vector<std::string> m_items;
    bool m_sorted = false;
    int m_updateLevel = 0;
    bool m_changedWhileUpdating = false;
};

} // namespace toolkit
