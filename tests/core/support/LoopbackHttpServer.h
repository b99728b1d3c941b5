#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the test server does with one request.
struct CannedReply {
    enum class Kind {
        kPage,         // status line, headers, the whole body, then close
        kStall,        // read the request and never answer
        kStallInBody,  // send the headers and part of the body, then go quiet
        kBreakInBody,  // announce more body than is sent, then close
        kEndlessBody,  // stream `bodyBytes` bytes, announced or not
    };
    Kind kind = Kind::kPage;
    int status = 200;
    std::string body;
    std::string extraHeaders;  // whole lines, each ending in "\r\n"
    std::size_t bodyBytes = 0;
    bool announceLength = true;

    static CannedReply Page(std::string body, int status = 200) {
        CannedReply reply;
        reply.body = std::move(body);
        reply.status = status;
        return reply;
    }
};

// A small HTTP/1.1 server on 127.0.0.1 for tests: it answers one connection at a time
// from a handler, records every request it reads, and stops when destroyed.
class LoopbackHttpServer {
public:
    using Handler = std::function<CannedReply(const std::string& target)>;
    // Whether the requests are kept for Targets() and Heads(); a long run does without,
    // so that the test's own memory does not grow with every request.
    enum class RequestLog { kKeep, kNone };

    explicit LoopbackHttpServer(Handler handler, RequestLog log = RequestLog::kKeep);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // "127.0.0.1:<port>", the form a quote host takes.
    std::string Host() const;

    // The request targets and the full request heads, in arrival order.
    std::vector<std::string> Targets() const;
    std::vector<std::string> Heads() const;

    // A loopback port that nothing listens on.
    static std::uint16_t ClosedPort();

private:
    void Serve();
    void Answer(int connection);
    bool Stopping() const { return m_stop.load(); }

    Handler m_handler;
    RequestLog m_log;
    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_targets;
    std::vector<std::string> m_heads;
    std::thread m_thread;
};
