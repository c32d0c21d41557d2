// The signals whose default action ends the process and that can be caught: the one list for
// every place that must not be cut short (a save's temporary, a card's ROM left exposed).
#pragma once

#include <csignal>
#include <vector>

namespace vorlane {

// A hangup (a dropped ssh session), an interrupt or quit from the terminal, a broken pipe, a
// kill request, the timers and limits, power failure, I/O readiness, and the real-time
// signals. The faults a program causes itself (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
// SIGTRAP, SIGSYS) cannot be returned from and are left alone; SIGKILL and SIGSTOP cannot be
// caught.
inline const std::vector<int>& terminatingSignals() {
    static const std::vector<int> signals = [] {
        std::vector<int> list = {SIGHUP,    SIGINT,  SIGQUIT, SIGPIPE, SIGALRM,
                                 SIGTERM,   SIGUSR1, SIGUSR2, SIGPOLL, SIGPROF,
                                 SIGVTALRM, SIGXCPU, SIGXFSZ, SIGPWR,  SIGSTKFLT};
        // Read at run time: the C library keeps some real-time signals for itself.
        for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
            list.push_back(signal);
        }
        return list;
    }();
    return signals;
}

}  // namespace vorlane
