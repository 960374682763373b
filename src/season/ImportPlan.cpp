#include "season/ImportPlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "season/IsoTime.h"

namespace zefa::season {

namespace {

// Whether FILE of a FILE@TIME names the log: its path, or without a folder
// its file name.
bool names(const std::filesystem::path& file, const std::filesystem::path& log) {
    if (!file.has_parent_path()) return log.filename() == file;
    std::error_code ignored;
    return file.lexically_normal() == log.lexically_normal() ||
           std::filesystem::equivalent(file, log, ignored);
}

// The logs in a folder, in name order.
std::vector<std::filesystem::path> logsIn(const std::filesystem::path& folder,
                                          std::error_code& error) {
    std::vector<std::filesystem::path> logs;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (!it->path().filename().string().starts_with('.') && it->is_regular_file(ignored))
            logs.push_back(it->path());
    }
    std::ranges::sort(logs);
    return logs;
}

// Gives each log named by a FILE@TIME its time; the usage error when one
// names no log, or, by a file name alone, logs in several folders.
std::string timeNamedLogs(std::vector<PlannedLog>& logs, const PlayedAtTimes& times) {
    for (const auto& [file, time] : times.perFile) {
        std::vector<std::filesystem::path> named;
        for (PlannedLog& log : logs) {
            if (!names(file, log.path)) continue;
            log.playedAt = time;
            if (std::ranges::find(named, log.path.lexically_normal()) == named.end())
                named.push_back(log.path.lexically_normal());
        }
        if (named.empty()) return "--played-at: '" + file.string() + "' is none of the logs";
        if (named.size() > 1)
            return "--played-at: '" + file.string() + "' names " + std::to_string(named.size()) +
                   " logs; give its folder too";
    }
    return {};
}

}  // namespace

bool addPlayedAt(PlayedAtTimes& times, std::string_view text, std::string& whyNot) {
    const auto at = text.rfind('@');
    const auto time = parseIsoTime(at == std::string_view::npos ? text : text.substr(at + 1));
    if (!time || at == 0) {
        whyNot = "takes TIME or FILE@TIME, with a time such as 2026-03-01T20:00:00Z";
        return false;
    }
    if (at == std::string_view::npos) {
        if (times.all) {
            whyNot = "gives the time of every log twice";
            return false;
        }
        times.all = time;
        return true;
    }
    const std::filesystem::path file(text.substr(0, at));
    if (std::ranges::any_of(times.perFile, [&file](const auto& given) {
            return given.first.lexically_normal() == file.lexically_normal();
        })) {
        whyNot = "gives the time of '" + file.string() + "' twice";
        return false;
    }
    times.perFile.emplace_back(file, *time);
    return true;
}

ImportPlan planImport(const std::vector<std::string>& arguments, const PlayedAtTimes& times) {
    ImportPlan plan;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!std::filesystem::is_directory(argument, error)) {
            plan.logs.emplace_back().path = argument;
            continue;
        }
        for (auto& log : logsIn(argument, error)) plan.logs.emplace_back().path = std::move(log);
        if (error) plan.unreadableFolders.push_back("'" + argument + "': " + error.message());
    }
    plan.usageError = timeNamedLogs(plan.logs, times);
    for (PlannedLog& log : plan.logs) {
        if (!log.playedAt) log.playedAt = times.all;
        struct stat status {};
        if (::stat(log.path.c_str(), &status) != 0) continue;  // the import says why
        log.empty = S_ISREG(status.st_mode) && status.st_size == 0;
        if (log.playedAt) continue;
        log.playedAt = status.st_mtime;
        log.fromModificationTime = true;
    }
    return plan;
}

std::optional<SharedTime> sharedModificationTime(const std::vector<PlannedLog>& logs) {
    std::map<std::int64_t, std::size_t> count;
    std::size_t timed = 0;
    for (const PlannedLog& log : logs) {
        if (!log.fromModificationTime || log.empty) continue;
        ++count[*log.playedAt];
        ++timed;
    }
    if (timed < 2) return std::nullopt;
    const auto most = std::ranges::max_element(
        count, [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most->second * 2 <= timed) return std::nullopt;
    return SharedTime{most->first, most->second, timed};
}

}  // namespace zefa::season
