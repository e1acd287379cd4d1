#pragma once
// Shows the busy watch over all the program's windows while a piece of work runs on the message
// loop's thread (opening a picture, converting, writing a file), and puts back what was there
// when the work ends, by return or by exception. Guards nest; without a running window system
// (the command-line tool) a guard does nothing.

#include <optional>

#include "platform/win/WinDefs.h"

namespace toolkit {

class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    bool m_shown = false;
    std::optional<platform::Cursor> m_previous;
};

} // namespace toolkit
