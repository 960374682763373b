#include "record/StopSignals.h"

#include <sys/signalfd.h>
#include <unistd.h>

namespace zefa::record {

namespace {

sigset_t stopSet() {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = stopSet();
    ::sigprocmask(SIG_BLOCK, &set, &m_previous);
    m_signals = FileDescriptor(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
}

StopSignals::~StopSignals() {
    m_signals.reset();
    ::sigprocmask(SIG_SETMASK, &m_previous, nullptr);
}

bool StopSignals::received() const {
    signalfd_siginfo info{};
    bool any = false;
    while (::read(m_signals.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        any = true;
    return any;
}

}  // namespace zefa::record
