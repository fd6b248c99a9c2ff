// The GUI thread's message loop and the pump that the link decoder calls while it works.
// Both hand every key message to the top-level window it is meant for first
// (kMsgTranslateKey), so that the windows' key rules hold in either.
#pragma once

#include <windows.h>

namespace vantrel {

// Runs until the quit message; returns its exit code.
int run_message_loop();

// Handles the queued messages until the queue is empty or the quit message is next; the
// quit message stays queued. Installed as the decoder's message pump.
void pump_pending_messages();

}  // namespace vantrel
