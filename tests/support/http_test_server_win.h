// A small HTTP server on a loopback port of its own, for the update tests: each
// request gets the reply the test chooses, which may be held back until the
// test releases it, or trickled out a byte at a time.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace qorvic::test {

struct HttpReply {
    HttpReply(int status_ = 200, std::string body_ = {})
        : status(status_), body(std::move(body_)) {}
    int status;
    std::string body;
    std::string extraHeaders; // each ending in "\r\n"
    bool hold = false;        // answer only after Release()
    bool trickle = false;     // headers, then one body byte every 100 ms
};

class HttpTestServer {
public:
    // `reply` gets the request number: 1, 2, ...
    explicit HttpTestServer(std::function<HttpReply(int number)> reply) : reply_(std::move(reply)) {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0; // a free port of the system's choice
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        int length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~HttpTestServer() {
        stopping_ = true;
        ::closesocket(listener_);
        acceptor_.join();
        ::WSACleanup();
    }

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    std::wstring Url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/"; }
    int Requests() const { return requests_; }
    // Replies completely sent (or given up because the client went away).
    int Finished() const { return finished_; }
    void Release() { released_ = true; }
    std::string LastRequest() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastRequest_;
    }

    // A loopback address where nothing listens: the port of a server just stopped.
    static std::wstring DeadUrl() {
        return HttpTestServer([](int) { return HttpReply(); }).Url();
    }

private:
    // One connection at a time: the program makes one request at a time.
    void AcceptLoop() {
        for (SOCKET client; (client = ::accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;)
            Serve(client);
    }

    // Sleeps in small steps; false when the server is stopping.
    bool Wait(int ms) {
        for (int waited = 0; waited < ms; waited += 10) {
            if (stopping_)
                return false;
            ::Sleep(10);
        }
        return !stopping_;
    }

    static bool SendAll(SOCKET s, const std::string& data) {
        std::size_t sent = 0;
        while (sent < data.size()) {
            const int n = ::send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    void Serve(SOCKET client) {
        // A client that stalls must not keep the server from stopping.
        const DWORD timeout = 5000;
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
        ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const int number = ++requests_;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            lastRequest_ = request;
        }
        const HttpReply reply = reply_(number);
        while (reply.hold && !released_ && Wait(10)) {
        }
        if (!stopping_) {
            const std::string head =
                "HTTP/1.1 " + std::to_string(reply.status) + " Test\r\n" +
                "Content-Type: text/html\r\nContent-Length: " + std::to_string(reply.body.size()) +
                "\r\n" + reply.extraHeaders + "Connection: close\r\n\r\n";
            if (!reply.trickle) {
                SendAll(client, head + reply.body);
            } else if (SendAll(client, head)) {
                for (char c : reply.body)
                    if (!Wait(100) || !SendAll(client, std::string(1, c)))
                        break;
            }
        }
        ::shutdown(client, SD_SEND);
        ::closesocket(client);
        ++finished_;
    }

    std::function<HttpReply(int)> reply_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread acceptor_;
    std::mutex mutex_;
    std::string lastRequest_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> released_{false};
    std::atomic<int> requests_{0};
    std::atomic<int> finished_{0};
};

// A server that answers every request with the same page.
inline std::function<HttpReply(int)> Always(HttpReply reply) {
    return [reply](int) { return reply; };
}

} // namespace qorvic::test
