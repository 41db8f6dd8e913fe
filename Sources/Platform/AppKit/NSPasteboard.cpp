#include "Platform/AppKit/NSPasteboard.h"

#include "Simulator/SharedConnection.h"

NSPasteboard& NSPasteboard::generalPasteboard() {
    static NSPasteboard general;
    return general;
}

std::int64_t NSPasteboard::clearContents() {
    return sim::SharedConnection::current()->clearPasteboard();
}

bool NSPasteboard::setString(const std::string& string, const NSPasteboardType& type) {
    if (type != NSPasteboardTypeString) return false;
    return sim::SharedConnection::current()->setPasteboardString(string);
}

std::optional<std::string> NSPasteboard::stringForType(const NSPasteboardType& type) const {
    if (type != NSPasteboardTypeString) return std::nullopt;
    return sim::SharedConnection::current()->pasteboardString();
}
