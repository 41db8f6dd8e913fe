#include "Platform/AppKit/NSSavePanel.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/SharedConnection.h"

std::shared_ptr<NSSavePanel> NSSavePanel::savePanel() {
    return std::shared_ptr<NSSavePanel>(new NSSavePanel());
}

std::shared_ptr<NSOpenPanel> NSOpenPanel::openPanel() {
    return std::shared_ptr<NSOpenPanel>(new NSOpenPanel());
}

NSModalResponse NSSavePanel::runModal() {
    return run(std::nullopt);
}

void NSSavePanel::beginSheetModalForWindow(const NSWindow& window,
                                           std::function<void(NSModalResponse)> completion) {
    const NSModalResponse response = run(window.windowNumber());
    if (!completion) return;
    DispatchQueue::main().async(
        [completion = std::move(completion), response] { completion(response); });
}

NSModalResponse NSSavePanel::run(std::optional<long> sheetOf) {
    sim::FilePanelSpec spec;
    spec.title = title;
    spec.nameFieldStringValue = nameFieldStringValue;
    for (const UTType& type : allowedContentTypes)
        spec.allowedContentTypes.push_back(
            sim::ContentType{type.identifier, type.preferredFilenameExtension.value_or("")});
    spec.canCreateDirectories = canCreateDirectories;
    if (const auto* open = dynamic_cast<const NSOpenPanel*>(this)) {
        spec.kind = sim::FilePanelSpec::Kind::open;
        spec.canChooseFiles = open->canChooseFiles;
        spec.canChooseDirectories = open->canChooseDirectories;
        spec.allowsMultipleSelection = open->allowsMultipleSelection;
    }
    if (sheetOf && *sheetOf > 0) spec.sheetOf = static_cast<sim::WindowNumber>(*sheetOf);
    url_ = sim::SharedConnection::current()->runFilePanel(spec);
    return url_ ? NSModalResponseOK : NSModalResponseCancel;
}

std::vector<std::string> NSOpenPanel::URLs() const {
    if (!URL()) return {};
    return {*URL()};
}
