// SPDX-License-Identifier: GPL-3.0-or-later
// A braille display for tests, on the other end of BRLTTY's virtual braille
// driver ("-b vr -d client:SOCKET"): listens on SOCKET, announces 40 cells
// to every connection, writes every line BRLTTY sends (Braille "...",
// Visual "...") to standard output, and passes every line of standard input
// to BRLTTY as a key command ("Route 5", "LnDn", "FWinRt"). A BRLTTY that
// goes away may come back: the display waits for the next connection.
// "connected" and "disconnected" lines on standard output mark the changes.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool SendAll(int socket, const std::string& text)
{
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(socket, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void Say(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SOCKET\n", argv[0]);
        return 2;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::strlen(argv[1]) >= sizeof address.sun_path) {
        std::fprintf(stderr, "socket path too long\n");
        return 2;
    }
    std::strcpy(address.sun_path, argv[1]);
    unlink(argv[1]);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
        listen(listener, 1) < 0) {
        std::perror("listen");
        return 1;
    }
    int client = -1;
    bool inputOpen = true;
    std::string fromClient;
    std::string fromInput;
    for (;;) {
        pollfd watched[2] = {{client >= 0 ? client : listener, POLLIN, 0}, {inputOpen ? 0 : -1, POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (watched[0].revents) {
            if (client < 0) {
                client = accept(listener, nullptr, nullptr);
                if (client >= 0) {
                    Say("connected");
                    SendAll(client, "cells 40\n");
                }
            } else {
                char buffer[4096];
                const ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    close(client);
                    client = -1;
                    fromClient.clear();
                    Say("disconnected");
                } else {
                    fromClient.append(buffer, static_cast<std::size_t>(n));
                    for (std::size_t end; (end = fromClient.find('\n')) != std::string::npos;) {
                        Say(fromClient.substr(0, end));
                        fromClient.erase(0, end + 1);
                    }
                }
            }
        }
        if (watched[1].revents) {
            char buffer[1024];
            const ssize_t n = read(0, buffer, sizeof buffer);
            if (n <= 0) {
                // The test is done with the display.
                inputOpen = false;
                break;
            }
            fromInput.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end; (end = fromInput.find('\n')) != std::string::npos;) {
                if (client >= 0)
                    SendAll(client, fromInput.substr(0, end + 1));
                fromInput.erase(0, end + 1);
            }
        }
    }
    if (client >= 0)
        close(client);
    close(listener);
    unlink(argv[1]);
    return 0;
}
