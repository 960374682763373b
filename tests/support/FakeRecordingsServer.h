#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/ScratchDir.h"

namespace zefa::test {

// support/fake_recordings_server.py (ZEFA_FAKE_SERVER) on 127.0.0.1: a
// season server's recordings API that gives the answers it is told to give
// first, then 201 for a new body and 200 "already" for one it has; it knows
// `token` alone.
class FakeRecordingsServer {
public:
    FakeRecordingsServer(std::filesystem::path folder, const std::string& token,
                         const std::vector<std::string>& statuses)
        : m_folder(std::move(folder)) {
        std::filesystem::create_directories(m_folder);
        std::vector<std::string> args = {"/usr/bin/python3", ZEFA_FAKE_SERVER, m_folder.string(),
                                         token};
        args.insert(args.end(), statuses.begin(), statuses.end());
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(m_folder / "port") &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~FakeRecordingsServer() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    FakeRecordingsServer(const FakeRecordingsServer&) = delete;
    FakeRecordingsServer& operator=(const FakeRecordingsServer&) = delete;

    [[nodiscard]] std::string url() const {
        return "http://127.0.0.1:" + readFile(m_folder / "port");
    }
    // The bodies it stored, in the order they came.
    [[nodiscard]] std::vector<std::string> bodies() const {
        std::vector<std::string> bodies;
        for (int n = 1; std::filesystem::exists(m_folder / "bodies" / std::to_string(n)); ++n)
            bodies.push_back(readFile(m_folder / "bodies" / std::to_string(n)));
        return bodies;
    }
    // A line per request: status, path and query, content type.
    [[nodiscard]] std::string requests() const { return readFile(m_folder / "requests.txt"); }

private:
    std::filesystem::path m_folder;
    pid_t m_pid = -1;
};

}  // namespace zefa::test
