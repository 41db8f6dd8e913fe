#include <gtest/gtest.h>

#include <cmath>

#include "KelvoCore/Brand/Brand.h"
#include "KelvoCore/Color/HexColor.h"

namespace kelvo {
namespace {

TEST(HexColor, ReadsSixDigitsWithOrWithoutHash) {
    const HexColor coral{1, 122 / 255.0, 96 / 255.0};
    const std::pair<const char*, std::optional<HexColor>> rows[] = {
        {"  #ff7a60\n", coral},           {"ff7a60", coral},          {"#FF7A60", coral},
        {"\t\u00a0#Ff7A60\u2028", coral},  // Unicode spaces and line breaks are trimmed too
        {"#000000", HexColor{0, 0, 0}},   {"#ff7a6", std::nullopt},   {"#ff7a600", std::nullopt},
        {"#ff7g60", std::nullopt},        {"##ff7a60", std::nullopt}, {"# ff7a60", std::nullopt},
        {"0xff7a6", std::nullopt},        {"+ff7a6", std::nullopt},   {"", std::nullopt},
        {"#ÿÿÿ", std::nullopt},
    };
    for (const auto& [text, colour] : rows) {
        EXPECT_EQ(HexColor::hex(text), colour) << text;
    }
    EXPECT_EQ(HexColor::parse(""), HexColor::white());
    EXPECT_EQ(HexColor::parse("ff7a60"), coral);
}

TEST(HexColor, WritesUpperCaseWithChannelsLimited) {
    EXPECT_EQ((HexColor{1, 0.5, 0}).hexString(), "#FF8000");
    EXPECT_EQ((HexColor{2, -1, std::nan("")}).hexString(), "#FF0000");
    EXPECT_EQ((HexColor{INFINITY, -INFINITY, 1.0 / 255}).hexString(), "#FF0001");
    EXPECT_EQ(HexColor::parse("#0a0E1a").hexString(), "#0A0E1A");
}

TEST(Brand, CoralAndAccent) {
    EXPECT_EQ(Brand::coralHex(), "#FF7A60");
    EXPECT_EQ(Brand::components(0x22D3EE), Brand::accent());
    EXPECT_EQ(Brand::accent(), (HexColor{34 / 255.0, 211 / 255.0, 238 / 255.0}));
    EXPECT_EQ(Brand::coral(), HexColor::hex(Brand::coralHex()));
}

}  // namespace
}  // namespace kelvo
