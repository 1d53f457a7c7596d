#include "phones/PhoneServer.hpp"

#include "language/Phrase.hpp"
#include "phones/PhoneAccess.hpp"
#include "phones/PhonePage.hpp"
#include "phones/QrCode.hpp"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/locale/message.hpp>

#include <array>
#include <chrono>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <utility>

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
namespace locale = boost::locale;
using tcp = net::ip::tcp;
using namespace std::chrono_literals;

constexpr std::size_t headerLimit = 4096;
constexpr std::size_t bodyLimit = 1024;
constexpr auto requestTime = 10s;
constexpr auto idleTime = 20s;
// A phone that has not taken a message in this time has stopped reading.
constexpr auto writeTime = 20s;
constexpr std::size_t waitingRequestLimit = 512;
constexpr std::size_t sendQueueLimit = 64;
constexpr std::size_t sendQueueBytes = std::size_t{64} * 1024;
// What a closing connection may still send before it is cut off, and for how long.
constexpr std::size_t lingerBytes = std::size_t{64} * 1024;
constexpr auto lingerTime = 2s;
constexpr std::size_t refusalLimit = 8;
constexpr const char* serverName = "kraxelbrett";
constexpr const char* invitationFile = "invite.svg";

class WsSession;
class Ticket;

// What the sessions share, on the I/O thread but for the inbox.
struct Hub {
    PhoneAccessRules rules;
    std::locale words;
    std::vector<ServedFile> page;
    // The link's QR code for a phone to show the next, by the Host the phone reached the game
    // by: the address that works from where it is.
    std::map<std::string, std::string> invitations;

    std::mutex mutex;
    std::vector<PhoneArrival> inbox;
    std::size_t waitingRequests = 0;

    PhoneAdmission admission;
    std::unordered_map<PhoneAdmission::Connection, Ticket*> tickets;
    // Newcomers being told that the game is full, at most refusalLimit at a time.
    std::size_t refusing = 0;
    std::unordered_map<PhoneId, std::weak_ptr<WsSession>> phones;
    PhoneId lastPhone = 0;

    void arrive(PhoneArrival::Kind kind, PhoneId phone) {
        std::lock_guard<std::mutex> lock(mutex);
        inbox.push_back({kind, phone, {}});
    }

    bool arriveRequest(PhoneId phone, PhoneRequest request) {
        std::lock_guard<std::mutex> lock(mutex);
        if (waitingRequests >= waitingRequestLimit) {
            return false;
        }
        ++waitingRequests;
        inbox.push_back({PhoneArrival::Kind::request, phone, std::move(request)});
        return true;
    }
};

// A connection counted in the hub's admission for as long as it lives, which may have to make
// room for a newcomer. It asks for admission only once it exists, so that no failure can leave
// a count that is never released.
class Ticket {
public:
    Ticket(Hub& hub, const std::string& address) : hub(hub) {
        const PhoneAdmission::Admit admit = hub.admission.admit(address);
        full = admit.full;
        if (admit.makesRoom != 0) {
            hub.tickets.at(admit.makesRoom)->makeRoom();
        }
        if (admit.connection != 0) {
            try {
                hub.tickets.emplace(admit.connection, this);
            } catch (...) {
                hub.admission.release(admit.connection);
                throw;
            }
            connection = admit.connection;
        }
    }
    ~Ticket() {
        if (connection != 0) {
            hub.admission.release(connection);
            hub.tickets.erase(connection);
        }
    }
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;

    bool isAdmitted() const { return connection != 0; }
    /// Whether it was refused because every connection is a phone's.
    bool isFull() const { return full; }

    void stand(PhoneAdmission::Standing standing) const {
        hub.admission.stand(connection, standing);
    }
    /// How the connection is closed should a newcomer need its place.
    void closeWith(std::function<void()> close) { closer = std::move(close); }

private:
    // Already no longer counted: the connection goes, and its place is the newcomer's.
    void makeRoom() {
        hub.tickets.erase(connection);
        connection = 0;
        if (closer) {
            std::exchange(closer, nullptr)();
        }
    }

    Hub& hub;
    PhoneAdmission::Connection connection = 0;
    bool full = false;
    std::function<void()> closer;
};

// One of the newcomers being told that the game is full, counted while it lasts.
class Refusal {
public:
    explicit Refusal(Hub& hub) : hub(hub) { ++hub.refusing; }
    ~Refusal() { --hub.refusing; }
    Refusal(const Refusal&) = delete;
    Refusal& operator=(const Refusal&) = delete;

private:
    Hub& hub;
};

template <class Fields> std::string_view single(const Fields& fields, http::field name) {
    return fields.count(name) == 1 ? std::string_view(fields[name]) : std::string_view();
}

void setCommonHeaders(http::response_header<>& header) {
    header.set(http::field::server, serverName);
    header.set(http::field::cache_control, "no-store");
    header.set("X-Content-Type-Options", "nosniff");
    header.set("Referrer-Policy", "no-referrer");
}

using Response = http::response<http::string_body>;

Response answer(http::status status, unsigned version, std::string body) {
    Response response{status, version};
    setCommonHeaders(response.base());
    response.set(http::field::content_type, "text/plain; charset=utf-8");
    response.set("Content-Security-Policy", "default-src 'none'");
    response.body() = std::move(body);
    return response;
}

Response redirectToKey(unsigned version, const std::string& key) {
    Response response = answer(http::status::moved_permanently, version, "");
    response.set(http::field::location, "/" + key + "/");
    return response;
}

Response methodNotAllowed(unsigned version) {
    Response response = answer(http::status::method_not_allowed, version, "Method not allowed\n");
    response.set(http::field::allow, "GET");
    return response;
}

Response webSocketOnly(unsigned version) {
    Response response = answer(http::status::upgrade_required, version, "WebSocket only\n");
    response.set(http::field::upgrade, "websocket");
    response.set(http::field::connection, "Upgrade");
    return response;
}

std::string cannotListen(const std::string& address, unsigned first, unsigned last,
                         const beast::error_code& ec, const std::locale& told) {
    // The system's reason stays as the system words it.
    if (last != first) {
        return phrase(told, locale::translate("kraxelbrett: cannot listen on {1} to {2}: {3}\n"),
                      hostWithPort(address, first), last, ec.message());
    }
    return phrase(told, locale::translate("kraxelbrett: cannot listen on {1}: {2}\n"),
                  hostWithPort(address, first), ec.message());
}

class WsSession : public std::enable_shared_from_this<WsSession> {
public:
    WsSession(Hub& hub, tcp::socket&& socket, std::unique_ptr<Ticket> ticket)
        : hub(hub), ticket(std::move(ticket)), ws(std::move(socket)),
          writeDeadline(ws.get_executor()) {
        // It has shown the key: a phone is never closed to make room.
        this->ticket->stand(PhoneAdmission::Standing::held);
        this->ticket->closeWith(nullptr);
    }

    ~WsSession() {
        if (phone != 0) {
            hub.phones.erase(phone);
            hub.arrive(PhoneArrival::Kind::disconnected, phone);
        }
    }

    void accept(const http::request<http::string_body>& request) {
        beast::get_lowest_layer(ws).expires_never();
        websocket::stream_base::timeout timeout;
        timeout.handshake_timeout = requestTime;
        timeout.idle_timeout = idleTime;
        timeout.keep_alive_pings = false;
        ws.set_option(timeout);
        ws.set_option(websocket::stream_base::decorator(
            [](websocket::response_type& response) { setCommonHeaders(response.base()); }));
        ws.read_message_max(longestPhoneMessage);
        ws.async_accept(request,
                        [self = shared_from_this()](beast::error_code ec) { self->onAccept(ec); });
    }

    // Queues a message; a phone whose queue is full has stopped reading and is dropped.
    void send(std::string message) {
        if (dropped) {
            return;
        }
        if (queue.size() >= sendQueueLimit || queuedBytes + message.size() > sendQueueBytes) {
            drop();
            return;
        }
        queuedBytes += message.size();
        queue.push_back(std::move(message));
        if (queue.size() == 1) {
            write();
        }
    }

private:
    void onAccept(beast::error_code ec) {
        if (ec) {
            return;
        }
        phone = ++hub.lastPhone;
        hub.phones[phone] = weak_from_this();
        hub.arrive(PhoneArrival::Kind::connected, phone);
        read();
    }

    void read() {
        ws.async_read(buffer, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            self->onRead(ec);
        });
    }

    void onRead(beast::error_code ec) {
        if (ec) {
            drop();
            return;
        }
        switch (rate.check(std::chrono::steady_clock::now())) {
        case PhoneRate::Verdict::pass: take(); break;
        case PhoneRate::Verdict::warn:
            send(errorReply("rate",
                            locale::translate("Too many messages: wait a moment.").str(hub.words)));
            break;
        case PhoneRate::Verdict::drop: break;
        }
        buffer.consume(buffer.size());
        read();
    }

    void take() {
        if (!ws.got_text()) {
            send(errorReply(
                "binary", locale::translate("Only text messages are understood.").str(hub.words)));
            return;
        }
        auto data = buffer.cdata();
        ReadMessage message = readPhoneMessage(
            std::string_view(static_cast<const char*>(data.data()), data.size()), hub.words);
        if (!message.request) {
            send(std::move(message.errorReply));
        } else if (message.request->ask == PhoneAsk::ping) {
            send(pongReply());
        } else if (!hub.arriveRequest(phone, std::move(*message.request))) {
            send(errorReply("busy",
                            locale::translate("The game is busy: try again.").str(hub.words)));
        }
    }

    void write() {
        ++writes;
        writeDeadline.expires_after(writeTime);
        writeDeadline.async_wait(
            [self = shared_from_this(), serial = writes](beast::error_code ec) {
                if (!ec && self->writes == serial && !self->queue.empty()) {
                    self->drop();
                }
            });
        ws.text(true);
        ws.async_write(
            net::buffer(queue.front()),
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onWrite(ec); });
    }

    void onWrite(beast::error_code ec) {
        ++writes;
        writeDeadline.cancel();
        if (ec) {
            queue.clear();
            drop();
            return;
        }
        queuedBytes -= queue.front().size();
        queue.pop_front();
        if (!queue.empty()) {
            write();
        }
    }

    // Ends the connection at once; the read and write under way end with it.
    void drop() {
        dropped = true;
        beast::get_lowest_layer(ws).close();
    }

    Hub& hub;
    std::unique_ptr<Ticket> ticket;
    websocket::stream<beast::tcp_stream> ws;
    beast::flat_buffer buffer;
    net::steady_timer writeDeadline;
    PhoneId phone = 0;
    PhoneRate rate;
    std::deque<std::string> queue;
    std::size_t queuedBytes = 0;
    std::uint64_t writes = 0;
    bool dropped = false;
};

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(Hub& hub, tcp::socket&& socket, std::unique_ptr<Ticket> ticket)
        : hub(hub), ticket(std::move(ticket)), stream(std::move(socket)) {}

    void start() {
        ticket->closeWith([weak = weak_from_this()] {
            if (auto self = weak.lock()) {
                beast::error_code ignored;
                self->stream.socket().close(ignored);
            }
        });
        read();
    }

    // Tells a newcomer, without reading its request, that every place is a phone's.
    void refuseFull() {
        refusal.emplace(hub);
        stream.expires_after(lingerTime);
        respond(answer(http::status::service_unavailable, 11,
                       "Service unavailable: every connection is a phone's\n"),
                false);
    }

    void read() {
        parser.emplace();
        parser->header_limit(headerLimit);
        parser->body_limit(bodyLimit);
        stream.expires_after(requestTime);
        http::async_read(
            stream, buffer, *parser,
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onRead(ec); });
    }

private:
    void onRead(beast::error_code ec) {
        if (ec) {
            answerUnread(ec);
            return;
        }

        const auto& request = parser->get();
        bool upgrade = websocket::is_upgrade(request);
        PhoneAccess access = checkPhoneAccess({request.method_string(), request.target(),
                                               single(request, http::field::host),
                                               single(request, http::field::origin), upgrade},
                                              hub.rules);
        unsigned version = request.version();
        if (access.route == PhoneRoute::file || access.route == PhoneRoute::redirect ||
            access.route == PhoneRoute::notFound) {
            ticket->stand(PhoneAdmission::Standing::held);
        }

        switch (access.route) {
        case PhoneRoute::webSocket:
            std::make_shared<WsSession>(hub, stream.release_socket(), std::move(ticket))
                ->accept(request);
            return;
        case PhoneRoute::file: respond(page(access, version), request.keep_alive()); return;
        case PhoneRoute::redirect:
            respond(redirectToKey(version, hub.rules.key), request.keep_alive());
            return;
        case PhoneRoute::misdirected:
            respond(answer(http::status::misdirected_request, version,
                           "Misdirected request: use the address shown on the screen\n"),
                    false);
            return;
        case PhoneRoute::forbidden:
            respond(answer(http::status::forbidden, version,
                           "Forbidden: scan the code on the screen again\n"),
                    false);
            return;
        case PhoneRoute::badMethod: respond(methodNotAllowed(version), false); return;
        case PhoneRoute::notFound:
            respond(answer(http::status::not_found, version, "Not found\n"), request.keep_alive());
            return;
        case PhoneRoute::upgradeRequired: respond(webSocketOnly(version), false); return;
        }
    }

    // A request that could not be read: one that broke a limit or the protocol is told so; at
    // the end of the client's requests, our side closes too.
    void answerUnread(beast::error_code ec) {
        if (ec == http::error::end_of_stream) {
            stream.socket().shutdown(tcp::socket::shutdown_send, ec);
        } else if (ec == http::error::header_limit) {
            respond(answer(http::status::request_header_fields_too_large, 11,
                           "Request headers too large\n"),
                    false);
        } else if (ec == http::error::body_limit) {
            respond(answer(http::status::payload_too_large, 11, "Request too large\n"), false);
        } else if (ec.category() == http::make_error_code(http::error::bad_target).category()) {
            respond(answer(http::status::bad_request, 11, "Bad request\n"), false);
        }
    }

    Response page(const PhoneAccess& access, unsigned version) const {
        Response response = answer(http::status::ok, version, "");
        for (const ServedFile& file : hub.page) {
            if (file.name == access.file) {
                response.set(http::field::content_type, file.contentType);
                response.body() = file.body;
            }
        }
        if (access.file == invitationFile) {
            response.set(http::field::content_type, "image/svg+xml");
            response.body() = hub.invitations.at(access.host);
        }
        response.set("Content-Security-Policy",
                     "default-src 'none'; script-src 'self'; style-src 'self'; connect-src ws://" +
                         access.host +
                         "; img-src 'self'; base-uri 'none'; form-action 'none'; "
                         "frame-ancestors 'none'");
        return response;
    }

    void respond(Response response, bool keepAlive) {
        this->response = std::move(response);
        this->response->keep_alive(keepAlive);
        this->response->prepare_payload();
        http::async_write(
            stream, *this->response,
            [self = shared_from_this(), keepAlive](beast::error_code ec, std::size_t) {
                if (ec) {
                    return;
                }
                if (keepAlive) {
                    self->ticket->stand(PhoneAdmission::Standing::idle);
                    self->read();
                } else {
                    self->linger();
                }
            });
    }

    // Reads what the client still sends before closing, so that closing with unread bytes
    // does not reset the connection before the client has read the answer.
    void linger() {
        beast::error_code ignored;
        stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream.expires_after(lingerTime);
        drain();
    }

    void drain() {
        stream.async_read_some(net::buffer(discard),
                               [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                                   self->drained += n;
                                   if (!ec && self->drained < lingerBytes) {
                                       self->drain();
                                   }
                               });
    }

    Hub& hub;
    // None for a newcomer refused because the game is full, which has a refusal instead.
    std::unique_ptr<Ticket> ticket;
    std::optional<Refusal> refusal;
    beast::tcp_stream stream;
    beast::flat_buffer buffer{2 * headerLimit + bodyLimit};
    std::optional<http::request_parser<http::string_body>> parser;
    std::optional<Response> response;
    std::array<char, 1024> discard{};
    std::size_t drained = 0;
};

} // namespace

struct PhoneServer::State {
    // Outlives the I/O context, whose end ends the sessions that still wait.
    Hub hub;
    net::io_context io{1};
    net::executor_work_guard<net::io_context::executor_type> work = net::make_work_guard(io);
    std::optional<tcp::acceptor> acceptor;
    net::steady_timer acceptPause{io};
    unsigned short port = 0;
    std::function<void()> admitting;
    std::thread thread;

    // Listens on the first port free of those allowed. Returns a line on why none is, or
    // nothing.
    std::string listen(const PhoneServerSettings& settings) {
        unsigned first = settings.port;
        unsigned last = settings.tryNextPorts && first != 0 ? std::min(first + 20, 65535u) : first;
        beast::error_code ec;
        net::ip::address address = net::ip::make_address(settings.address, ec);
        if (ec) {
            return cannotListen(settings.address, first, last, ec, settings.told);
        }
        for (unsigned tried = first;; ++tried) {
            ec = listenOn(tcp::endpoint(address, static_cast<unsigned short>(tried)));
            if (!ec) {
                return "";
            }
            if (ec != net::error::address_in_use || tried >= last) {
                return cannotListen(settings.address, first, last, ec, settings.told);
            }
        }
    }

    beast::error_code listenOn(const tcp::endpoint& endpoint) {
        tcp::acceptor listening(io);
        beast::error_code ec;
        listening.open(endpoint.protocol(), ec);
        if (!ec) {
            listening.set_option(net::socket_base::reuse_address(true), ec);
        }
        if (!ec) {
            listening.bind(endpoint, ec);
        }
        if (!ec) {
            listening.listen(net::socket_base::max_listen_connections, ec);
        }
        if (!ec) {
            port = listening.local_endpoint(ec).port();
        }
        if (!ec) {
            acceptor.emplace(std::move(listening));
        }
        return ec;
    }

    // Who may ask for what: the key, the hosts the phones were shown, and the page's files.
    void setRules(const PhoneServerSettings& settings) {
        PhoneAccessRules& rules = hub.rules;
        rules.key = settings.key;
        rules.hosts.clear();
        for (const std::string& shown : settings.shownAddresses) {
            rules.hosts.push_back(hostWithPort(shown, port));
        }
        if (rules.hosts.empty()) {
            rules.hosts.push_back(hostWithPort(settings.address, port));
        }
        rules.files.clear();
        hub.words = settings.words;
        hub.page = pageIn(settings.words);
        for (const ServedFile& file : hub.page) {
            rules.files.push_back(file.name);
        }
        rules.files.emplace_back(invitationFile);
        hub.invitations.clear();
        for (const std::string& host : rules.hosts) {
            hub.invitations[host] = qrSvg("http://" + host + "/" + rules.key + "/");
        }
    }

    void run() {
        for (;;) {
            try {
                io.run();
                return;
            } catch (const std::exception&) {
                // One connection's trouble (memory, say) is no reason to stop serving the rest.
            }
        }
    }

    void accept() {
        acceptor->async_accept([this](beast::error_code ec, tcp::socket socket) {
            if (ec == net::error::operation_aborted) {
                return;
            }
            if (ec) {
                // Out of file descriptors, say: try again soon rather than spin.
                acceptPause.expires_after(100ms);
                acceptPause.async_wait([this](beast::error_code waited) {
                    if (!waited) {
                        accept();
                    }
                });
                return;
            }
            // Listening goes on first: should admitting this connection throw, the socket
            // closes as the exception leaves, and the I/O thread runs on.
            accept();
            admit(std::move(socket));
        });
    }

    void admit(tcp::socket socket) {
        if (admitting) {
            admitting();
        }
        beast::error_code ec;
        tcp::endpoint remote = socket.remote_endpoint(ec);
        if (ec) {
            return;
        }
        auto ticket = std::make_unique<Ticket>(hub, remote.address().to_string());
        if (!ticket->isAdmitted()) {
            if (ticket->isFull() && hub.refusing < refusalLimit) {
                std::make_shared<HttpSession>(hub, std::move(socket), nullptr)->refuseFull();
            }
            return;
        }
        std::make_shared<HttpSession>(hub, std::move(socket), std::move(ticket))->start();
    }

    std::shared_ptr<WsSession> phone(PhoneId id) {
        auto found = hub.phones.find(id);
        return found == hub.phones.end() ? nullptr : found->second.lock();
    }
};

PhoneServer::PhoneServer() : state(std::make_unique<State>()) {}

PhoneServer::~PhoneServer() {
    if (state->thread.joinable()) {
        state->io.stop();
        state->thread.join();
    }
}

std::string PhoneServer::start(const PhoneServerSettings& settings) {
    if (state->thread.joinable()) {
        return locale::translate("kraxelbrett: the phones' server is already running\n")
            .str(settings.told);
    }
    std::string problem = state->listen(settings);
    if (!problem.empty()) {
        return problem;
    }

    state->setRules(settings);

    state->admitting = settings.admitting;
    state->accept();
    state->thread = std::thread([state = state.get()] { state->run(); });
    return "";
}

unsigned short PhoneServer::port() const {
    return state->port;
}

std::vector<PhoneArrival> PhoneServer::takeArrivals() {
    std::vector<PhoneArrival> arrivals;
    std::lock_guard<std::mutex> lock(state->hub.mutex);
    arrivals.swap(state->hub.inbox);
    state->hub.waitingRequests = 0;
    return arrivals;
}

void PhoneServer::send(PhoneId phone, std::string message) {
    if (!state->thread.joinable()) {
        return;
    }
    net::post(state->io, [state = state.get(), phone, message = std::move(message)]() mutable {
        if (auto session = state->phone(phone)) {
            session->send(std::move(message));
        }
    });
}
