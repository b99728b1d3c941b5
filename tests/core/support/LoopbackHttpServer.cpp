#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kPollMs = 20;
constexpr std::size_t kMaxHead = 64 * 1024;

int OpenListener(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw std::runtime_error("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("bind");
    }
    port = ntohs(address.sin_port);
    return fd;
}

bool SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string StatusLine(int status) {
    return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Status") + "\r\n";
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler, RequestLog log)
    : m_handler(std::move(handler)), m_log(log) {
    m_listener = OpenListener(m_port);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

std::string LoopbackHttpServer::Host() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

std::vector<std::string> LoopbackHttpServer::Targets() const {
    const std::lock_guard lock(m_mutex);
    return m_targets;
}

std::vector<std::string> LoopbackHttpServer::Heads() const {
    const std::lock_guard lock(m_mutex);
    return m_heads;
}

std::uint16_t LoopbackHttpServer::ClosedPort() {
    std::uint16_t port = 0;
    ::close(OpenListener(port));
    return port;
}

void LoopbackHttpServer::Serve() {
    while (!Stopping()) {
        pollfd listener{m_listener, POLLIN, 0};
        if (::poll(&listener, 1, kPollMs) <= 0) {
            continue;
        }
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        Answer(connection);
        ::close(connection);
    }
}

void LoopbackHttpServer::Answer(int connection) {
    // Waits for the peer to close or the server to stop; true when the peer closed.
    const auto waitForClose = [&] {
        while (!Stopping()) {
            pollfd peer{connection, POLLIN, 0};
            if (::poll(&peer, 1, kPollMs) > 0) {
                char scratch[512];
                if (::recv(connection, scratch, sizeof(scratch), 0) <= 0) {
                    return;
                }
            }
        }
    };

    std::string head;
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
        if (Stopping()) {
            return;
        }
        pollfd peer{connection, POLLIN, 0};
        if (::poll(&peer, 1, kPollMs) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::recv(connection, buffer, sizeof(buffer), 0);
        if (n <= 0) {
            return;
        }
        head.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t firstSpace = head.find(' ');
    const std::size_t secondSpace = head.find(' ', firstSpace + 1);
    const std::string target = firstSpace == std::string::npos || secondSpace == std::string::npos
                                   ? std::string()
                                   : head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    if (m_log == RequestLog::kKeep) {
        const std::lock_guard lock(m_mutex);
        m_targets.push_back(target);
        m_heads.push_back(head.substr(0, head.find("\r\n\r\n")));
    }

    const CannedReply reply = m_handler(target);
    std::string headers = StatusLine(reply.status) + "Connection: close\r\n" + reply.extraHeaders;
    switch (reply.kind) {
        case CannedReply::Kind::kPage:
            SendAll(connection, headers + "Content-Length: " + std::to_string(reply.body.size()) +
                                    "\r\n\r\n" + reply.body);
            return;
        case CannedReply::Kind::kStall:
            waitForClose();
            return;
        case CannedReply::Kind::kStallInBody:
            SendAll(connection, headers +
                                    "Content-Length: " + std::to_string(reply.body.size() + 1000) +
                                    "\r\n\r\n" + reply.body);
            waitForClose();
            return;
        case CannedReply::Kind::kBreakInBody:
            SendAll(connection, headers +
                                    "Content-Length: " + std::to_string(reply.body.size() + 1000) +
                                    "\r\n\r\n" + reply.body);
            return;
        case CannedReply::Kind::kEndlessBody: {
            if (reply.announceLength) {
                headers += "Content-Length: " + std::to_string(reply.bodyBytes) + "\r\n";
            }
            if (!SendAll(connection, headers + "\r\n")) {
                return;
            }
            const std::string chunk(16 * 1024, 'x');
            for (std::size_t sent = 0; sent < reply.bodyBytes && !Stopping();
                 sent += chunk.size()) {
                if (!SendAll(connection,
                             chunk.substr(0, std::min(chunk.size(), reply.bodyBytes - sent)))) {
                    return;
                }
            }
            return;
        }
    }
}
