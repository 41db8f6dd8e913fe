// The system's own windows as the desktop receives them: from a change of a 640 × 400 panel's
// content to its new pixels held by the desktop (drawn, packed, sent over the socket, read and
// checked by the server), and how much the desktop holds for twenty such windows.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/DesktopServer.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/SharedConnection.h"
#include "Support/Base/TemporaryFolder.h"

namespace {

constexpr CGSize panelSize{640, 400};

/// A server on a socket in a temporary folder, this process its client (as the system is).
struct Served {
    kelvo::testing::TemporaryFolder folder;
    std::shared_ptr<sim::Desktop> desktop = std::make_shared<sim::Desktop>();
    std::unique_ptr<sim::DesktopServer> server;

    Served() {
        desktop->addDisplay(CGRect(0, 0, 1920, 1080));
        server = std::make_unique<sim::DesktopServer>(desktop, (folder / "bench.sock").string());
        server->start();
        auto connection = std::make_shared<sim::SocketConnection>(server->path());
        sim::SharedConnection::install(connection);
        sim::ApplicationSpec self;
        self.name = "Bench";
        connection->registerClient(self);
    }
    ~Served() { sim::SharedConnection::install(nullptr); }

    static Served& shared() {
        static Served served;
        return served;
    }
};

/// What a launcher-like panel shows: a dark card, a query line and rows of names, one of them
/// selected in a colour that changes with every step.
class Rows : public NSView {
  public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
    void select(int row) {
        selected_ = row;
        setNeedsDisplay();
    }
    void drawRect(const CGRect&) override {
        CGContext& context = NSGraphicsContext::currentContext()->cgContext();
        context.setFillColor(CGColorCreateSRGB(0.1, 0.11, 0.14, 0.96));
        context.fill(bounds());
        NSTextAttributes attributes;
        attributes.font = NSFont::systemFontOfSize(15);
        attributes.foregroundColor = NSColor::whiteColor();
        for (int row = 0; row < 7; ++row) {
            const CGRect line(8, 60 + 48.0 * row, bounds().width() - 16, 44);
            if (row == selected_ % 7) {
                context.setFillColor(CGColorCreateSRGB(0.3, 0.5, 0.9, 0.4));
                context.fill(line);
            }
            NSAttributedString("Application number " + std::to_string(row + 1), attributes)
                .drawAtPoint(CGPoint{24, line.minY() + 12});
        }
    }

  private:
    int selected_ = 0;
};

struct BenchPanel {
    NSPanel panel{CGRect(CGPoint{100, 100}, panelSize), NSWindowStyleMaskNonactivatingPanel,
                  NSBackingStoreBuffered, false};
    std::shared_ptr<Rows> rows = std::make_shared<Rows>(CGRect(CGPoint{}, panelSize));

    BenchPanel() {
        panel.setContentView(rows);
        panel.orderFrontRegardless();
    }
};

void BM_PanelChangeToPixelsOnTheDesktop(benchmark::State& state) {
    Served& served = Served::shared();
    BenchPanel bench;
    const auto number = static_cast<sim::WindowNumber>(bench.panel.windowNumber());
    int step = 0;
    for (auto _ : state) {
        const sim::WindowPicture before = served.desktop->ownWindowPicture(number);
        bench.rows->select(++step);
        // What the next turn of the main loop does after a change.
        bench.panel.displayIfNeeded();
        // The server's thread takes the picture; this one only looks now and then.
        while (served.desktop->ownWindowPicture(number) == before)
            std::this_thread::yield();
    }
    state.counters["packedBytes"] =
        static_cast<double>(served.desktop->ownWindowPicture(number).packed.size());
}
BENCHMARK(BM_PanelChangeToPixelsOnTheDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DesktopHoldingTwentyWindows(benchmark::State& state) {
    Served& served = Served::shared();
    std::vector<std::unique_ptr<BenchPanel>> panels;
    for (int i = 0; i < 20; ++i) {
        panels.push_back(std::make_unique<BenchPanel>());
        panels.back()->rows->select(i);
    }
    int step = 0;
    for (auto _ : state) {
        for (auto& bench : panels) {
            bench->rows->select(++step);
            bench->panel.displayIfNeeded();
        }
    }
    // The server answers in order: a round trip after the pictures waits for them all.
    sim::SharedConnection::current()->displays();
    state.counters["heldBytes"] = static_cast<double>(served.desktop->pictureBytes());
    state.counters["rawBytes"] = 20.0 * panelSize.width * panelSize.height * 4;
}
BENCHMARK(BM_DesktopHoldingTwentyWindows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
