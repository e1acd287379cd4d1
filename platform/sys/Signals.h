#pragma once
// Being asked from outside to end: SIGINT (Ctrl+C in the terminal), SIGTERM (kill, a session
// logging out) and SIGHUP (the terminal going away). The handlers only note the request; the
// message retrieval turns a noted request into WM_QUIT, so every loop, modal ones included,
// unwinds the way closing the main window does. A second signal that arrives before the first
// was taken ends the process at once (the program may be stuck and the user means it).
//
// Installing is for the real program: a test that installs the handlers removes them again.

namespace platform {

void CatchTerminationSignals();
void ReleaseTerminationSignals();

// Whether a request is waiting (the backend's wait looks, so it can stop waiting).
bool TerminationPending();
// Takes the waiting request, if any.
bool TakeTerminationRequest();

} // namespace platform
