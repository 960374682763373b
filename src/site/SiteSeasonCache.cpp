#include "site/SiteSeasonCache.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <type_traits>

#include "files/PendingFile.h"

namespace zefa::site {

namespace fs = std::filesystem;

namespace {

// Raised when what the cache holds changes: an older one is then not used.
constexpr std::string_view kForm = "zefastats site season 2\n";
constexpr std::string_view kMatchesForm = "zefastats site season matches 1\n";
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
    // Each value as put() puts it, in one go: a league's players kill
    // hundreds of others each.
    template <typename Value>
    requires std::has_unique_object_representations_v<Value>
    void values(std::span<const Value> values) {
        bytes(std::string_view(reinterpret_cast<const char*>(values.data()), values.size_bytes()));
    }
    void bytes(std::string_view bytes) {
        m_written += bytes.size();
        m_buffer.append(bytes);
        if (m_buffer.size() >= kBuffer) flush();
    }
    void flush() {
        m_out.write(m_buffer.data(), std::streamsize(m_buffer.size()));
        m_buffer.clear();
    }
    // The bytes put so far.
    [[nodiscard]] std::uint64_t written() const { return m_written; }

private:
    static constexpr std::size_t kBuffer = 1 << 18;
    std::ofstream& m_out;
    std::string m_buffer;
    std::uint64_t m_written = 0;
};

// Reads what Writer wrote, the whole file or its first `length` bytes; any
// value that does not fit them sets `failed`.
class Reader {
public:
    explicit Reader(const fs::path& path, std::optional<std::uint64_t> length = {})
        : m_in(path, std::ios::binary) {
        std::error_code error;
        m_left = fs::file_size(path, error);
        failed = !m_in || error || (length && *length > m_left);
        if (length) m_left = std::min<std::uintmax_t>(m_left, *length);
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
    // A count of things of at least `each` bytes: never more than are left.
    std::size_t count(std::size_t each = 1) {
        const auto size = get<std::uint64_t>();
        if (size > m_left / each) failed = true;
        return failed ? 0 : std::size_t(size);
    }
    // A number into a table of `size`.
    std::uint32_t index(std::size_t size) {
        const auto value = get<std::uint32_t>();
        if (value >= size) failed = true;
        return value;
    }
    // What Writer::values() wrote.
    template <typename Value>
    requires std::has_unique_object_representations_v<Value>
    bool values(std::span<Value> values) {
        return take(reinterpret_cast<char*>(values.data()), values.size_bytes());
    }
    bool expect(std::string_view bytes) {
        std::string read(bytes.size(), '\0');
        if (take(read.data(), read.size()) && read != bytes) failed = true;
        return !failed;
    }
    [[nodiscard]] bool atEnd() const { return !failed && m_left == 0; }

    bool failed = false;

private:
    // From a buffer filled 256 KB at a time: a league's cache holds
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
        // No larger than what is left: a small file gets a small buffer.
        m_buffer.resize(std::size_t(std::min<std::uintmax_t>(kBuffer, m_left)));
        m_in.read(m_buffer.data(), std::streamsize(m_buffer.size()));
        m_buffer.resize(std::size_t(m_in.gcount()));
        m_at = 0;
        failed = m_buffer.empty();
        return !failed;
    }

    static constexpr std::size_t kBuffer = 1 << 18;
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

// The bytes of a player in a match as written below.
constexpr std::size_t kPlayBytes = 2 * sizeof(std::uint32_t) + 6 * sizeof(std::int32_t) +
                                   sizeof(std::uint32_t) + 2 * sizeof(double);

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

SiteMatch readMatch(Reader& in, SiteSeason& season) {
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
    const std::span<SitePlay> plays = season.plays.add(in.count(kPlayBytes));
    for (SitePlay& play : plays) {
        play.key = in.index(season.keys.size());
        play.name = in.index(season.names.size());
        for (std::int32_t* value : {&play.rank, &play.kills, &play.deaths, &play.caps,
                                    &play.flagSaves, &play.awardCount})
            *value = in.get<std::int32_t>();
        play.awardSet = in.get<std::uint32_t>();
        play.rating.mu = in.get<double>();
        play.rating.sigma = in.get<double>();
    }
    match.players = plays;
    return match;
}

// The fewest bytes a player is written in below: texts and lists empty.
constexpr std::size_t kPlayerLeastBytes = 4 * sizeof(std::uint64_t) + 2 * sizeof(std::int64_t) +
                                          2 * sizeof(std::int32_t) + 2 * sizeof(double);

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
    out.values(std::span(kills));
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
    VictimKills& kills = season.kills.emplace_back(in.count(sizeof(VictimKill)));
    in.values(std::span(kills));
    if (std::ranges::any_of(
            kills, [&](const VictimKill& kill) { return kill.victim >= season.keys.size(); }))
        in.failed = true;
}

// A file starts with its form, the byte order and a number: a season's
// change number, a matches file's identity.
template <typename Number>
void writeHeading(Writer& out, std::string_view form, Number number) {
    out.bytes(form);
    out.put(kByteOrder);
    out.put(number);
}

// The number of a heading of `form`; none when the file is of another form.
template <typename Number>
std::optional<Number> headingNumber(Reader& in, std::string_view form) {
    if (!in.expect(form) || in.get<std::uint32_t>() != kByteOrder) return std::nullopt;
    const auto number = in.get<Number>();
    return in.failed ? std::nullopt : std::optional(number);
}

// The bytes of a heading of `form` and its number.
constexpr std::size_t headingBytes(std::string_view form) {
    return form.size() + sizeof kByteOrder + sizeof(std::uint64_t);
}

std::optional<std::uint64_t> matchesIdentity(Reader& in) {
    return headingNumber<std::uint64_t>(in, kMatchesForm);
}

// Tells a matches file from the one it replaced, which a season's file of a
// run cut short may still name.
std::uint64_t newIdentity() {
    std::random_device random;
    return std::uint64_t(random()) << 32 | random();
}

// Replaces the file at `path` with what `fill` puts, brought to the disk
// first; false when it could not be written.
template <typename Fill>
bool replaceFile(const fs::path& path, Fill fill) {
    std::error_code error;
    const auto pending = PendingFile::create(path.string(), error);
    if (!pending) return false;
    std::ofstream file(pending->path(), std::ios::binary);
    {
        Writer out(file);
        fill(out);
    }
    file.close();
    return file && !pending->commit();
}

}  // namespace

std::optional<SiteSeasonCache::KeptMatches> SiteSeasonCache::writeMatches(
    const SiteSeason& season) {
    KeptMatches kept{.identity = newIdentity(), .count = season.matches.size(), .length = 0};
    const bool written = replaceFile(path(kMatchesFileName), [&](Writer& out) {
        writeHeading(out, kMatchesForm, kept.identity);
        for (const SiteMatch& match : season.matches) writeMatch(out, match);
        kept.length = out.written();
    });
    return written ? std::optional(kept) : std::nullopt;
}

std::optional<SiteSeasonCache::KeptMatches> SiteSeasonCache::addMatches(const SiteSeason& season,
                                                                        const KeptMatches& kept) {
    const fs::path file = path(kMatchesFileName);
    Reader header(file, headingBytes(kMatchesForm));
    // The file read still, not one another run has put in its place.
    if (matchesIdentity(header) != kept.identity) return std::nullopt;
    std::error_code error;
    // What a run cut short added goes; a file cut shorter since is not grown.
    if (fs::file_size(file, error) < kept.length || error) return std::nullopt;
    fs::resize_file(file, kept.length, error);
    if (error) return std::nullopt;
    std::ofstream out(file, std::ios::binary | std::ios::in | std::ios::out | std::ios::ate);
    std::uint64_t added = 0;
    {
        Writer writer(out);
        for (auto match = season.matches.begin() + std::ptrdiff_t(kept.count);
             match != season.matches.end(); ++match)
            writeMatch(writer, *match);
        added = writer.written();
    }
    out.close();
    // On the disk before the season's file names them.
    if (!out || PendingFile::flushFile(file)) return std::nullopt;
    return KeptMatches{
        .identity = kept.identity, .count = season.matches.size(), .length = kept.length + added};
}

bool SiteSeasonCache::write(const SiteSeason& season) {
    const bool adds = m_kept && season.advanced && season.advanced->earlierMatches == m_kept->count;
    std::optional<KeptMatches> matches = adds ? addMatches(season, *m_kept) : std::nullopt;
    if (!matches) matches = writeMatches(season);
    m_kept.reset();
    const bool written = matches && replaceFile(path(kFileName), [&](Writer& out) {
                             writeHeading(out, kForm, season.changeSeq);
                             writeTexts(out, season.keys);
                             writeTexts(out, season.names);
                             out.put(std::uint64_t(season.players.size()));
                             for (std::size_t i = 0; i < season.players.size(); ++i)
                                 writePlayer(out, season.players[i], season.kills[i]);
                             out.put(matches->identity);
                             out.put(std::uint64_t(matches->count));
                             out.put(matches->length);
                             out.bytes(kEnd);
                         });
    if (!written) {
        remove();
        return false;
    }
    m_kept = matches;
    return true;
}

std::optional<std::int64_t> SiteSeasonCache::changeSeq() const {
    Reader in(path(kFileName), headingBytes(kForm));
    return headingNumber<std::int64_t>(in, kForm);
}

std::optional<SiteSeason> SiteSeasonCache::read() {
    m_kept.reset();
    Reader in(path(kFileName));
    const std::optional<std::int64_t> changeSeq = headingNumber<std::int64_t>(in, kForm);
    if (!changeSeq) return std::nullopt;
    SiteSeason season;
    season.changeSeq = *changeSeq;
    season.keys = readTexts(in);
    season.names = readTexts(in);
    const std::size_t players = in.count(kPlayerLeastBytes);
    season.players.reserve(players);
    season.kills.reserve(players);
    for (std::size_t n = players; n > 0 && !in.failed; --n) readPlayer(in, season);
    const KeptMatches kept{.identity = in.get<std::uint64_t>(),
                           .count = std::size_t(in.get<std::uint64_t>()),
                           .length = in.get<std::uint64_t>()};
    if (!in.expect(kEnd) || !in.atEnd()) return std::nullopt;
    Reader matches(path(kMatchesFileName), kept.length);
    if (matchesIdentity(matches) != kept.identity) return std::nullopt;
    for (std::size_t n = kept.count; n > 0 && !matches.failed; --n)
        season.matches.push_back(readMatch(matches, season));
    if (!matches.atEnd()) return std::nullopt;
    m_kept = kept;
    return season;
}

void SiteSeasonCache::remove() {
    std::error_code error;
    fs::remove(path(kFileName), error);
    fs::remove(path(kMatchesFileName), error);
}

}  // namespace zefa::site
