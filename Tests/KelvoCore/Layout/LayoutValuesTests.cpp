#include <gtest/gtest.h>

#include "Support/Base/DecodeText.h"

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Layout/DesktopLayoutModes.h"
#include "KelvoCore/Layout/Gaps.h"
#include "KelvoCore/Layout/LayoutMode.h"

namespace kelvo {
namespace {

using testing::decodeText;

TEST(Gaps, InsetsEdgesOnTheContainerByOuterAndOthersByHalfInner) {
    const CGRect container(0, 0, 1000, 800);
    const std::map<WindowID, CGRect> frames = {{WindowID(1), CGRect(0, 0, 500, 800)},
                                               {WindowID(2), CGRect(500, 0, 500, 800)}};
    EXPECT_EQ(Gaps::none().apply(frames, container), frames);
    auto gapped = Gaps{10, 20}.apply(frames, container);
    EXPECT_EQ(gapped.at(WindowID(1)), CGRect(20, 20, 475, 760));
    EXPECT_EQ(gapped.at(WindowID(2)), CGRect(505, 20, 475, 760));

    auto outerOnly = Gaps{0, 10}.apply(frames, container);
    EXPECT_EQ(outerOnly.at(WindowID(1)), CGRect(10, 10, 490, 780));

    auto edge = Gaps{10, 20}.apply(
        {{WindowID(1), CGRect(0.5, 100, 100, 100)}, {WindowID(2), CGRect(0.6, 100, 100, 100)}},
        container);
    EXPECT_DOUBLE_EQ(edge.at(WindowID(1)).minX(), 20.5);
    EXPECT_DOUBLE_EQ(edge.at(WindowID(2)).minX(), 5.6);

    auto tiny = Gaps{10, 60}.apply({{WindowID(1), CGRect(0, 0, 50, 800)}}, container);
    EXPECT_LT(tiny.at(WindowID(1)).size.width, 0);
}

TEST(Gaps, JSONNeedsBothNumbers) {
    EXPECT_EQ(decodeText<Gaps>(R"({"inner":8,"outer":4.5})"), (Gaps{8, 4.5}));
    EXPECT_EQ(JSONWriter::write(encodeJSON(Gaps{8, 4.5})), R"({"inner":8,"outer":4.5})");
    EXPECT_THROW(decodeText<Gaps>(R"({"inner":8})"), DecodingError);
    EXPECT_THROW(decodeText<Gaps>(R"({"inner":8,"outer":"4"})"), DecodingError);
}

TEST(LayoutMode, RawValuesTitlesAndOther) {
    EXPECT_EQ(layoutModeFromRawValue("bsp"), LayoutMode::bsp);
    EXPECT_EQ(layoutModeFromRawValue("masterStack"), LayoutMode::masterStack);
    EXPECT_FALSE(layoutModeFromRawValue("Split"));
    EXPECT_FALSE(layoutModeFromRawValue("BSP"));
    EXPECT_EQ(title(LayoutMode::bsp), "Split");
    EXPECT_EQ(title(LayoutMode::masterStack), "Master & stack");
    EXPECT_EQ(other(LayoutMode::bsp), LayoutMode::masterStack);
    EXPECT_EQ(other(LayoutMode::masterStack), LayoutMode::bsp);
    EXPECT_EQ(decodeText<LayoutMode>(R"("masterStack")"), LayoutMode::masterStack);
    try {
        decodeText<LayoutMode>(R"("grid")");
        ADD_FAILURE();
    } catch (const DecodingError& e) {
        EXPECT_EQ(e.kind(), DecodingError::Kind::dataCorrupted);
    }
}

TEST(DesktopLayoutModes, ReadingDropsDamageEntryByEntry) {
    auto modes = decodeText<DesktopLayoutModes>(
        R"({"1":"masterStack","x":"bsp","10":"bsp","0":"bsp","2":"grid","3":5,"+4":"bsp"})");
    EXPECT_EQ(modes.modes,
              (std::map<int, LayoutMode>{{1, LayoutMode::masterStack}, {4, LayoutMode::bsp}}));
    for (const char* empty : {"[]", R"("bsp")", "{}", "null", "7"}) {
        EXPECT_TRUE(decodeText<DesktopLayoutModes>(empty).isEmpty()) << empty;
    }
    // The later of two keys naming one desktop wins.
    EXPECT_EQ(decodeText<DesktopLayoutModes>(R"({"1":"bsp","01":"masterStack"})")[1],
              LayoutMode::masterStack);
    EXPECT_EQ(decodeText<DesktopLayoutModes>(R"({"01":"masterStack","1":"bsp"})")[1],
              LayoutMode::bsp);
}

TEST(DesktopLayoutModes, KeysAreASignAndDigitsOnly) {
    const std::pair<const char*, std::optional<int>> keys[] = {
        {"1", 1},
        {"+4", 4},
        {"-3", -3},
        {"007", 7},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1x", std::nullopt},
        {"0x1", std::nullopt},
        {"1.0", std::nullopt},
        {"+-1", std::nullopt},
        {"１", std::nullopt},
        {"99999999999", std::nullopt},
        {"-2147483648", -2147483648},
        {"2147483648", std::nullopt},
    };
    for (const auto& [key, expected] : keys) {
        EXPECT_EQ(DesktopLayoutModes::parseDesktopKey(key), expected) << '"' << key << '"';
    }
}

TEST(DesktopLayoutModes, WritingAndSubscript) {
    DesktopLayoutModes modes;
    EXPECT_EQ(JSONWriter::write(encodeJSON(modes)), "{}");
    modes.set(4, LayoutMode::bsp);
    modes.set(1, LayoutMode::masterStack);
    EXPECT_EQ(JSONWriter::write(encodeJSON(modes)), R"({"1":"masterStack","4":"bsp"})");
    modes.set(3, LayoutMode::bsp);
    EXPECT_EQ(modes.desktops(), (std::vector<int>{1, 3, 4}));
    modes.set(3, std::nullopt);
    modes.set(8, std::nullopt);
    EXPECT_EQ(modes.desktops(), (std::vector<int>{1, 4}));
    modes.set(42, LayoutMode::bsp);  // the subscript stores any number
    EXPECT_EQ(modes[42], LayoutMode::bsp);
    EXPECT_FALSE(modes[2]);
}

}  // namespace
}  // namespace kelvo
