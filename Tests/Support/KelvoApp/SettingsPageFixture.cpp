#include "Support/KelvoApp/SettingsPageFixture.h"

#include <stdexcept>

#include "Platform/SwiftUI/LayoutServices.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

/// The page's column as the settings view lays it out: blocks 22 apart, inset 24 across and
/// 22 down.
View column(const View& page) {
    return VStack(HorizontalAlignment::leading, 22, {page})
        .padding(EdgeInsets{22, 24, 22, 24})
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()});
}

bool isCardTitle(const LayoutNode& node) {
    return node.kind == NodeKind::text && node.font == Font::system(10.5, Font::Weight::semibold);
}

void collectOutline(const LayoutNode& node, std::vector<std::string>& outline) {
    if (isCardTitle(node)) outline.push_back(node.text);
    if (!node.identifier.empty() && node.element && node.element->role == "group") {
        outline.push_back(node.identifier);
        return;
    }
    for (const LayoutNode& child : node.children)
        collectOutline(child, outline);
}

/// The text with each run of spaces and line breaks as one space.
std::string singleSpaced(const std::string& text) {
    std::string spaced;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n';
        if (blank && !spaced.empty() && spaced.back() == ' ') continue;
        spaced.push_back(blank ? ' ' : c);
    }
    return spaced;
}

}  // namespace

LaidOutPage::LaidOutPage(std::function<View()> page) : page_(std::move(page)) {
    refresh();
}

void LaidOutPage::refresh() {
    graph_ = std::make_unique<ViewGraph>([page = page_] { return column(page()); });
    install();
    graph_->layout({pageWidth, pageHeight});
}

void LaidOutPage::install() {
    LayoutServices& services = graph_->services();
    services.presentMenu = [this](const std::vector<MenuEntry>& entries, CGRect,
                                  std::function<void(std::size_t)> chosen) {
        menus.push_back(entries);
        if (!pickInMenu) return;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].title == *pickInMenu) return chosen(i);
    };
    services.presentColorPanel = [this](const Color&, std::function<void(const Color&)> picked) {
        if (pickColour) picked(*pickColour);
    };
}

const LayoutNode& LaidOutPage::id(const std::string& identifier) const {
    const LayoutNode* found = tree().findIdentifier(identifier);
    if (!found) throw std::runtime_error("no view " + identifier + "\n" + tree().describe());
    return *found;
}

const LayoutNode& LaidOutPage::role(const LayoutNode& within, const std::string& name) const {
    const LayoutNode* found = within.findRole(name);
    if (!found) throw std::runtime_error("no " + name + "\n" + within.describe());
    return *found;
}

std::vector<std::string> LaidOutPage::outline() const {
    std::vector<std::string> outline;
    collectOutline(tree(), outline);
    return outline;
}

const LayoutNode* LaidOutPage::words(const LayoutNode& within, const std::string& words) {
    return within.find([&](const LayoutNode& node) {
        return node.kind == NodeKind::text && singleSpaced(node.text) == words;
    });
}

std::vector<std::string> LaidOutPage::texts(const LayoutNode& within) {
    std::vector<std::string> texts;
    for (const LayoutNode* node :
         within.findAll([](const LayoutNode& n) { return n.kind == NodeKind::text; }))
        texts.push_back(node->text);
    return texts;
}

bool LaidOutPage::click(const LayoutNode& node) {
    return click(CGPoint{node.frame.midX(), node.frame.midY()});
}

bool LaidOutPage::click(CGPoint point) {
    const bool taken = graph_->click(point);
    refresh();
    return taken;
}

void LaidOutPage::slide(const std::string& row, double fraction) {
    // The knob's centre travels the slider's width less the knob's.
    constexpr CGFloat knob = 16;
    const LayoutNode& slider = role(id(row), "slider");
    click(CGPoint{slider.frame.minX() + knob / 2 + (slider.frame.width() - knob) * fraction,
                  slider.frame.midY()});
}

SettingsPageFixture::SettingsPageFixture() {
    store.onChange = [this](const Config& config) { writes.push_back(config); };
}

void SettingsPageFixture::given(const std::function<void(Config&)>& change) {
    Config next = model.config();
    change(next);
    store.set(next);
    model.setConfig(next);
    writes.clear();
}

}  // namespace kelvo
