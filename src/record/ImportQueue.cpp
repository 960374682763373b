#include "record/ImportQueue.h"

#include <algorithm>

namespace zefa::record {

void ImportQueue::ask(const ImportRequest& request) {
    const auto same = [&request](const ImportRequest& other) {
        return request.final && other.final && other.spool == request.spool;
    };
    if (std::none_of(m_asked.begin(), m_asked.end(), same) && !(m_running && same(*m_running)))
        m_asked.push_back(request);
}

std::optional<std::string> ImportQueue::startNext() {
    if (m_runner.busy() || m_asked.empty()) return std::nullopt;
    const ImportRequest request = m_asked.front();
    m_asked.pop_front();
    std::string whyNot;
    if (!m_runner.start(m_archive / request.spool, whyNot))
        return "cannot import " + request.spool + ": " + whyNot;
    m_running = request;
    return std::nullopt;
}

std::optional<std::pair<ImportRequest, ImportOutcome>> ImportQueue::collect() {
    if (!m_runner.busy()) return std::nullopt;
    auto outcome = m_runner.collect();
    if (!outcome) return std::nullopt;
    return std::pair(*std::exchange(m_running, std::nullopt), std::move(*outcome));
}

}  // namespace zefa::record
