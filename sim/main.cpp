// qavo-host-sim: a simulated QAVO host and firmware devices on the loopback.
// Reads commands from standard input; stops on "quit", SIGINT or SIGTERM,
// not at the end of standard input.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "sim_host.h"

namespace {

void Print(const std::string& reply) {
    if (reply.empty()) return;
    std::fputs(reply.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qavo::sim;
    SimCommandLine command_line;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (auto error = ParseSimCommandLine(args, command_line)) {
        std::fprintf(stderr, "qavo-host-sim: %s\nTry 'qavo-host-sim --help'.\n", error->c_str());
        return 2;
    }
    if (command_line.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }

    // The signals are taken from a descriptor, beside standard input; every
    // thread started from here on has them blocked.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    int signal_fd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (signal_fd < 0) {
        std::perror("qavo-host-sim: signalfd");
        return 1;
    }
    ::signal(SIGPIPE, SIG_IGN);

    SimHost host(command_line.options);
    std::string error;
    if (!host.Start(&error)) {
        std::fprintf(stderr, "qavo-host-sim: %s\n", error.c_str());
        ::close(signal_fd);
        return 1;
    }
    std::fprintf(stderr, "qavo-host-sim: listening on %s:%u (type help for commands)\n",
                 FormatAddress(command_line.options.bind_address).c_str(), host.port());
    for (const std::string& command : command_line.commands)
        Print(host.Command(command));

    std::string pending;
    bool input_open = true;
    while (!host.QuitRequested()) {
        pollfd fds[2] = {{signal_fd, POLLIN, 0}, {input_open ? 0 : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            [[maybe_unused]] ssize_t got = ::read(signal_fd, &info, sizeof info);
            break;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            char buffer[4096];
            ssize_t got = ::read(0, buffer, sizeof buffer);
            if (got <= 0) {
                // End of input: keep running until a signal comes.
                if (got < 0 && errno == EINTR) continue;
                input_open = false;
                continue;
            }
            pending.append(buffer, static_cast<size_t>(got));
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos && !host.QuitRequested()) {
                Print(host.Command(std::string_view(pending).substr(0, end)));
                pending.erase(0, end + 1);
            }
        }
    }
    host.Stop();
    ::close(signal_fd);
    std::fprintf(stderr, "qavo-host-sim: stopped\n");
    return 0;
}
