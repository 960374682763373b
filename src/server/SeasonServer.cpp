#include "server/SeasonServer.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <strings.h>

#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "server/CompressedPage.h"
#include "server/ConnectionWatch.h"
#include "server/ImportWriter.h"
#include "server/ListenAddress.h"
#include "server/RateLimiter.h"
#include "server/RequestLog.h"
#include "server/SiteFiles.h"
#include "server/SiteRefresher.h"
#include "server/UploadPage.h"
#include "server/path/SitePath.h"
#include "season/UploadToken.h"
#include "site/SiteFromStore.h"
#include "site/SitePolicy.h"

namespace zefa::server {

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kNotModified = 304;
constexpr unsigned kBadRequest = 400;
constexpr unsigned kUnauthorized = 401;
constexpr unsigned kForbidden = 403;
constexpr unsigned kNotFound = 404;
constexpr unsigned kMethodNotAllowed = 405;
constexpr unsigned kLengthRequired = 411;
constexpr unsigned kTooLarge = 413;
constexpr unsigned kUnsupportedType = 415;
constexpr unsigned kTooMany = 429;
constexpr unsigned kUnavailable = 503;

constexpr std::string_view kApiPath = "/api/v1/recordings";
constexpr std::string_view kUploadPath = "/upload";
constexpr std::string_view kBearer = "Bearer ";
// What a form's fields and boundaries add to the log it carries.
constexpr std::int64_t kFormOverhead = 64 << 10;
// A token is 32 characters; a form field longer than this is no token.
constexpr std::size_t kMaxTokenField = 256;
constexpr std::size_t kPostBuffer = 64 << 10;
// How long a stop waits for the requests in flight beyond the request limit.
constexpr std::chrono::seconds kStopGrace{5};

constexpr std::string_view kUploadPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; "
    "form-action 'self'; frame-ancestors 'none'; base-uri 'none'";
constexpr std::string_view kApiPolicy = "default-src 'none'; frame-ancestors 'none'";

double steadySeconds() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

std::string addressOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    std::array<char, INET6_ADDRSTRLEN> text{};
    if (!info || !info->client_addr) return "-";
    const sockaddr* address = info->client_addr;
    const void* bytes = address->sa_family == AF_INET6
                            ? static_cast<const void*>(
                                  &reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr)
                            : &reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
    return inet_ntop(address->sa_family, bytes, text.data(), text.size()) ? text.data() : "-";
}

std::optional<std::string> header(MHD_Connection* connection, const char* name,
                                  MHD_ValueKind kind = MHD_HEADER_KIND) {
    const char* value = MHD_lookup_connection_value(connection, kind, name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The content type without its parameters is `type`.
bool hasContentType(MHD_Connection* connection, std::string_view type) {
    const auto value = header(connection, MHD_HTTP_HEADER_CONTENT_TYPE);
    if (!value || !startsWithNoCase(*value, type)) return false;
    const std::string_view rest = std::string_view(*value).substr(type.size());
    return rest.empty() || rest.front() == ';' || rest.front() == ' ';
}

// A request that tells its length twice is refused: a proxy in front of the
// server might have taken the other length, and the rest of the body for a
// request of its own.
bool lengthToldTwice(MHD_Connection* connection) {
    int count = 0;
    MHD_get_connection_values(
        connection, MHD_HEADER_KIND,
        [](void* counted, MHD_ValueKind, const char* key, const char*) {
            if (::strcasecmp(key, MHD_HTTP_HEADER_CONTENT_LENGTH) == 0) ++*static_cast<int*>(counted);
            return MHD_YES;
        },
        &count);
    return count > 1;
}

struct ResponseDeleter {
    void operator()(MHD_Response* response) const { MHD_destroy_response(response); }
};
using Response = std::unique_ptr<MHD_Response, ResponseDeleter>;

Response bufferResponse(std::string_view body, std::string_view type, std::string_view policy) {
    Response response(MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY));
    MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CONTENT_TYPE, std::string(type).c_str());
    MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CONTENT_SECURITY_POLICY,
                            std::string(policy).c_str());
    return response;
}

MHD_Result queue(MHD_Connection* connection, unsigned status, const Response& response) {
    MHD_add_response_header(response.get(), "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(response.get(), "Referrer-Policy", "no-referrer");
    return MHD_queue_response(connection, status, response.get());
}

struct PostProcessorDeleter {
    void operator()(MHD_PostProcessor* post) const { MHD_destroy_post_processor(post); }
};

}  // namespace

// One request, from its first line to its answer.
struct Request {
    enum class Stage { Headers, Body, Waiting };

    Clock::time_point start = Clock::now();
    std::string target;  // as sent
    std::string method;
    std::string address;
    Stage stage = Stage::Headers;
    bool form = false;  // the upload page's form, answered with a page
    std::string label;  // of the token an upload came with
    Upload upload;
    UploadParameters parameters;
    std::string formToken;
    std::int64_t formFileLimit = 0;
    bool formTooLarge = false;
    std::unique_ptr<MHD_PostProcessor, PostProcessorDeleter> post;
    std::mutex answerMutex;
    std::optional<UploadAnswer> answer;  // from the writer's thread
};

class SeasonServer::Impl {
public:
    Impl(season::SeasonStore store, season::SeasonStore tokens,
         std::optional<season::SeasonStore> siteStore, const ServerOptions& options)
        : m_options(options),
          m_tokens(std::move(tokens)),
          m_uploadsPerToken(options.limits.tokenBurst, options.limits.tokenPerMinute),
          m_failuresPerAddress(options.limits.authFailuresPerMinute,
                               options.limits.authFailuresPerMinute),
          m_watch(std::chrono::seconds(options.limits.requestSeconds)),
          m_sitePolicy(site::sitePagePolicy()) {
        if (siteStore) {
            m_siteStore = std::move(siteStore);
            m_refresher.emplace([this] { rebuildSite(); });
            m_refresher->request();
        }
        m_writer.emplace(std::move(store), options.limits.queuedUploads, [this] {
            if (m_refresher) m_refresher->request();
        });
    }

    bool listen(record::FileDescriptor socket, std::string& whyNot);
    void stop();
    [[nodiscard]] std::uint16_t port() const { return m_port; }

    std::optional<SiteFiles> m_siteFiles;

private:
    // The callbacks of libmicrohttpd.
    static void* begin(void* self, const char* uri, MHD_Connection* connection);
    static MHD_Result access(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* data,
                             std::size_t* size, void** context);
    static void completed(void* self, MHD_Connection* connection, void** context,
                          MHD_RequestTerminationCode how);
    static void connectionChanged(void* self, MHD_Connection* connection, void** socketContext,
                                  MHD_ConnectionNotificationCode change);
    static MHD_Result formField(void* request, MHD_ValueKind kind, const char* key,
                                const char* fileName, const char* type, const char* encoding,
                                const char* data, std::uint64_t offset, std::size_t size);
    static void libraryMessage(void* self, const char* format, va_list arguments);

    MHD_Result handle(MHD_Connection* connection, std::string_view method, const char* data,
                      std::size_t* size, Request& request);
    MHD_Result beginApiUpload(MHD_Connection* connection, std::string_view method,
                              Request& request);
    MHD_Result beginFormUpload(MHD_Connection* connection, Request& request);
    MHD_Result finishUpload(MHD_Connection* connection, Request& request);
    MHD_Result serveSite(MHD_Connection* connection, const Request& request);
    MHD_Result answer(MHD_Connection* connection, Request& request, const UploadAnswer& answer);
    // The client's address: the connection's, or behind a proxy the last
    // one it added to X-Forwarded-For.
    std::string clientAddress(MHD_Connection* connection);
    // The token's label; the answer when there is none (or it is refused).
    std::optional<UploadAnswer> authenticate(std::string_view token, Request& request);
    // How many bytes the request says it has; the answer when that is not fit.
    std::optional<UploadAnswer> checkLength(MHD_Connection* connection, std::int64_t limit);
    [[nodiscard]] UploadAnswer tooLarge() const;
    // A turn of the token's upload rate; the answer when it has none left.
    std::optional<UploadAnswer> takeUploadTurn(const std::string& label);
    void rebuildSite();

    ServerOptions m_options;
    season::SeasonStore m_tokens;  // read on the connections' thread alone
    std::optional<season::SeasonStore> m_siteStore;
    RateLimiter m_uploadsPerToken;
    RateLimiter m_failuresPerAddress;
    ConnectionWatch m_watch;
    std::string m_sitePolicy;
    std::atomic<int> m_inFlight{0};
    std::uint16_t m_port = 0;
    MHD_Daemon* m_daemon = nullptr;
    // Ended in this order: the writer first, as its uploads ask for rebuilds.
    std::optional<SiteRefresher> m_refresher;
    std::optional<ImportWriter> m_writer;
};

bool SeasonServer::Impl::listen(record::FileDescriptor socket, std::string& whyNot) {
    m_port = boundPort(socket.get());
    const int fd = socket.get();
    const ServerLimits& limits = m_options.limits;
    m_daemon = MHD_start_daemon(
        MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG, 0, nullptr,
        nullptr, &Impl::access, this, MHD_OPTION_EXTERNAL_LOGGER, &Impl::libraryMessage, this,
        MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_CONNECTION_LIMIT,
        static_cast<unsigned>(limits.maxConnections), MHD_OPTION_CONNECTION_TIMEOUT,
        static_cast<unsigned>(limits.idleSeconds), MHD_OPTION_URI_LOG_CALLBACK, &Impl::begin, this,
        MHD_OPTION_NOTIFY_COMPLETED, &Impl::completed, this, MHD_OPTION_NOTIFY_CONNECTION,
        &Impl::connectionChanged, this, MHD_OPTION_STRICT_FOR_CLIENT, 1, MHD_OPTION_END);
    if (!m_daemon) {
        whyNot = "the HTTP library could not start";
        return false;
    }
    (void)socket.release();  // the daemon closes it
    return true;
}

void SeasonServer::Impl::stop() {
    if (!m_daemon) return;
    const int listening = MHD_quiesce_daemon(m_daemon);
    if (listening >= 0) record::FileDescriptor closed(listening);
    // The requests in flight are answered: the uploads among them stored.
    const auto until = Clock::now() + std::chrono::seconds(m_options.limits.requestSeconds) +
                       kStopGrace;
    while (m_inFlight.load() > 0 && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    m_writer.reset();
    MHD_stop_daemon(m_daemon);
    m_daemon = nullptr;
    m_refresher.reset();
}

void SeasonServer::Impl::rebuildSite() {
    const auto began = Clock::now();
    try {
        const site::SiteReport report =
            site::updateSiteFromStore(*m_siteStore, *m_options.siteFolder, m_options.siteOptions);
        for (const std::string& problem : report.problems)
            std::cerr << "zefastats: site: " << problem << "\n";
        if (!report.refused.empty())
            std::cerr << "zefastats: site: cannot write into '" << m_options.siteFolder->string()
                      << "': " << report.refused << "\n";
        std::cerr << "zefastats: site: " << report.written << " pages written, " << report.kept
                  << " kept, " << report.removed << " removed in "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began)
                         .count()
                  << " ms\n";
    } catch (const season::SeasonError& error) {
        std::cerr << "zefastats: site: " << error.what() << "\n";
    }
}

void* SeasonServer::Impl::begin(void* self, const char* uri, MHD_Connection* connection) {
    auto& impl = *static_cast<Impl*>(self);
    ++impl.m_inFlight;
    auto* request = new Request;
    request->target = uri;
    request->address = impl.clientAddress(connection);
    return request;
}

std::string SeasonServer::Impl::clientAddress(MHD_Connection* connection) {
    if (m_options.behindProxy) {
        if (const auto forwarded = header(connection, "X-Forwarded-For")) {
            std::string_view last(*forwarded);
            last = last.substr(last.rfind(',') + 1);
            while (!last.empty() && last.front() == ' ') last.remove_prefix(1);
            if (!last.empty()) return std::string(last);
        }
    }
    return addressOf(connection);
}

void SeasonServer::Impl::completed(void* self, MHD_Connection* connection, void** context,
                                   MHD_RequestTerminationCode how) {
    auto& impl = *static_cast<Impl*>(self);
    std::unique_ptr<Request> request(static_cast<Request*>(*context));
    *context = nullptr;
    if (!request) return;
    const MHD_ConnectionInfo* status =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_HTTP_STATUS);
    const std::string line = requestLogLine(
        {std::time(nullptr), request->address, request->method, request->target,
         status ? status->http_status : 0,
         std::chrono::duration<double>(Clock::now() - request->start).count(), request->label,
         how == MHD_REQUEST_TERMINATED_COMPLETED_OK});
    std::fprintf(stderr, "%s\n", line.c_str());
    if (const MHD_ConnectionInfo* socket =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT))
        impl.m_watch.answered(reinterpret_cast<std::uintptr_t>(socket->socket_context));
    --impl.m_inFlight;
}

void SeasonServer::Impl::connectionChanged(void* self, MHD_Connection* connection,
                                           void** socketContext,
                                           MHD_ConnectionNotificationCode change) {
    auto& impl = *static_cast<Impl*>(self);
    if (change == MHD_CONNECTION_NOTIFY_STARTED) {
        const MHD_ConnectionInfo* fd =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        *socketContext = reinterpret_cast<void*>(
            static_cast<std::uintptr_t>(impl.m_watch.opened(fd ? fd->connect_fd : -1)));
    } else {
        impl.m_watch.closed(reinterpret_cast<std::uintptr_t>(*socketContext));
    }
}

void SeasonServer::Impl::libraryMessage(void*, const char* format, va_list arguments) {
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, arguments);
    std::string_view message(text.data());
    while (message.ends_with('\n')) message.remove_suffix(1);
    std::cerr << "zefastats: http: " << message << "\n";
}

MHD_Result SeasonServer::Impl::access(void* self, MHD_Connection* connection, const char*,
                                      const char* method, const char*, const char* data,
                                      std::size_t* size, void** context) {
    return static_cast<Impl*>(self)->handle(connection, method, data, size,
                                            *static_cast<Request*>(*context));
}

MHD_Result SeasonServer::Impl::handle(MHD_Connection* connection, std::string_view method,
                                      const char* data, std::size_t* size, Request& request) {
    switch (request.stage) {
        case Request::Stage::Headers:
            break;
        case Request::Stage::Body:
            if (*size > 0) {
                if (request.post) {
                    if (!request.formTooLarge) MHD_post_process(request.post.get(), data, *size);
                } else {
                    request.upload.bytes.append(data, *size);
                }
                *size = 0;
                return MHD_YES;
            }
            if (const MHD_ConnectionInfo* socket =
                    MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT))
                m_watch.received(reinterpret_cast<std::uintptr_t>(socket->socket_context));
            return finishUpload(connection, request);
        case Request::Stage::Waiting: {
            const std::lock_guard lock(request.answerMutex);
            return answer(connection, request, *request.answer);
        }
    }
    request.method = method;
    if (lengthToldTwice(connection))
        return queue(connection, kBadRequest,
                     bufferResponse("The request tells its length twice.\n",
                                    "text/plain; charset=utf-8", kApiPolicy));
    const std::string_view path = targetPath(request.target);
    if (path == kApiPath) return beginApiUpload(connection, method, request);
    if (path == kUploadPath && method == MHD_HTTP_METHOD_POST) {
        request.form = true;
        return beginFormUpload(connection, request);
    }
    if (method != MHD_HTTP_METHOD_GET && method != MHD_HTTP_METHOD_HEAD) {
        const Response response = bufferResponse("Only GET and HEAD here.\n",
                                                 "text/plain; charset=utf-8", kApiPolicy);
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
        return queue(connection, kMethodNotAllowed, response);
    }
    if (path == kUploadPath)
        return queue(connection, MHD_HTTP_OK,
                     bufferResponse(uploadPage(), "text/html; charset=utf-8", kUploadPolicy));
    if (path == "/upload.js")
        return queue(connection, MHD_HTTP_OK,
                     bufferResponse(uploadScript(), "text/javascript; charset=utf-8", kApiPolicy));
    if (path == "/upload.css")
        return queue(connection, MHD_HTTP_OK,
                     bufferResponse(uploadStyle(), "text/css; charset=utf-8", kApiPolicy));
    return serveSite(connection, request);
}

MHD_Result SeasonServer::Impl::serveSite(MHD_Connection* connection, const Request& request) {
    const auto relative = sitePath(request.target);
    if (!relative)
        return queue(connection, kBadRequest,
                     bufferResponse("No such page.\n", "text/plain; charset=utf-8", kApiPolicy));
    std::optional<SiteFile> file;
    if (m_siteFiles) file = m_siteFiles->page(*relative);
    if (!file)
        return queue(connection, kNotFound,
                     bufferResponse("No such page.\n", "text/plain; charset=utf-8", kApiPolicy));
    // A compressed page goes out compressed to whoever takes gzip, else plain;
    // the two are told apart by their tags.
    const bool sendGzip =
        file->gzipped && acceptsGzip(header(connection, MHD_HTTP_HEADER_ACCEPT_ENCODING)
                                         .value_or(""));
    if (sendGzip) file->etag.insert(file->etag.size() - 1, "-gzip");
    const auto ifNoneMatch = header(connection, MHD_HTTP_HEADER_IF_NONE_MATCH);
    const auto ifModifiedSince = header(connection, MHD_HTTP_HEADER_IF_MODIFIED_SINCE);
    const bool unchanged = ifNoneMatch ? *ifNoneMatch == file->etag
                                       : ifModifiedSince && *ifModifiedSince == file->lastModified;
    Response response;
    if (unchanged) {
        response.reset(MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT));
    } else if (file->gzipped && !sendGzip) {
        const std::optional<std::string> plain = plainPage(*file);
        if (!plain)
            return queue(connection, MHD_HTTP_INTERNAL_SERVER_ERROR,
                         bufferResponse("The page cannot be read.\n", "text/plain; charset=utf-8",
                                        kApiPolicy));
        response = bufferResponse(*plain, file->contentType, m_sitePolicy);
    } else {
        response.reset(MHD_create_response_from_fd64(file->size, file->fd.get()));
        if (response) (void)file->fd.release();  // the response closes it
        if (!response) return MHD_NO;
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CONTENT_TYPE,
                                file->contentType.c_str());
    }
    if (sendGzip) MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CONTENT_ENCODING, "gzip");
    if (file->gzipped)
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_VARY, "Accept-Encoding");
    MHD_add_response_header(response.get(), MHD_HTTP_HEADER_ETAG, file->etag.c_str());
    MHD_add_response_header(response.get(), MHD_HTTP_HEADER_LAST_MODIFIED,
                            file->lastModified.c_str());
    // Pages change with every upload: asked again each time, answered 304 when unchanged.
    MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
    if (!file->gzipped || sendGzip)
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_CONTENT_SECURITY_POLICY,
                                m_sitePolicy.c_str());
    return queue(connection, unchanged ? kNotModified : MHD_HTTP_OK, response);
}

std::optional<UploadAnswer> SeasonServer::Impl::authenticate(std::string_view token,
                                                             Request& request) {
    const double now = steadySeconds();
    if (!m_failuresPerAddress.allows(request.address, now))
        return refusal(kTooMany, "too many failed authentications from this address",
                       m_failuresPerAddress.secondsUntilTurn(request.address, now));
    std::optional<season::TokenInfo> found;
    if (!token.empty()) {
        try {
            found = m_tokens.findToken(season::uploadTokenHash(token));
        } catch (const season::SeasonError& error) {
            std::cerr << "zefastats: cannot look up a token: " << error.what() << "\n";
            return refusal(kUnavailable, "the season store cannot be read now", 30);
        }
    }
    if (found && !found->revokedAt) {
        request.label = found->label;
        return std::nullopt;
    }
    m_failuresPerAddress.take(request.address, now);
    if (token.empty()) return refusal(kUnauthorized, "no token: send Authorization: Bearer TOKEN");
    if (!found) return refusal(kUnauthorized, "unknown token");
    return refusal(kForbidden, "the token '" + found->label + "' is revoked");
}

std::optional<UploadAnswer> SeasonServer::Impl::checkLength(MHD_Connection* connection,
                                                            std::int64_t limit) {
    const auto length = header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!length) return refusal(kLengthRequired, "the request has no Content-Length");
    if (std::strtoll(length->c_str(), nullptr, 10) > limit) return tooLarge();
    return std::nullopt;
}

std::optional<UploadAnswer> SeasonServer::Impl::takeUploadTurn(const std::string& label) {
    const double now = steadySeconds();
    if (m_uploadsPerToken.take(label, now)) return std::nullopt;
    return refusal(kTooMany, "too many uploads with this token",
                   m_uploadsPerToken.secondsUntilTurn(label, now));
}

UploadAnswer SeasonServer::Impl::tooLarge() const {
    return refusal(kTooLarge, "the log is larger than this server takes (" +
                                  std::to_string(m_options.limits.maxBodyBytes) + " bytes)");
}

MHD_Result SeasonServer::Impl::beginApiUpload(MHD_Connection* connection,
                                              std::string_view method, Request& request) {
    if (method != MHD_HTTP_METHOD_POST) {
        const Response response =
            bufferResponse(refusal(kMethodNotAllowed, "send logs with POST").json(),
                           "application/json", kApiPolicy);
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_ALLOW, "POST");
        return queue(connection, kMethodNotAllowed, response);
    }
    const std::string authorization =
        header(connection, MHD_HTTP_HEADER_AUTHORIZATION).value_or("");
    const std::string_view token = startsWithNoCase(authorization, kBearer)
                                       ? std::string_view(authorization).substr(kBearer.size())
                                       : std::string_view();
    if (auto refused = authenticate(token, request)) return answer(connection, request, *refused);
    if (auto refused = checkLength(connection, m_options.limits.maxBodyBytes))
        return answer(connection, request, *refused);
    if (!hasContentType(connection, "application/octet-stream"))
        return answer(connection, request,
                      refusal(kUnsupportedType,
                              "send the log's bytes as Content-Type: application/octet-stream"));
    request.parameters = {header(connection, "played-at", MHD_GET_ARGUMENT_KIND),
                          header(connection, "game-version", MHD_GET_ARGUMENT_KIND),
                          header(connection, "file", MHD_GET_ARGUMENT_KIND)};
    if (const auto why = applyParameters(request.parameters, std::time(nullptr), request.upload))
        return answer(connection, request, refusal(kBadRequest, *why));
    if (auto refused = takeUploadTurn(request.label)) return answer(connection, request, *refused);
    request.stage = Request::Stage::Body;
    return MHD_YES;
}

MHD_Result SeasonServer::Impl::beginFormUpload(MHD_Connection* connection, Request& request) {
    if (auto refused = checkLength(connection, m_options.limits.maxBodyBytes + kFormOverhead))
        return answer(connection, request, *refused);
    if (!hasContentType(connection, "multipart/form-data"))
        return answer(connection, request,
                      refusal(kUnsupportedType, "send the form as multipart/form-data"));
    request.formFileLimit = m_options.limits.maxBodyBytes;
    request.post.reset(MHD_create_post_processor(connection, kPostBuffer, &Impl::formField,
                                                 &request));
    if (!request.post)
        return answer(connection, request, refusal(kBadRequest, "the form cannot be read"));
    request.stage = Request::Stage::Body;
    return MHD_YES;
}

MHD_Result SeasonServer::Impl::formField(void* context, MHD_ValueKind, const char* key,
                                         const char* fileName, const char*, const char*,
                                         const char* data, std::uint64_t, std::size_t size) {
    auto& request = *static_cast<Request*>(context);
    const std::string_view name(key);
    std::string* into = nullptr;
    std::size_t limit = kMaxTokenField;
    if (name == "token") {
        into = &request.formToken;
    } else if (name == "file") {
        if (fileName && *fileName && !request.parameters.file) request.parameters.file = fileName;
        into = &request.upload.bytes;
        limit = static_cast<std::size_t>(request.formFileLimit);
    } else if (name == "game-version") {
        if (!request.parameters.gameVersion) request.parameters.gameVersion.emplace();
        into = &*request.parameters.gameVersion;
    }
    if (!into) return MHD_YES;
    if (into->size() + size > limit) {
        // Refused while it is read: nothing more of the form is kept.
        request.formTooLarge = true;
        return MHD_NO;
    }
    into->append(data, size);
    return MHD_YES;
}

MHD_Result SeasonServer::Impl::finishUpload(MHD_Connection* connection, Request& request) {
    if (request.form) {
        if (request.formTooLarge) return answer(connection, request, tooLarge());
        auto token = std::string_view(request.formToken);
        while (!token.empty() && std::isspace(static_cast<unsigned char>(token.back())))
            token.remove_suffix(1);
        if (auto refused = authenticate(token, request))
            return answer(connection, request, *refused);
        if (request.parameters.gameVersion && request.parameters.gameVersion->empty())
            request.parameters.gameVersion.reset();
        std::string bytes = std::move(request.upload.bytes);
        if (const auto why =
                applyParameters(request.parameters, std::time(nullptr), request.upload))
            return answer(connection, request, refusal(kBadRequest, *why));
        request.upload.bytes = std::move(bytes);
        if (auto refused = takeUploadTurn(request.label))
            return answer(connection, request, *refused);
    }
    request.upload.label = request.label;
    MHD_suspend_connection(connection);
    request.stage = Request::Stage::Waiting;
    const bool queued = m_writer->submit(std::move(request.upload),
                                         [connection, &request](const UploadAnswer& stored) {
                                             {
                                                 const std::lock_guard lock(request.answerMutex);
                                                 request.answer = stored;
                                             }
                                             MHD_resume_connection(connection);
                                         });
    if (!queued) {
        {
            const std::lock_guard lock(request.answerMutex);
            request.answer = refusal(kUnavailable, "the server is busy storing other logs", 5);
        }
        MHD_resume_connection(connection);
    }
    return MHD_YES;
}

MHD_Result SeasonServer::Impl::answer(MHD_Connection* connection, Request& request,
                                      const UploadAnswer& answer) {
    const Response response =
        request.form ? bufferResponse(uploadPage(&answer), "text/html; charset=utf-8",
                                      kUploadPolicy)
                     : bufferResponse(answer.json(), "application/json", kApiPolicy);
    if (answer.retryAfter > 0)
        MHD_add_response_header(response.get(), MHD_HTTP_HEADER_RETRY_AFTER,
                                std::to_string(answer.retryAfter).c_str());
    return queue(connection, answer.status, response);
}

SeasonServer::SeasonServer(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

SeasonServer::~SeasonServer() { stop(); }

std::uint16_t SeasonServer::port() const { return m_impl->port(); }

void SeasonServer::stop() { m_impl->stop(); }

std::unique_ptr<SeasonServer> SeasonServer::start(season::SeasonStore store,
                                                  const ServerOptions& options,
                                                  std::string& whyNot) {
    using Mode = season::SeasonStore::OpenMode;
    std::optional<SiteFiles> siteFiles;
    if (options.siteFolder) {
        std::error_code ignored;
        std::filesystem::create_directories(*options.siteFolder, ignored);
        siteFiles = SiteFiles::open(*options.siteFolder);
        if (!siteFiles) {
            whyNot = "cannot serve the site in '" + options.siteFolder->string() +
                     "': not a folder this user can open";
            return nullptr;
        }
    }
    record::FileDescriptor socket =
        listenOn({options.host, options.port}, whyNot);
    if (!socket) {
        whyNot = "cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " +
                 whyNot;
        return nullptr;
    }
    season::SeasonStore tokens = season::SeasonStore::open(options.store, Mode::Existing);
    std::optional<season::SeasonStore> siteStore;
    if (options.siteFolder) siteStore = season::SeasonStore::open(options.store, Mode::Existing);
    auto impl = std::make_unique<Impl>(std::move(store), std::move(tokens), std::move(siteStore),
                                       options);
    impl->m_siteFiles = std::move(siteFiles);
    if (!impl->listen(std::move(socket), whyNot)) return nullptr;
    return std::unique_ptr<SeasonServer>(new SeasonServer(std::move(impl)));
}

}  // namespace zefa::server
