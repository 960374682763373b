#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "season/SeasonStore.h"
#include "server/ServerOptions.h"

namespace zefa::server {

// `zefastats season serve`: the upload API (POST /api/v1/recordings), the
// upload page (/upload) and the season's site as static files, on
// libmicrohttpd. One thread answers every connection and never waits for the
// store's writer: uploads are stored by an ImportWriter, the site brought up
// to date by a SiteRefresher, each on a thread of its own.
class SeasonServer {
public:
    // Serves the season in `store` (the writer's connection) as `options`
    // say. Nullptr with the reason when it cannot listen or serve the site;
    // throws season::SeasonError when the store cannot be opened again for
    // its readers.
    [[nodiscard]] static std::unique_ptr<SeasonServer> start(season::SeasonStore store,
                                                             const ServerOptions& options,
                                                             std::string& whyNot);
    // Stops as stop() does.
    ~SeasonServer();
    SeasonServer(const SeasonServer&) = delete;
    SeasonServer& operator=(const SeasonServer&) = delete;

    [[nodiscard]] std::uint16_t port() const;
    // Takes no new connection, answers the requests it has (each upload
    // stored first), brings the site up to date and ends.
    void stop();

    class Impl;

private:
    explicit SeasonServer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace zefa::server
