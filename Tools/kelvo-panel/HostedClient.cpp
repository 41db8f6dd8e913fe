#include "HostedClient.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo_panel {

using namespace SwiftUI;

HostedClient::HostedClient(Report report) : report_(std::move(report)) {
    const NSWindowStyleMask titled = NSWindowStyleMaskTitled | NSWindowStyleMaskClosable;
    window_ = std::make_unique<NSWindow>(CGRect(300, 300, windowWidth, windowHeight), titled,
                                         NSBackingStoreBuffered, false);
    window_->setTitle("Hosted Controls");
    window_->setBackgroundColor(NSColor::colorWithSRGBRed(0.12, 0.13, 0.16, 1));
    window_->setReleasedWhenClosed(false);
    hosting_ = std::make_shared<NSHostingView>([this] { return body(); });
    hosting_->observe(model_);
    window_->setContentView(hosting_);
    // The values are read after the change, on the next turn, once however many changed.
    watch_ = model_.subscribe([this] {
        if (reportScheduled_) return;
        reportScheduled_ = true;
        DispatchQueue::main().async([this] {
            reportScheduled_ = false;
            reportState();
        });
    });
}

HostedClient::~HostedClient() = default;

View HostedClient::body() {
    const std::vector<std::pair<std::string, std::string>> modes{{"Tiles", "tiles"},
                                                                 {"Stack", "stack"}};
    const std::vector<std::pair<std::string, std::string>> shells{{"zsh", "zsh"}, {"fish", "fish"}};
    return VStack(HorizontalAlignment::leading, 14,
                  {Text("Presses: " + std::to_string(model_.presses.get())).font(Font::system(13)),
                   Button("Press", [this] { model_.presses = model_.presses + 1; }),
                   Toggle("Wrap", Binding<bool>::to(model_.on)).labelsHidden(),
                   Slider(Binding<double>::to(model_.level), 0, 100, 1).frame(240, std::nullopt),
                   Picker(Binding<std::string>::to(model_.mode), modes, PickerStyle::segmented)
                       .frame(240, std::nullopt),
                   Picker(Binding<std::string>::to(model_.shell), shells, PickerStyle::menu)})
        .padding(24)
        .frame(FlexibleFrame{
            .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
}

void HostedClient::start() {
    window_->makeKeyAndOrderFront(nullptr);
    report_({{"event", "ready"}, {"window", window_->windowNumber()}});
}

void HostedClient::reportState() const {
    report_({{"event", "state"},
             {"presses", model_.presses.get()},
             {"on", model_.on.get()},
             {"level", model_.level.get()},
             {"mode", model_.mode.get()},
             {"shell", model_.shell.get()}});
}

}  // namespace kelvo_panel
