#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// One styled run of a text; what it leaves unset comes from the environment.
struct TextRun {
    std::string text = {};
    std::optional<Font> font = std::nullopt;
    std::optional<Font::Weight> weight = std::nullopt;
    std::optional<Color> color = std::nullopt;
    std::optional<CGFloat> tracking = std::nullopt;
    bool operator==(const TextRun&) const = default;
};

/// Text in the environment's font and colour (or its runs' own), wrapping at words to the
/// width it is offered and taking as many lines as the offered height allows (all of them
/// when no height is offered); cut at the tail with "…" only when its lines run out or its
/// line limit is reached.
class Text : public View {
  public:
    explicit Text(std::string content);
    explicit Text(std::vector<TextRun> runs);
    /// Inline Markdown: "**…**" spans are bold.
    static Text markdown(const std::string& source);

    // Each modifier makes a changed copy; a text that nothing else holds (a temporary, as in
    // `Text("…").font(…)`) is changed where it is.
    Text font(const Font& font) const&;
    Text font(const Font& font) &&;
    Text fontWeight(Font::Weight weight) const&;
    Text fontWeight(Font::Weight weight) &&;
    Text bold() const& { return fontWeight(Font::Weight::bold); }
    Text bold() && { return std::move(*this).fontWeight(Font::Weight::bold); }
    Text foregroundColor(const Color& color) const&;
    Text foregroundColor(const Color& color) &&;
    Text foregroundStyle(const Color& color) const& { return foregroundColor(color); }
    Text foregroundStyle(const Color& color) && { return std::move(*this).foregroundColor(color); }
    Text tracking(CGFloat tracking) const&;
    Text tracking(CGFloat tracking) &&;
    /// The runs of both, this one's first.
    Text operator+(const Text& other) const;

    const std::vector<TextRun>& runs() const;

  private:
    using RunChange = std::function<void(TextRun&)>;
    Text with(const RunChange& change) const&;
    Text with(const RunChange& change) &&;
};

}  // namespace SwiftUI
