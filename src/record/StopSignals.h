#pragma once

#include <signal.h>

#include "record/FileDescriptor.h"

namespace zefa::record {

// SIGINT and SIGTERM as something to wait on beside the logs: blocked while
// the object lives, so that they arrive on a descriptor and the recorder
// stops between two steps, never inside one.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable when a stop was asked for; -1 when the system gave none.
    [[nodiscard]] int descriptor() const { return m_signals.get(); }
    // Whether a stop was asked for since the last call.
    [[nodiscard]] bool received() const;

private:
    sigset_t m_previous{};
    FileDescriptor m_signals;
};

}  // namespace zefa::record
