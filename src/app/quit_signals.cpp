#include "app/quit_signals.h"

#include <csignal>

namespace brontal {

namespace {

volatile std::sig_atomic_t g_quitSignal = 0;

extern "C" void OnQuitSignal(int signal) {
    if (g_quitSignal) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_quitSignal = 1;
}

}  // namespace

void InstallQuitSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void RestoreDefaultQuitSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool TakeQuitSignal() {
    if (!g_quitSignal) return false;
    g_quitSignal = 0;
    return true;
}

}  // namespace brontal
