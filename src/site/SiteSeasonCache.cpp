#include "site/SiteSeasonCache.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <type_traits>

#include "files/PendingFile.h"

namespace zefa::site {

namespace fs = std::filesystem;

namespace {

// Raised when what the cache holds changes: an older one is then not used.
constexpr std::string_view kForm = "zefastats site season 1\n";
constexpr std::uint32_t kByteOrder = 0x01020304;  // a cache of another machine's byte order is not used
constexpr std::string_view kEnd = "end\n";

// Numbers as the machine holds them and texts with their length, through a
// buffer: a league's cache has a million plays.
class Writer {
public:
    explicit Writer(std::ofstream& out) : m_out(out) {}
    ~Writer() { flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    template <typename Number>
        requires std::is_arithmetic_v<Number>
    void put(Number value) {
        bytes(std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
    }
    void put(std::string_view text) {
        put(std::uint64_t(text.size()));
        bytes(text);
    }
    void bytes(std::string_view bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kBuffer) flush();
    }
    void flush() {
        m_out.write(m_buffer.data(), std::streamsize(m_buffer.size()));
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kBuffer = 1 << 20;
    std::ofstream& m_out;
    std::string m_buffer;
};

// Reads what Writer wrote; any value that does not fit the file sets `failed`.
class Reader {
public:
    explicit Reader(const fs::path& path) : m_in(path, std::ios::binary) {
        std::error_code error;
        m_left = fs::file_size(path, error);
        failed = !m_in || error;
    }

    template <typename Number>
        requires std::is_arithmetic_v<Number>
    Number get() {
        Number value{};
        if (!failed && m_buffer.size() - m_at >= sizeof value && m_left >= sizeof value) {
            std::memcpy(&value, m_buffer.data() + m_at, sizeof value);  // most of them
            m_at += sizeof value;
            m_left -= sizeof value;
            return value;
        }
        char raw[sizeof value];
        if (take(raw, sizeof raw)) std::memcpy(&value, raw, sizeof value);
        return value;
    }
    std::string text() {
        const std::size_t size = count();
        std::string text(failed ? 0 : size, '\0');
        take(text.data(), text.size());
        return text;
    }
    // A count of things of at least a byte each: never more than are left.
    std::size_t count() {
        const auto size = get<std::uint64_t>();
        if (size > m_left) failed = true;
        return failed ? 0 : std::size_t(size);
    }
    // A number into a table of `size`.
    std::uint32_t index(std::size_t size) {
        const auto value = get<std::uint32_t>();
        if (value >= size) failed = true;
        return value;
    }
    bool expect(std::string_view bytes) {
        std::string read(bytes.size(), '\0');
        if (take(read.data(), read.size()) && read != bytes) failed = true;
        return !failed;
    }
    [[nodiscard]] bool atEnd() const { return !failed && m_left == 0; }

    bool failed = false;

private:
    // From a buffer filled a megabyte at a time: a league's cache holds
    // millions of numbers.
    bool take(char* into, std::size_t size) {
        if (failed || size > m_left) failed = true;
        while (!failed && size > 0) {
            if (m_at == m_buffer.size() && !fill()) break;
            const std::size_t part = std::min(size, m_buffer.size() - m_at);
            std::memcpy(into, m_buffer.data() + m_at, part);
            m_at += part;
            m_left -= part;
            into += part;
            size -= part;
        }
        return !failed;
    }

    bool fill() {
        m_buffer.resize(kBuffer);
        m_in.read(m_buffer.data(), std::streamsize(kBuffer));
        m_buffer.resize(std::size_t(m_in.gcount()));
        m_at = 0;
        failed = m_buffer.empty();
        return !failed;
    }

    static constexpr std::size_t kBuffer = 1 << 20;
    std::ifstream m_in;
    std::uintmax_t m_left = 0;
    std::string m_buffer;
    std::size_t m_at = 0;
};

// Calls `each` with every number of the counters, in their table's order.
template <typename Counters, typename Each>
void eachCounter(Counters& counters, Each each) {
    forEachCounter([&]<typename Field>(const Field& field) {
        auto& value = counters.*field.member;
        if constexpr (Field::kSingle) {
            each(value);
        } else {
            for (auto& number : value) each(number);
        }
    });
}

void writeTexts(Writer& out, const std::vector<std::string>& texts) {
    out.put(std::uint64_t(texts.size()));
    for (const std::string& text : texts) out.put(text);
}

std::vector<std::string> readTexts(Reader& in) {
    std::vector<std::string> texts(in.count());
    for (std::string& text : texts) text = in.text();
    return texts;
}

void writeMatch(Writer& out, const SiteMatch& match) {
    out.put(match.id);
    out.put(match.file);
    out.put(match.sha256);
    out.put(match.recordings);
    writeTexts(out, match.recordedBy);
    out.put(match.playedAt);
    out.put(match.gameVersion);
    for (const std::int32_t score : match.teamScores) out.put(score);
    out.put(match.changeSeq);
    out.put(std::uint64_t(match.players.size()));
    for (const SitePlay& play : match.players) {
        out.put(play.key);
        out.put(play.name);
        for (const std::int32_t value :
             {play.rank, play.kills, play.deaths, play.caps, play.flagSaves, play.awardCount})
            out.put(value);
        out.put(play.awardSet);
        out.put(play.rating.mu);
        out.put(play.rating.sigma);
    }
}

SiteMatch readMatch(Reader& in, const SiteSeason& season) {
    SiteMatch match;
    match.id = in.get<std::int64_t>();
    match.file = in.text();
    match.sha256 = in.text();
    match.recordings = in.get<std::int32_t>();
    match.recordedBy = readTexts(in);
    match.playedAt = in.get<std::int64_t>();
    match.gameVersion = in.get<std::int32_t>();
    for (std::int32_t& score : match.teamScores) score = in.get<std::int32_t>();
    match.changeSeq = in.get<std::int64_t>();
    match.players.resize(in.count());
    for (SitePlay& play : match.players) {
        play.key = in.index(season.keys.size());
        play.name = in.index(season.names.size());
        for (std::int32_t* value : {&play.rank, &play.kills, &play.deaths, &play.caps,
                                    &play.flagSaves, &play.awardCount})
            *value = in.get<std::int32_t>();
        play.awardSet = in.get<std::uint32_t>();
        play.rating.mu = in.get<double>();
        play.rating.sigma = in.get<double>();
    }
    return match;
}

void writePlayer(Writer& out, const season::SeasonPlayer& player, const VictimKills& kills) {
    out.put(player.key);
    out.put(player.name);
    writeTexts(out, player.aliases);
    out.put(player.matches);
    eachCounter(player.counters, [&out](std::int32_t value) { out.put(value); });
    out.put(player.rank);
    out.put(player.awardsWon);
    out.put(player.rating.mu);
    out.put(player.rating.sigma);
    out.put(player.changeSeq);
    out.put(std::uint64_t(kills.size()));
    for (const auto& [victim, count] : kills) {
        out.put(victim);
        out.put(count);
    }
}

void readPlayer(Reader& in, SiteSeason& season) {
    season::SeasonPlayer& player = season.players.emplace_back();
    player.key = in.text();
    player.name = in.text();
    player.aliases = readTexts(in);
    player.matches = in.get<std::int32_t>();
    eachCounter(player.counters, [&in](std::int32_t& value) { value = in.get<std::int32_t>(); });
    player.rank = in.get<std::int64_t>();
    player.awardsWon = in.get<std::int32_t>();
    player.rating.mu = in.get<double>();
    player.rating.sigma = in.get<double>();
    player.changeSeq = in.get<std::int64_t>();
    VictimKills& kills = season.kills.emplace_back(in.count());
    for (auto& [victim, count] : kills) {
        victim = in.index(season.keys.size());
        count = in.get<std::int32_t>();
    }
}

}  // namespace

bool SiteSeasonCache::write(const fs::path& folder, const SiteSeason& season) {
    std::error_code error;
    const auto pending = PendingFile::create((folder / kFileName).string(), error);
    if (!pending) return false;
    std::ofstream file(pending->path(), std::ios::binary);
    {
        Writer out(file);
        out.bytes(kForm);
        out.put(kByteOrder);
        out.put(season.changeSeq);
        writeTexts(out, season.keys);
        writeTexts(out, season.names);
        out.put(std::uint64_t(season.matches.size()));
        for (const SiteMatch& match : season.matches) writeMatch(out, match);
        out.put(std::uint64_t(season.players.size()));
        for (std::size_t i = 0; i < season.players.size(); ++i)
            writePlayer(out, season.players[i], season.kills[i]);
        out.bytes(kEnd);
    }
    file.close();
    if (file && !pending->commit()) return true;
    remove(folder);
    return false;
}

std::optional<SiteSeason> SiteSeasonCache::read(const fs::path& folder) {
    Reader in(folder / kFileName);
    if (!in.expect(kForm) || in.get<std::uint32_t>() != kByteOrder) return std::nullopt;
    SiteSeason season;
    season.changeSeq = in.get<std::int64_t>();
    season.keys = readTexts(in);
    season.names = readTexts(in);
    for (std::size_t n = in.count(); n > 0 && !in.failed; --n)
        season.matches.push_back(readMatch(in, season));
    for (std::size_t n = in.count(); n > 0 && !in.failed; --n) readPlayer(in, season);
    if (!in.expect(kEnd) || !in.atEnd()) return std::nullopt;
    return season;
}

void SiteSeasonCache::remove(const fs::path& folder) {
    std::error_code error;
    fs::remove(folder / kFileName, error);
}

}  // namespace zefa::site
