#include <gtest/gtest.h>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSTextField.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

/// A field as the launcher makes its query field: 20-point white text on nothing, a dim
/// placeholder, one line cut at the tail.
class TextFieldDrawingTest : public DesktopFixture {
  protected:
    TextFieldDrawingTest() {
        field->setFrame(CGRect(0, 0, 200, 30));
        field->setBordered(false);
        field->setDrawsBackground(false);
        field->setFont(NSFont::systemFontOfSize(20));
        field->setTextColor(NSColor::whiteColor());
        field->setUsesSingleLineMode(true);
        field->setLineBreakMode(NSLineBreakMode::byTruncatingTail);
        NSTextAttributes placeholder;
        placeholder.font = NSFont::systemFontOfSize(20);
        placeholder.foregroundColor = NSColor::colorWithWhite(1, 0.45);
        field->setPlaceholderAttributedString(
            NSAttributedString("Open or switch to…", placeholder));
    }

    std::vector<CGDrawOperation> draw() {
        CGRecordingContext context(CGSize{200, 30});
        NSGraphicsContext graphics(context, false);
        NSGraphicsContextScope scope(graphics);
        field->drawRect(CGRect(0, 0, 200, 30));
        return context.operations();
    }
    static std::vector<CGDrawOperation> of(const std::vector<CGDrawOperation>& all,
                                           CGDrawOperationKind kind) {
        std::vector<CGDrawOperation> some;
        for (const auto& operation : all)
            if (operation.kind == kind) some.push_back(operation);
        return some;
    }

    std::shared_ptr<NSTextField> field = NSTextField::textFieldWithString("");
};

TEST_F(TextFieldDrawingTest, AnEmptyFieldShowsItsPlaceholderAndNothingElse) {
    field->setFrame(CGRect(0, 0, 400, 30));
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 1u);
    ASSERT_TRUE(drawn[0].text);
    EXPECT_EQ(drawn[0].text->text, "Open or switch to…");
    EXPECT_DOUBLE_EQ(drawn[0].text->color.alpha, 0.45);
    EXPECT_DOUBLE_EQ(drawn[0].text->pointSize, 20);
    // Narrower than the placeholder: it keeps to one line, cut at the tail.
    field->setFrame(CGRect(0, 0, 120, 30));
    EXPECT_EQ(draw()[0].text->text.find('\n'), std::string::npos);
    EXPECT_TRUE(draw()[0].text->text.ends_with("…"));
}

TEST_F(TextFieldDrawingTest, ALongTextIsCutAtTheTailUntilItIsEdited) {
    field->setStringValue("Visual Studio Code Insiders Preview Edition");
    auto texts = of(draw(), CGDrawOperationKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].text->text.ends_with("…"));
    EXPECT_EQ(texts[0].text->color.alpha, 1);
    EXPECT_LE(texts[0].text->box.width(), 196);

    // Editing shows the whole line, scrolled left so that the caret at its end stays in view.
    field->becomeFirstResponder();
    field->currentEditor()->setSelectedRange(NSRange{44, 0});
    const auto drawn = draw();
    texts = of(drawn, CGDrawOperationKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text->text, "Visual Studio Code Insiders Preview Edition");
    EXPECT_LT(texts[0].text->box.minX(), 0);
    const auto fills = of(drawn, CGDrawOperationKind::fillPath);
    ASSERT_EQ(fills.size(), 1u);  // the caret
    const CGRect caret = fills[0].path.boundingBox();
    EXPECT_DOUBLE_EQ(caret.width(), 1);
    EXPECT_NEAR(caret.maxX(), 198, 0.5);
    EXPECT_NEAR(texts[0].text->box.maxX(), caret.minX(), 0.5);
}

TEST_F(TextFieldDrawingTest, TheSelectionIsDrawnBehindTheTextAndHidesTheCaret) {
    field->setStringValue("Safari");
    field->becomeFirstResponder();  // selects all
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, CGDrawOperationKind::fillPath);
    const CGRect selection = drawn[0].path.boundingBox();
    EXPECT_DOUBLE_EQ(selection.minX(), 2);
    EXPECT_NEAR(selection.width(), drawn[1].text->box.width(), 0.5);
    EXPECT_EQ(drawn[1].kind, CGDrawOperationKind::text);
}

TEST_F(TextFieldDrawingTest, ColoursNobodySetFollowTheAppearance) {
    field->setTextColor(nullptr);
    field->setStringValue("x");
    field->becomeFirstResponder();
    field->currentEditor()->setSelectedRange(NSRange{1, 0});
    auto caretOf = [&] { return of(draw(), CGDrawOperationKind::fillPath).back().color; };
    EXPECT_EQ(caretOf().red, 0);
    field->setAppearance(NSAppearance::appearanceNamed(NSAppearanceNameDarkAqua));
    EXPECT_EQ(caretOf().red, 1);
    EXPECT_EQ(of(draw(), CGDrawOperationKind::text)[0].text->color.red, 1);
    // The launcher's white caret is kept whatever the appearance.
    field->setAppearance(nullptr);
    field->currentEditor()->setInsertionPointColor(NSColor::whiteColor());
    EXPECT_EQ(caretOf().red, 1);
    EXPECT_EQ(NSAppearance::appearanceNamed("NSAppearanceNameVibrantLight"), nullptr);
}

TEST_F(TextFieldDrawingTest, ABorderedFieldWithABackgroundDrawsBoth) {
    field->setBordered(true);
    field->setDrawsBackground(true);
    field->setPlaceholderAttributedString(std::nullopt);
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, CGDrawOperationKind::fillPath);
    EXPECT_EQ(drawn[0].color.red, 1);  // the light look's white
    EXPECT_EQ(drawn[1].kind, CGDrawOperationKind::strokePath);
}

}  // namespace
}  // namespace kelvo
