#include <poll.h>

#include <array>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "record/StopSignals.h"
#include "server/ListenAddress.h"
#include "server/SeasonServer.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
}

namespace zefa::cli {

namespace {

// The limits given as a count, in the order --help lists them.
struct LimitOption {
    const char* name;
    std::uint32_t server::ServerLimits::*field;
    std::uint32_t most;
    const char* help;
};
constexpr std::array<LimitOption, 7> kLimitOptions = {{
    {"--max-connections", &server::ServerLimits::maxConnections, 65535, "Connections open at once"},
    {"--request-timeout", &server::ServerLimits::requestSeconds, 86400,
     "Seconds a client has to send a whole request"},
    {"--idle-timeout", &server::ServerLimits::idleSeconds, 86400,
     "Seconds a connection may stay silent"},
    {"--token-burst", &server::ServerLimits::tokenBurst, 1000000,
     "Uploads one token may send at once before --token-rate applies"},
    {"--token-rate", &server::ServerLimits::tokenPerMinute, 1000000,
     "Uploads per minute one token may send after its burst"},
    {"--auth-failures", &server::ServerLimits::authFailuresPerMinute, 1000000,
     "Failed authentications per minute from one address before it is answered 429"},
    {"--queue", &server::ServerLimits::queuedUploads, 100000,
     "Uploads waiting to be stored before more are answered 503"},
}};

class ServeCommand final : public StoreCommand {
public:
    explicit ServeCommand(CLI::App& season)
        : StoreCommand(season, "serve",
                       "Takes logs sent with a token (the upload API and page) and serves the "
                       "season's site, brought up to date after each",
                       OpenMode::CreateIfMissing) {
        server::ServerLimits& limits = m_options.limits;
        app()
            .add_option("--listen", m_listen, "Address and port to listen on (HOST:PORT)")
            ->capture_default_str();
        app().add_option("--site", m_site,
                         "Folder of the season's site: served, and brought up to date after "
                         "each upload (made when missing)");
        app().add_option("--title", m_title, "Title of the season's pages")->capture_default_str();
        app()
            .add_option("--min-matches", m_minMatches,
                        "Players with fewer matches are left off the leaderboard")
            ->check(CLI::NonNegativeNumber)
            ->capture_default_str();
        app()
            .add_option("--max-body", limits.maxBodyBytes,
                        "Largest log taken, in bytes (suffixes KiB, MiB, GiB)")
            ->transform(CLI::AsSizeValue(false))
            ->check(CLI::PositiveNumber)
            ->capture_default_str();
        for (const LimitOption& option : kLimitOptions)
            app()
                .add_option(option.name, limits.*option.field, option.help)
                ->check(CLI::Range(1U, option.most))
                ->capture_default_str();
        app().add_flag("--plain-match-pages", m_plainMatchPages,
                       "Keep the site's match pages plain, not gzip-compressed (for another web "
                       "server that cannot serve them compressed)");
        app().add_flag("--behind-proxy", m_options.behindProxy,
                       "The client's address is the last of X-Forwarded-For (behind a reverse "
                       "proxy that sets it)");
    }

private:
    std::optional<int> prepare() override {
        const auto address = server::parseListenAddress(m_listen);
        if (!address) {
            std::cerr << "zefastats: --listen takes HOST:PORT with a numeric address, such as "
                         "127.0.0.1:8080 or [::1]:8080\n";
            return kExitUsage;
        }
        m_options.host = address->host;
        m_options.port = address->port;
        m_options.store = storePath();
        if (m_site) {
            if (const std::string why = site::unfitFolder(*m_site); !why.empty()) {
                std::cerr << "zefastats: --site: " << why << "\n";
                return kExitUsage;
            }
            m_options.siteFolder = *m_site;
        }
        site::SiteOptions& pages = m_options.siteOptions;
        pages.look = {m_title, m_minMatches};
        pages.builtInTheme = std::string(kBuiltInTheme);
        pages.matchTheme = pages.builtInTheme;
        pages.awards.fill(true);
        pages.gzipMatchPages = !m_plainMatchPages;
        return std::nullopt;
    }

    int run(season::SeasonStore& store) override {
        // Blocked before any thread starts, so that every thread inherits it
        // and SIGINT and SIGTERM wait for the poll() below.
        const record::StopSignals stops;
        std::string whyNot;
        auto server = server::SeasonServer::start(std::move(store), m_options, whyNot);
        if (!server) return seasonFailure(whyNot);
        std::cerr << "zefastats: serving the season '" << storePath() << "' on http://"
                  << (m_options.host.find(':') != std::string::npos ? "[" + m_options.host + "]"
                                                                    : m_options.host)
                  << ":" << server->port() << "/"
                  << (m_site ? " with its site from '" + *m_site + "'" : std::string()) << "\n";
        pollfd stop{stops.descriptor(), POLLIN, 0};
        while (!stops.received()) ::poll(&stop, 1, -1);
        std::cerr << "zefastats: stopping: answering the requests in flight\n";
        server->stop();
        std::cerr << "zefastats: stopped\n";
        return kExitOk;
    }

    server::ServerOptions m_options;
    std::string m_listen = "127.0.0.1:8080";
    std::optional<std::string> m_site;
    std::string m_title = "Season";
    std::int32_t m_minMatches = 5;
    bool m_plainMatchPages = false;
};

}  // namespace

std::unique_ptr<StoreCommand> makeServeCommand(CLI::App& season) {
    return std::make_unique<ServeCommand>(season);
}

}  // namespace zefa::cli
