#include "toolkit/TItemStrings.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/text/Utf8.h"
#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

// Folds the letters people expect a list to sort without regard to case.
char32_t Fold(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c >= U'А' && c <= U'Я')
        return c + 32;
    if (c == U'Ё')
        return U'ё';
    return c;
}

// The place of a folded character in the order: code point order, except that "ё" comes
// right after "е" as in the alphabet rather than after "я".
std::uint64_t OrderKey(char32_t c) {
    const char32_t f = Fold(c);
    if (f == U'ё')
        return std::uint64_t{U'е'} * 2 + 1;
    return std::uint64_t{f} * 2;
}

} // namespace

const std::string& TItemStrings::Strings(int index) const {
    CheckIndex(index, Count());
    return m_items[static_cast<std::size_t>(index)];
}

int TItemStrings::CompareItems(const std::string& a, const std::string& b) {
    const std::u32string wa = platform::Utf8ToUtf32(a);
    const std::u32string wb = platform::Utf8ToUtf32(b);
    const std::size_t n = std::min(wa.size(), wb.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t ka = OrderKey(wa[i]), kb = OrderKey(wb[i]);
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    if (wa.size() != wb.size())
        return wa.size() < wb.size() ? -1 : 1;
    return 0;
}

int TItemStrings::SortedPosition(const std::string& text) const {
    const auto it = std::upper_bound(
        m_items.begin(), m_items.end(), text,
        [](const std::string& t, const std::string& item) { return CompareItems(t, item) < 0; });
    return static_cast<int>(it - m_items.begin());
}

int TItemStrings::Add(std::string text) {
    const int index = m_sorted ? SortedPosition(text) : Count();
    m_items.insert(m_items.begin() + index, std::move(text));
    Changed(TChange::Insert, index);
    return index;
}

void TItemStrings::Insert(int index, std::string text) {
    if (m_sorted) {
        Add(std::move(text));
        return;
    }
    CheckIndex(index, Count() + 1);
    m_items.insert(m_items.begin() + index, std::move(text));
    Changed(TChange::Insert, index);
}

void TItemStrings::Put(int index, std::string text) {
    CheckIndex(index, Count());
    if (m_sorted) {
        // The text may belong elsewhere now.
        BeginUpdate();
        Delete(index);
        Add(std::move(text));
        EndUpdate();
        return;
    }
    m_items[static_cast<std::size_t>(index)] = std::move(text);
    Changed(TChange::Put, index);
}

void TItemStrings::Delete(int index) {
    CheckIndex(index, Count());
    m_items.erase(m_items.begin() + index);
    Changed(TChange::Delete, index);
}

void TItemStrings::Clear() {
    if (m_items.empty())
        return;
    m_items.clear();
    Changed(TChange::Reset, -1);
}

void TItemStrings::Assign(const std::vector<std::string>& lines) {
    m_items = lines;
    if (m_sorted)
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const auto& a, const auto& b) { return CompareItems(a, b) < 0; });
    Changed(TChange::Reset, -1);
}

int TItemStrings::IndexOf(const std::string& text) const {
    const auto it = std::find(m_items.begin(), m_items.end(), text);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

int TItemStrings::NextStartingWith(char32_t letter, int after) const {
    const int n = Count();
    if (n == 0)
        return -1;
    const char32_t want = Fold(letter);
    const int start = after < 0 || after >= n ? n - 1 : after;
    for (int step = 1; step <= n; ++step) {
        const int i = (start + step) % n;
        const std::u32string w = platform::Utf8ToUtf32(m_items[static_cast<std::size_t>(i)]);
        if (!w.empty() && Fold(w[0]) == want)
            return i;
    }
    return -1;
}

std::string TItemStrings::Text() const {
    TStringList list;
    for (const std::string& s : m_items)
        list.Add(s);
    return list.Text();
}

void TItemStrings::SetText(const std::string& text) {
    TStringList list;
    list.SetText(text);
    Assign(list.Lines());
}

void TItemStrings::SetSorted(bool on) {
    if (on == m_sorted)
        return;
    m_sorted = on;
    if (on)
        Assign(std::vector<std::string>(m_items));
}

void TItemStrings::EndUpdate() {
    if (m_updateLevel == 0)
        return;
    if (--m_updateLevel == 0 && m_changedWhileUpdating) {
        m_changedWhileUpdating = false;
        Changed(TChange::Reset, -1);
    }
}

void TItemStrings::Changed(TChange change, int index) {
    if (m_updateLevel > 0) {
        m_changedWhileUpdating = true;
        return;
    }
    if (OnChange)
        OnChange(change, index);
}

void TItemStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw EListError::IndexOutOfBounds(index);
}

} // namespace toolkit
