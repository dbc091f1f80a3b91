#pragma once
// SIGINT and SIGTERM end the game the way closing the window does: the handler only raises a
// flag, and the message queue hands it to the frame loop as WM_DESTROY, once. A second signal
// while the first is still unanswered (the game is stuck in loading, say) ends the process the
// signal's default way.
namespace brontal {

void InstallQuitSignalHandlers();
// True once after a quit signal arrived; false until the next one.
bool TakeQuitSignal();
// Back to the default actions, for where no frame loop will answer (an error box is up).
void RestoreDefaultQuitSignals();

}  // namespace brontal
