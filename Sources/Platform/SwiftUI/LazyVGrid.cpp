#include "Platform/SwiftUI/LazyVGrid.h"

#include <algorithm>
#include <cmath>

#include "Platform/SwiftUI/ModifierNode.h"
#include "Platform/SwiftUI/StackLayout.h"

namespace SwiftUI {

namespace {

class GridNode final : public ViewNode {
  public:
    GridNode(std::vector<GridItem> columns, HorizontalAlignment alignment,
             std::optional<CGFloat> spacing, std::vector<View> content)
        : columns_(columns.empty() ? std::vector<GridItem>{GridItem::flexible(0)}
                                   : std::move(columns)),
          alignment_(alignment),
          spacing_(spacingOrDefault(spacing)),
          cells_(flattened(std::move(content))) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const std::vector<CGFloat> widths = columnWidths(proposal.width);
        CGFloat width = gaps();
        for (CGFloat w : widths)
            width += w;
        if (cells_.empty()) width = 0;
        CGFloat height = 0;
        for (CGFloat row : rowHeights(widths, environment))
            height += row;
        if (rows() > 1) height += spacing_ * static_cast<CGFloat>(rows() - 1);
        return {proposal.width.value_or(width), height};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, NodeKind::lazyVGrid, frame, environment);
        const std::vector<CGFloat> widths = columnWidths(frame.size.width);
        const std::vector<CGFloat> heights = rowHeights(widths, environment);
        CGFloat y = frame.origin.y;
        for (std::size_t row = 0; row < heights.size(); ++row) {
            CGFloat x = frame.origin.x;
            for (std::size_t column = 0; column < widths.size(); ++column) {
                const std::size_t index = row * widths.size() + column;
                if (index >= cells_.size()) break;
                const EnvironmentValues inner = cellEnvironment(environment, index);
                const CGSize size =
                    measure(cells_[index], ProposedViewSize{widths[column], std::nullopt}, inner);
                const CGRect cell(x + alignedOffset(alignment_, widths[column], size.width),
                                  y + alignedOffset(columns_[column].alignment.vertical,
                                                    heights[row], size.height),
                                  size.width, size.height);
                placeView(cells_[index], cell, inner, node);
                x += widths[column] + columnSpacing(column);
            }
            y += heights[row] + spacing_;
        }
    }

  private:
    std::size_t rows() const { return (cells_.size() + columns_.size() - 1) / columns_.size(); }
    CGFloat columnSpacing(std::size_t column) const {
        return spacingOrDefault(columns_[column].spacing);
    }
    CGFloat gaps() const {
        CGFloat total = 0;
        for (std::size_t column = 0; column + 1 < columns_.size(); ++column)
            total += columnSpacing(column);
        return total;
    }
    std::vector<CGFloat> columnWidths(std::optional<CGFloat> offered) const {
        std::vector<CGFloat> widths;
        const CGFloat available =
            offered && std::isfinite(*offered) ? std::max(*offered - gaps(), 0.0) : 0;
        const CGFloat share = available / static_cast<CGFloat>(columns_.size());
        for (const GridItem& column : columns_)
            widths.push_back(std::clamp(share, std::max(column.minimum, 0.0),
                                        std::max(column.maximum, std::max(column.minimum, 0.0))));
        return widths;
    }
    std::vector<CGFloat> rowHeights(const std::vector<CGFloat>& widths,
                                    const EnvironmentValues& environment) const {
        std::vector<CGFloat> heights(rows(), 0);
        for (std::size_t index = 0; index < cells_.size(); ++index) {
            const std::size_t column = index % widths.size();
            const CGSize size =
                measure(cells_[index], ProposedViewSize{widths[column], std::nullopt},
                        cellEnvironment(environment, index));
            heights[index / widths.size()] = std::max(heights[index / widths.size()], size.height);
        }
        return heights;
    }
    static EnvironmentValues cellEnvironment(const EnvironmentValues& environment,
                                             std::size_t index) {
        EnvironmentValues inner = environment.child(index);
        inner.stackAxis.reset();
        return inner;
    }

    std::vector<GridItem> columns_;
    HorizontalAlignment alignment_;
    CGFloat spacing_;
    std::vector<View> cells_;
};

}  // namespace

View LazyVGrid(std::vector<GridItem> columns, HorizontalAlignment alignment,
               std::optional<CGFloat> spacing, std::vector<View> content) {
    return View(
        std::make_shared<GridNode>(std::move(columns), alignment, spacing, std::move(content)));
}

}  // namespace SwiftUI
