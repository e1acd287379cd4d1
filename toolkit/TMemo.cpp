#include "toolkit/TMemo.h"

#include "platform/gfx/text/Utf8.h"
#include "toolkit/Exceptions.h"

namespace toolkit {

namespace {

// One call, one line: breaks inside the text are dropped.
std::u32string OneLine(const std::string& utf8) {
    std::u32string s = platform::Utf8ToUtf32(utf8);
    std::erase_if(s, [](char32_t c) { return c == U'\r' || c == U'\n'; });
    return s;
}

} // namespace

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner, true), m_lines(*this) {
    SetBounds(0, 0, 185, 89);
    SetWantReturnsKey(true);
    SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() = default;

int TMemoLines::Count() const {
    const TEditBuffer& b = m_memo.Buffer();
    const int n = b.LineCount();
    return b.Line(n - 1).empty() ? n - 1 : n;
}

void TMemoLines::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw EListError::IndexOutOfBounds(index);
}

std::string TMemoLines::Get(int index) const {
    CheckIndex(index, Count());
    return platform::Utf32ToUtf8(m_memo.Buffer().Line(index));
}

void TMemoLines::Put(int index, const std::string& text) {
    CheckIndex(index, Count());
    m_memo.ProgramReplaceLine(index, OneLine(text));
}

void TMemoLines::Add(const std::string& text) {
    m_memo.ProgramAppendLine(OneLine(text));
}

void TMemoLines::Insert(int index, const std::string& text) {
    CheckIndex(index, Count() + 1);
    if (index == Count())
        m_memo.ProgramAppendLine(OneLine(text));
    else
        m_memo.ProgramInsertLine(index, OneLine(text));
}

void TMemoLines::Delete(int index) {
    CheckIndex(index, Count());
    m_memo.ProgramDeleteLine(index);
}

void TMemoLines::Clear() {
    m_memo.ProgramClear();
}

std::string TMemoLines::Text() const {
    return m_memo.Text();
}

void TMemoLines::SetText(const std::string& text) {
    m_memo.SetText(text);
}

} // namespace toolkit
