#include "parser/LogInput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parser/ParserSet.h"

namespace zefa {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr std::size_t kBlockSize = 64 * 1024;
// Of a line that spans blocks, one byte more than the parser accepts is
// kept: enough for it to see the line is too long, and memory stays bounded.
constexpr std::size_t kKeptLineBytes = kMaxLineLength + 1;

void appendKept(std::string& pending, std::string_view more) {
    const std::size_t room = kKeptLineBytes - std::min(kKeptLineBytes, pending.size());
    pending.append(more.substr(0, room));
}

// Hands every line of `rest`, without its line feed, to the parsers: the
// whole lines at once and without a copy, a line that spans chunks joined in
// `pending`.
void feedChunk(std::string_view rest, std::string& pending, ParserSet& parsers) {
    if (!pending.empty()) {
        const std::size_t lf = rest.find('\n');
        appendKept(pending, rest.substr(0, lf));
        if (lf == std::string_view::npos) return;
        parsers.readLine(pending);
        pending.clear();
        rest.remove_prefix(lf + 1);
    }
    const std::size_t lastLf = rest.rfind('\n');
    if (lastLf != std::string_view::npos) {
        parsers.readLines(rest.substr(0, lastLf + 1));
        rest.remove_prefix(lastLf + 1);
    }
    appendKept(pending, rest);
}

// Reads the file in blocks. Returns the error that ended the reading early.
std::error_code readLines(std::FILE* file, ParserSet& parsers) {
    std::vector<char> block(kBlockSize);
    std::string pending;  // start of a line that goes on in the next block
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0)
        feedChunk(std::string_view(block.data(), got), pending, parsers);
    std::error_code error;
    if (std::ferror(file)) error.assign(errno, std::generic_category());
    if (!pending.empty()) parsers.readLine(pending);  // a last line without line feed
    return error;
}

// The same over a log held in memory, in blocks of the same size, so that
// every line is read exactly as from a file.
void readLines(std::string_view text, ParserSet& parsers) {
    std::string pending;
    for (std::size_t at = 0; at < text.size(); at += kBlockSize)
        feedChunk(text.substr(at, kBlockSize), pending, parsers);
    if (!pending.empty()) parsers.readLine(pending);
}

// Reads through `read` with every target's tables and fills the results;
// `read` tells whether the log could be read and why not.
template <typename ReadFn>
std::vector<LogReadResult> readTargets(std::span<const LogTarget> targets,
                                       ClassifierCache& classifiers, MatchEngine engine,
                                       ReadFn read) {
    std::vector<const VersionTables*> tableSets;
    std::vector<MatchStats*> stats;
    for (const LogTarget& target : targets) {
        tableSets.push_back(&target.tables);
        stats.push_back(&target.stats);
    }
    ParserSet parsers(classifiers.classifier(tableSets, engine), stats);
    for (std::size_t set = 0; set < targets.size(); ++set)
        parsers.recordEvents(set, targets[set].events);
    const LogReadResult result = read(parsers);
    parsers.finishLog();

    std::vector<LogReadResult> results(targets.size(), result);
    for (std::size_t set = 0; set < results.size(); ++set)
        results[set].versionLines = parsers.parser(set).versionLines();
    return results;
}

}  // namespace

LogReadResult parseLog(const std::filesystem::path& logPath, MatchStats& stats,
                       const VersionTables& tables, MatchEngine engine) {
    const LogTarget target{stats, tables};
    return parseLog(logPath, std::span(&target, 1), engine).front();
}

std::vector<LogReadResult> parseLog(const std::filesystem::path& logPath,
                                    std::span<const LogTarget> targets, MatchEngine engine) {
    ClassifierCache classifiers;
    return parseLog(logPath, targets, classifiers, engine);
}

std::vector<LogReadResult> parseLog(const std::filesystem::path& logPath,
                                    std::span<const LogTarget> targets,
                                    ClassifierCache& classifiers, MatchEngine engine) {
    return readTargets(targets, classifiers, engine, [&logPath](ParserSet& parsers) {
        LogReadResult read;
        if (std::unique_ptr<std::FILE, FileCloser> file{std::fopen(logPath.c_str(), "rb")}) {
            read.error = readLines(file.get(), parsers);
            read.opened = !read.error;
        } else {
            read.error.assign(errno, std::generic_category());
        }
        return read;
    });
}

LogReadResult parseLogText(std::string_view text, MatchStats& stats, const VersionTables& tables,
                           MatchEngine engine) {
    const LogTarget target{stats, tables};
    return parseLogText(text, std::span(&target, 1), engine).front();
}

std::vector<LogReadResult> parseLogText(std::string_view text, std::span<const LogTarget> targets,
                                        MatchEngine engine) {
    ClassifierCache classifiers;
    return parseLogText(text, targets, classifiers, engine);
}

std::vector<LogReadResult> parseLogText(std::string_view text, std::span<const LogTarget> targets,
                                        ClassifierCache& classifiers, MatchEngine engine) {
    return readTargets(targets, classifiers, engine, [text](ParserSet& parsers) {
        parsers.expectBytes(text.size());
        readLines(text, parsers);
        LogReadResult read;
        read.opened = true;
        return read;
    });
}

}  // namespace zefa
