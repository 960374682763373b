#include <signal.h>

#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "server/ListenAddress.h"
#include "server/SeasonServer.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
}

namespace zefa::cli {

namespace {

// SIGINT and SIGTERM, blocked in every thread the server starts, waited for here.
sigset_t stopSignals() {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGTERM);
    return set;
}

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
        app()
            .add_option("--max-connections", limits.maxConnections, "Connections open at once")
            ->check(CLI::Range(1, 65535))
            ->capture_default_str();
        app()
            .add_option("--request-timeout", limits.requestSeconds,
                        "Seconds a client has to send a whole request")
            ->check(CLI::Range(1, 86400))
            ->capture_default_str();
        app()
            .add_option("--idle-timeout", limits.idleSeconds,
                        "Seconds a connection may stay silent")
            ->check(CLI::Range(1, 86400))
            ->capture_default_str();
        app()
            .add_option("--token-burst", limits.tokenBurst,
                        "Uploads one token may send at once before --token-rate applies")
            ->check(CLI::Range(1, 1000000))
            ->capture_default_str();
        app()
            .add_option("--token-rate", limits.tokenPerMinute,
                        "Uploads per minute one token may send after its burst")
            ->check(CLI::Range(1, 1000000))
            ->capture_default_str();
        app()
            .add_option("--auth-failures", limits.authFailuresPerMinute,
                        "Failed authentications per minute from one address before it is "
                        "answered 429")
            ->check(CLI::Range(1, 1000000))
            ->capture_default_str();
        app()
            .add_option("--queue", limits.queuedUploads,
                        "Uploads waiting to be stored before more are answered 503")
            ->check(CLI::Range(1, 100000))
            ->capture_default_str();
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
        return std::nullopt;
    }

    int run(season::SeasonStore& store) override {
        // Blocked before any thread starts, so that every thread inherits it
        // and the signals wait for sigwait() below.
        const sigset_t stops = stopSignals();
        sigset_t previous;
        ::pthread_sigmask(SIG_BLOCK, &stops, &previous);
        std::string whyNot;
        auto server = server::SeasonServer::start(std::move(store), m_options, whyNot);
        if (!server) {
            ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            return seasonFailure(whyNot);
        }
        std::cerr << "zefastats: serving the season '" << storePath() << "' on http://"
                  << (m_options.host.find(':') != std::string::npos ? "[" + m_options.host + "]"
                                                                    : m_options.host)
                  << ":" << server->port() << "/"
                  << (m_site ? " with its site from '" + *m_site + "'" : std::string()) << "\n";
        int signal = 0;
        ::sigwait(&stops, &signal);
        std::cerr << "zefastats: stopping: answering the requests in flight\n";
        server->stop();
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        std::cerr << "zefastats: stopped\n";
        return kExitOk;
    }

    server::ServerOptions m_options;
    std::string m_listen = "127.0.0.1:8080";
    std::optional<std::string> m_site;
    std::string m_title = "Season";
    std::int32_t m_minMatches = 5;
};

}  // namespace

std::unique_ptr<StoreCommand> makeServeCommand(CLI::App& season) {
    return std::make_unique<ServeCommand>(season);
}

}  // namespace zefa::cli
