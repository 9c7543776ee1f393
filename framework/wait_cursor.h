// CWaitCursor: the hourglass while the object lives, for work the user
// waits through on the GUI thread; the previous cursor comes back after.
#ifndef KL_FRAMEWORK_WAIT_CURSOR_H
#define KL_FRAMEWORK_WAIT_CURSOR_H

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

#endif
