#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MainLoop.h"
#include "FixtureApplication.h"
#include "FixtureHelp.h"
#include "InputLines.h"
#include "KelvoCore/Wire/WireLine.h"
#include "RequestLine.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/Server/UnixSocket.h"

// kelvo-fixture [--bundle-id ID] [--name NAME]: an application of the simulated desktop that a
// harness drives over FixtureRequest and FixtureReply lines on standard input and output;
// `--help` lists the requests and the quirks. `kelvo-fixture --bundle` is an application
// bundle's executable: no requests, one window at launch.

namespace {

int usage(const std::string& problem) {
    std::cerr << "kelvo-fixture: " << problem << "\n" << kelvo_fixture::FixtureHelp::usage();
    return 2;
}

/// One reply as one line in one unbuffered write.
void send(const kelvo::FixtureReply& reply) {
    const auto line = kelvo::WireLine::encode(reply);
    if (!line) return;
    const std::string text = *line + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (count <= 0) return;
        written += static_cast<std::size_t>(count);
    }
}

/// Reads requests until the end of input or "quit", each handled on the main thread in turn.
void readRequests(kelvo_fixture::FixtureApplication& app) {
    kelvo_fixture::InputLines input(STDIN_FILENO);
    for (auto next = input.next(); next.kind != kelvo_fixture::InputLines::Next::Kind::end;
         next = input.next()) {
        if (next.kind == kelvo_fixture::InputLines::Next::Kind::overlong) {
            send(kelvo::FixtureReply::failure("line too long"));
            continue;
        }
        const std::string& line = next.text;
        if (line.empty()) continue;
        const auto read = kelvo_fixture::RequestLine::read(line);
        if (!read.request) {
            send(kelvo::FixtureReply::failure("unreadable request: " + read.problem + ": " + line));
            continue;
        }
        const auto& request = read.request;
        kelvo::FixtureReply reply;
        DispatchQueue::main().sync([&] { reply = app.handle(*request); });
        send(reply);
        // "quit" ends the application only once its reply is out, like the end of input.
        if (request->op == "quit") break;
    }
    DispatchQueue::main().async([] { MainLoop::shared().stop(); });
}

}  // namespace

int main(int argc, char** argv) {
    kelvo_fixture::FixtureApplication::Options options;
    bool bundle = false;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            std::cout << kelvo_fixture::FixtureHelp::text();
            return 0;
        }
        if (flag == "--bundle") {
            bundle = true;
            continue;
        }
        if (flag != "--bundle-id" && flag != "--name") return usage("unknown argument " + flag);
        if (i + 1 == argc) return usage(flag + " needs a value");
        (flag == "--bundle-id" ? options.bundleID : options.name) = argv[++i];
    }
    std::shared_ptr<sim::SocketConnection> connection;
    try {
        connection = sim::DesktopAddress::connect(sim::DesktopAddress::fromEnvironmentOrDefault());
    } catch (const sim::SocketError& error) {
        std::cerr << "kelvo-fixture: no desktop: " << error.what() << '\n';
        return 1;
    }
    kelvo_fixture::FixtureApplication app(connection, options);
    int status = 0;
    app.setQuitHandler([] { MainLoop::shared().stop(); });
    connection->setDisconnectHandler([&status] {
        status = 1;
        DispatchQueue::main().async([] { MainLoop::shared().stop(); });
    });
    if (!app.start()) {
        std::cerr << "kelvo-fixture: the desktop did not take this application\n";
        return 1;
    }
    if (bundle) {
        kelvo::FixtureRequest first;
        first.op = "open";
        first.title = "Window 1";
        app.handle(first);
    } else {
        std::thread reader([&app] { readRequests(app); });
        reader.detach();
    }
    MainLoop::shared().run();
    // The reader may still wait for input; the process ends without waiting for it.
    std::fflush(stdout);
    std::_Exit(status);
}
