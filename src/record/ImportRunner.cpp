#include "record/ImportRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace zefa::record {

namespace {

// The child's end of the pipe; every descriptor above it is closed.
constexpr int kChildOut = 3;

ImportOutcome runJob(const ImportJob& job, const std::filesystem::path& spool) {
    // The child's last line of defence: whatever the import throws becomes
    // its outcome instead of an abort without one.
    try {
        return job(spool);
    } catch (const std::bad_alloc&) {
        return {ImportOutcome::Kind::Failed, "out of memory"};
    } catch (const std::exception& failure) {
        return {ImportOutcome::Kind::Failed, failure.what()};
    }
}

[[noreturn]] void runChild(const ImportJob& job, const std::filesystem::path& spool, int out) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Nothing of the recorder's stays open here: above all not the archive's
    // lock, which a child outliving a killed recorder would go on holding.
    if (out != kChildOut) ::dup2(out, kChildOut);
    ::close_range(kChildOut + 1, ~0U, 0);
    const ImportOutcome outcome = runJob(job, spool);
    // The kind's digit, the seconds to wait and a space, the words.
    const std::string message = std::to_string(static_cast<int>(outcome.kind)) +
                                std::to_string(outcome.retryAfter.count()) + " " + outcome.words;
    for (std::size_t done = 0; done < message.size();) {
        const ssize_t written = ::write(kChildOut, message.data() + done, message.size() - done);
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    ::_exit(0);
}

ImportOutcome outcomeOf(int status, const std::string& said) {
    const std::size_t space = said.find(' ');
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && space != std::string::npos &&
        space > 1 && said[0] >= '0' && said[0] <= '3')
        return {static_cast<ImportOutcome::Kind>(said[0] - '0'), said.substr(space + 1),
                std::chrono::seconds(std::strtoll(said.c_str() + 1, nullptr, 10))};
    if (WIFSIGNALED(status))
        return {ImportOutcome::Kind::Failed,
                std::string("the import was ended by a signal (") + ::strsignal(WTERMSIG(status)) +
                    ")"};
    return {ImportOutcome::Kind::Failed, "the import ended without an outcome"};
}

}  // namespace

bool ImportRunner::start(const std::filesystem::path& spool, std::string& whyNot) {
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        whyNot = std::strerror(errno);
        return false;
    }
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    const pid_t child = ::fork();
    if (child < 0) {
        whyNot = std::strerror(errno);
        return false;
    }
    if (child == 0) runChild(m_job, spool, writeEnd.get());
    ::fcntl(readEnd.get(), F_SETFL, O_NONBLOCK);
    m_child = child;
    m_said = std::move(readEnd);
    m_words.clear();
    return true;
}

std::optional<ImportOutcome> ImportRunner::collect() {
    std::array<char, 4096> block{};
    for (;;) {
        const ssize_t got = ::read(m_said.get(), block.data(), block.size());
        if (got > 0) {
            m_words.append(block.data(), static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) return std::nullopt;  // more to come
        break;  // the end of the pipe: the child has ended
    }
    int status = 0;
    while (::waitpid(m_child, &status, 0) < 0 && errno == EINTR) {
    }
    m_child = -1;
    m_said.reset();
    return outcomeOf(status, m_words);
}

void ImportRunner::cancel() {
    if (!busy()) return;
    ::kill(m_child, SIGKILL);
    ::waitpid(m_child, nullptr, 0);
    m_child = -1;
    m_said.reset();
}

}  // namespace zefa::record
