#include "Platform/SwiftUI/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

/// Wider than the offer by less than this still fits: what was measured at a width is laid
/// out again at the width it answered.
constexpr CGFloat fitTolerance = 0.01;

NSTextAlignment paragraphAlignment(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::center:
            return NSTextAlignment::center;
        case TextAlignment::trailing:
            return NSTextAlignment::right;
        case TextAlignment::leading:
            return NSTextAlignment::left;
    }
    return NSTextAlignment::left;
}

struct ResolvedText {
    std::string key;
    Font firstFont;
    Color firstColor;
    /// The string in its fonts and colours, made only when the measurer has to set it.
    std::optional<NSAttributedString> string;
    /// The string's settings in the measurer, found by the key once.
    TextMeasurer::Handle settings;
    /// Its lines as long as their text, asked of nearly every question: kept here, so that
    /// the measurer may forget them.
    std::optional<TextLines> natural;
};

/// What a text takes from its environment.
struct TextEnvironment {
    Font font;
    Color color;
    TextAlignment alignment = TextAlignment::leading;
    bool operator==(const TextEnvironment&) const = default;

    static TextEnvironment of(const EnvironmentValues& environment) {
        return {environment.font, environment.resolvedForeground(),
                environment.multilineTextAlignment};
    }
    /// The same as `of(environment) == *this`, without the copy (asked at every question).
    bool isOf(const EnvironmentValues& environment) const {
        return font == environment.font && alignment == environment.multilineTextAlignment &&
               (environment.foregroundColor ? color == *environment.foregroundColor
                                            : color == EnvironmentValues::labelColor());
    }
};

class TextPaint final : public LayoutPaint {
  public:
    TextPaint(std::shared_ptr<const TextLayout> layout, Font font, Color color)
        : layout_(std::move(layout)), font_(font), color_(color) {}

    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        CGContext& context = target.context;
        if (!layout_) return;
        CGTextDrawing drawing;
        drawing.text = node.text;
        drawing.fontName = font_.nsFont()->displayName();
        drawing.pointSize = font_.size;
        drawing.box = CGRect(node.frame.origin, layout_->size());
        drawing.color = color_.value();
        drawing.paint = [layout = layout_](cairo_t* cairo) { layout->paint(cairo); };
        context.drawText(std::move(drawing));
    }

  private:
    std::shared_ptr<const TextLayout> layout_;
    Font font_;
    Color color_;
};

class TextNode final : public ViewNode {
  public:
    /// Its lines are remembered by the measurer, and its natural lines where it is: it answers
    /// at once.
    explicit TextNode(std::vector<TextRun> runs) : runs_(std::move(runs)), blank_(blank(runs_)) {
        sizeAtOnce();
    }

    const std::vector<TextRun>& runs() const { return runs_; }
    /// Changes each run of a text that nothing else holds yet.
    void change(const std::function<void(TextRun&)>& change) {
        for (TextRun& run : runs_)
            change(run);
        blank_ = blank(runs_);
        resolved_.reset();
        forgetAnswers();
    }

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (isBlank()) return {};
        CGSize size = lines(proposal, environment).size;
        // Set a hair wider than offered, so that what fitted still fits: never wider.
        if (proposal.width) size.width = std::min(size.width, *proposal.width);
        return size;
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = NodeKind::text;
        node.frame = frame;
        node.opacity = environment.opacity;
        node.enabled = environment.isEnabled;
        if (isBlank()) return;
        const ResolvedText& resolved = resolve(environment);
        const TextLines& set = lines(ProposedViewSize::of(frame.size), environment);
        node.text = set.shown;
        node.font = resolved.firstFont;
        node.color = resolved.firstColor;
        node.element = AccessibilityElement{"text", set.shown, std::nullopt};
        node.paint =
            std::make_shared<TextPaint>(set.layout, resolved.firstFont, resolved.firstColor);
    }

    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        if (isBlank()) return std::nullopt;
        return lines(ProposedViewSize::of(size), environment).firstBaseline;
    }

  private:
    bool isBlank() const { return blank_; }
    static bool blank(const std::vector<TextRun>& runs) {
        for (const TextRun& run : runs)
            if (!run.text.empty()) return false;
        return true;
    }

    /// The runs in their fonts and colours, made once for each environment the text meets in
    /// a row (a layout asks the same text many questions in the same place).
    ResolvedText& resolve(const EnvironmentValues& environment) const {
        if (resolved_ && resolved_->first.isOf(environment)) [[likely]]
            return resolved_->second;
        return resolveAgain(environment);
    }
    ResolvedText& resolveAgain(const EnvironmentValues& environment) const {
        const TextEnvironment wanted = TextEnvironment::of(environment);
        resolved_.emplace(wanted, resolveIn(wanted));
        return resolved_->second;
    }

    /// The key names the text of each run and what it is drawn in; the string itself waits
    /// until it has to be set.
    ResolvedText resolveIn(const TextEnvironment& environment) const {
        ResolvedText resolved;
        std::size_t length = sizeof environment.alignment;
        for (const TextRun& run : runs_)
            length += run.text.size() + keyBytesPerRun;
        resolved.key.reserve(length);
        bool first = true;
        for (const TextRun& run : runs_) {
            const Font font = runFont(run, environment);
            const Color color = run.color.value_or(environment.color);
            if (first) {
                resolved.firstFont = font;
                resolved.firstColor = color;
                first = false;
            }
            const CGColorValue& c = color.value();
            resolved.key += run.text;
            resolved.key += '\x1f';
            appendBytes(resolved.key, font.size, font.weight, font.design, c.red, c.green, c.blue,
                        c.alpha, run.tracking.value_or(0));
        }
        appendBytes(resolved.key, environment.alignment);
        return resolved;
    }

    static Font runFont(const TextRun& run, const TextEnvironment& environment) {
        Font font = run.font.value_or(environment.font);
        if (run.weight) font.weight = *run.weight;
        return font;
    }

    NSAttributedString attributedString(const TextEnvironment& environment) const {
        NSAttributedString string;
        NSParagraphStyle style;
        style.alignment = paragraphAlignment(environment.alignment);
        style.lineBreakMode = NSLineBreakMode::byWordWrapping;
        bool first = true;
        for (const TextRun& run : runs_) {
            NSTextAttributes attributes;
            attributes.font = runFont(run, environment).nsFont();
            attributes.foregroundColor = run.color.value_or(environment.color).nsColor();
            attributes.tracking = run.tracking;
            if (first) {
                attributes.paragraphStyle = style;
                first = false;
            }
            string.append(NSAttributedString(run.text, attributes));
        }
        return string;
    }

    /// What a run adds to the key besides its text: a separator, its font and its colour.
    static constexpr std::size_t keyBytesPerRun =
        1 + sizeof(CGFloat) + sizeof(Font::Weight) + sizeof(Font::Design) + 5 * sizeof(double);

    /// The key names the values by their bytes: it is only compared, and a layout builds one
    /// for every text it meets, so formatting numbers as text would cost more than the rest.
    template <typename... Values>
    static void appendBytes(std::string& key, const Values&... values) {
        (key.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
    }

    /// The whole lines in a count that is not negative: the part before the point, no more
    /// than an int holds (a truncation, where a general floor would cost a call).
    static int wholeLines(CGFloat count) {
        return static_cast<int>(
            std::min(count, static_cast<CGFloat>(std::numeric_limits<int>::max())));
    }

    /// Lines that the height holds all of stay whole: the lines of a text are not all as high
    /// when a symbol of it comes from another font than the rest.
    static bool fitsInHeight(const TextLines& lines, CGFloat height) {
        return lines.size.height <= height + fitTolerance;
    }

    const TextLines& lines(const ProposedViewSize& proposal,
                           const EnvironmentValues& environment) const {
        ResolvedText& resolved = resolve(environment);
        TextMeasurer& measurer = environment.services ? environment.services->text() : ownMeasurer_;
        auto string = [this, &resolved]() -> const NSAttributedString& {
            if (!resolved.string) resolved.string = attributedString(resolved_->first);
            return *resolved.string;
        };
        if (!resolved.natural)
            resolved.natural = measurer.lines(resolved.key, string, std::nullopt, std::nullopt,
                                              &resolved.settings);
        const TextLines& natural = *resolved.natural;
        std::optional<int> limit = environment.lineLimit;
        const bool fitsWidth = !proposal.width || !std::isfinite(*proposal.width) ||
                               *proposal.width + fitTolerance >= natural.size.width;
        const CGFloat width =
            fitsWidth ? natural.size.width + fitTolerance : *proposal.width + fitTolerance;
        if (proposal.height && std::isfinite(*proposal.height) && natural.lineCount > 0 &&
            !fitsInHeight(
                fitsWidth ? natural
                          : measurer.lines(resolved.key, string, width, limit, &resolved.settings),
                *proposal.height)) {
            // The line of the whole text is as high as its highest font, so that no more lines
            // are kept than fit.
            const CGFloat lineHeight = natural.size.height / natural.lineCount;
            const int fit =
                lineHeight > 0
                    ? std::max(1, wholeLines((*proposal.height + fitTolerance) / lineHeight))
                    : 1;
            limit = std::min(limit.value_or(fit), fit);
        }
        if (fitsWidth && (!limit || natural.lineCount <= *limit)) return natural;
        return measurer.lines(resolved.key, string, width, limit, &resolved.settings);
    }

    std::vector<TextRun> runs_;
    /// No run has any text.
    bool blank_;
    mutable std::optional<std::pair<TextEnvironment, ResolvedText>> resolved_;
    /// For a text laid out without a graph (no services): measures without remembering long.
    mutable TextMeasurer ownMeasurer_;
};

}  // namespace

namespace {

/// A list's initializer would copy the text.
std::vector<TextRun> oneRun(std::string text) {
    std::vector<TextRun> runs;
    runs.push_back(TextRun{std::move(text)});
    return runs;
}

}  // namespace

Text::Text(std::string content) : Text(oneRun(std::move(content))) {}

Text::Text(std::vector<TextRun> runs) {
    node_ = std::make_shared<TextNode>(std::move(runs));
}

const std::vector<TextRun>& Text::runs() const {
    return static_cast<const TextNode&>(node()).runs();
}

Text Text::markdown(const std::string& source) {
    std::vector<TextRun> runs;
    bool bold = false;
    std::string current;
    auto flush = [&] {
        if (current.empty()) return;
        TextRun run{current};
        if (bold) run.weight = Font::Weight::bold;
        runs.push_back(run);
        current.clear();
    };
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "**") == 0) {
            flush();
            bold = !bold;
            ++i;
        } else {
            current += source[i];
        }
    }
    flush();
    return Text(std::move(runs));
}

Text Text::with(const RunChange& change) const& {
    std::vector<TextRun> changed = runs();
    for (TextRun& run : changed)
        change(run);
    return Text(std::move(changed));
}

Text Text::with(const RunChange& change) && {
    if (node_.use_count() != 1) return with(change);
    // Made by this text and held by nothing else, so it may still change.
    const_cast<TextNode&>(static_cast<const TextNode&>(*node_)).change(change);
    return std::move(*this);
}

namespace {

auto settingFont(const Font& font) {
    return [font](TextRun& run) {
        if (!run.font) run.font = font;
    };
}

auto settingWeight(Font::Weight weight) {
    return [weight](TextRun& run) {
        if (!run.weight) run.weight = weight;
    };
}

/// A change runs at once: it reads the colour where it is.
auto settingColor(const Color& color) {
    return [&color](TextRun& run) {
        if (!run.color) run.color = color;
    };
}

auto settingTracking(CGFloat tracking) {
    const CGFloat clean = std::isfinite(tracking) ? tracking : 0;
    return [clean](TextRun& run) {
        if (!run.tracking) run.tracking = clean;
    };
}

}  // namespace

Text Text::font(const Font& font) const& {
    return with(settingFont(font));
}

Text Text::font(const Font& font) && {
    return std::move(*this).with(settingFont(font));
}

Text Text::fontWeight(Font::Weight weight) const& {
    return with(settingWeight(weight));
}

Text Text::fontWeight(Font::Weight weight) && {
    return std::move(*this).with(settingWeight(weight));
}

Text Text::foregroundColor(const Color& color) const& {
    return with(settingColor(color));
}

Text Text::foregroundColor(const Color& color) && {
    return std::move(*this).with(settingColor(color));
}

Text Text::tracking(CGFloat tracking) const& {
    return with(settingTracking(tracking));
}

Text Text::tracking(CGFloat tracking) && {
    return std::move(*this).with(settingTracking(tracking));
}

Text Text::operator+(const Text& other) const {
    std::vector<TextRun> joined = runs();
    joined.insert(joined.end(), other.runs().begin(), other.runs().end());
    return Text(std::move(joined));
}

}  // namespace SwiftUI
