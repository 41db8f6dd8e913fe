#include "KelvoApp/Settings/SettingsTransfer.h"

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/ConfigTransfer.h"
#include "KelvoCore/Config/NothingChanged.h"
#include "Platform/AppKit/NSSavePanel.h"
#include "Platform/AppKit/NSWindow.h"

namespace kelvo {

void SettingsTransfer::notify(std::string text, bool failed) {
    model_.transferNotice = SettingsModel::TransferNotice{std::move(text), failed};
}

void SettingsTransfer::present(
    const std::shared_ptr<NSSavePanel>& panel,
    std::function<void(SettingsTransfer&, const std::filesystem::path&)> chosen) {
    auto completion = [panel, chosen = std::move(chosen),
                       alive = std::weak_ptr<SettingsTransfer*>(alive_)](NSModalResponse response) {
        const auto transfer = alive.lock();
        if (!transfer || response != NSModalResponseOK || !panel->URL()) return;
        chosen(**transfer, std::filesystem::path(*panel->URL()));
    };
    if (const auto window = model_.window.lock()) {
        panel->beginSheetModalForWindow(*window, std::move(completion));
    } else {
        completion(panel->runModal());
    }
}

void SettingsTransfer::exportSettings() {
    auto panel = NSSavePanel::savePanel();
    panel->title = exportTitle;
    panel->nameFieldStringValue = proposedName;
    panel->allowedContentTypes = {UTType::json()};
    panel->canCreateDirectories = true;
    present(panel, [](SettingsTransfer& transfer, const std::filesystem::path& url) {
        transfer.write(url);
    });
}

void SettingsTransfer::write(const std::filesystem::path& url) {
    const std::string name = url.filename().string();
    // The settings file leaves out the records that undo the system tweaks; written over the
    // configuration it would lose them for good if Kelvo ended before its next save.
    if (isSameFile(url, model_.configURL)) {
        notify("Could not write " + name + ": it is the settings file Kelvo is using.", true);
        return;
    }
    try {
        writeAtomically(url, ConfigTransfer::exportSettings(model_.config()));
        notify("Settings written to " + name + ".", false);
    } catch (const std::exception& error) {
        notify("Could not write " + name + ": " + error.what(), true);
    }
}

void SettingsTransfer::importSettings() {
    auto panel = NSOpenPanel::openPanel();
    panel->title = importTitle;
    panel->allowedContentTypes = {UTType::json()};
    panel->allowsMultipleSelection = false;
    panel->canChooseDirectories = false;
    present(panel, [](SettingsTransfer& transfer, const std::filesystem::path& url) {
        transfer.read(url);
    });
}

void SettingsTransfer::read(const std::filesystem::path& url) {
    const std::string name = url.filename().string();
    std::string bytes;
    try {
        bytes = readFile(url, largestImport);
    } catch (const FileError& error) {
        const std::string reason =
            error.code() == FileError::Code::tooLarge ? tooLargeReason : error.what();
        notify(NothingChanged::after("Could not read " + name + ": " + reason), true);
        return;
    }
    try {
        Config imported = ConfigTransfer::importSettings(bytes, model_.config());
        model_.setConfig(std::move(imported));
        notify("Settings replaced with " + name + ". Your system tweaks were left as they are.",
               false);
    } catch (const ConfigTransfer::Failure& failure) {
        notify(failure.message(), true);
    }
}

void SettingsTransfer::restoreDefaults() {
    model_.setConfig(ConfigTransfer::defaults(model_.config()));
    notify(restoredNotice, false);
}

}  // namespace kelvo
