#pragma once

namespace kelvo {

// Processes every message waiting for this thread, so windows repaint and
// timers and clicks are handled while a long operation runs. A quit request
// met on the way is put back for the thread's own message loop, and the
// result is false: the operation should end and return to that loop.
bool PumpPendingMessages();

}  // namespace kelvo
