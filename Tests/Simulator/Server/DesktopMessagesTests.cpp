#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "Base/JSON/JSONWriter.h"
#include "Simulator/Server/DesktopMessages.h"

namespace sim {
namespace {

using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

std::optional<std::uint64_t> unreadableID(const std::string& line) {
    try {
        DesktopMessages::decodeRequest(line);
    } catch (const UnreadableRequest& error) {
        EXPECT_EQ(std::string(error.what()), "unreadable request: " + line);
        return error.id;
    }
    ADD_FAILURE() << "read: " << line;
    return std::nullopt;
}

TEST(DesktopMessages, RequestsAreReadWithOrWithoutAnIdAndArguments) {
    auto request = DesktopMessages::decodeRequest(R"({"args":{"pid":7},"id":3,"op":"activate"})");
    EXPECT_EQ(request.id, 3u);
    EXPECT_EQ(request.op, "activate");
    EXPECT_EQ(request.args, (JSONValue{{"pid", 7}}));
    request = DesktopMessages::decodeRequest(R"({"op":"answerTapEvent","args":null})");
    EXPECT_FALSE(request.id);
    EXPECT_TRUE(request.args.is_object() && request.args.empty());
}

TEST(DesktopMessages, WhatIsNoRequestIsUnreadableWithItsIdWhenOneCanBeRead) {
    EXPECT_EQ(unreadableID("not json"), std::nullopt);
    EXPECT_EQ(unreadableID("[1,2]"), std::nullopt);
    EXPECT_EQ(unreadableID(R"({"id":4})"), 4u);
    EXPECT_EQ(unreadableID(R"({"id":4,"op":5})"), 4u);
    EXPECT_EQ(unreadableID(R"({"id":4,"op":"x","args":[1]})"), 4u);
    // An id that is not an unsigned integer is no id at all.
    EXPECT_EQ(unreadableID(R"({"id":-1,"op":"x"})"), std::nullopt);
    EXPECT_EQ(unreadableID(R"({"id":1.5,"op":"x"})"), std::nullopt);
    EXPECT_EQ(unreadableID(R"({"id":"1","op":"x"})"), std::nullopt);
    EXPECT_EQ(unreadableID(std::string(600, '[')), std::nullopt);
}

TEST(DesktopMessages, RepliesAndFailures) {
    EXPECT_EQ(DesktopMessages::reply(9, {{"pid", 12}}), R"({"id":9,"result":{"pid":12}})");
    EXPECT_EQ(DesktopMessages::failure(9, "unknown op x"), R"({"error":"unknown op x","id":9})");
    EXPECT_EQ(DesktopMessages::failure(std::nullopt, "line too long"),
              R"({"error":"line too long"})");
    EXPECT_THROW(DesktopMessages::reply(1, {{"x", std::numeric_limits<double>::infinity()}}),
                 kelvo::EncodingError);
}

TEST(DesktopMessages, EveryKindOfAttributeValueGoesAndComesBack) {
    const std::vector<AttributeValue> values = {
        std::monostate{},
        true,
        2.5,
        std::string("Title / with slash"),
        CGPoint{10, -20},
        CGSize{800, 600},
        ElementID{77},
        std::vector<ElementID>{ElementID{1}, ElementID{2}},
        std::vector<ElementID>{},
    };
    for (const auto& value : values) {
        const std::string line = JSONWriter::write(kelvo::encodeJSON(value));
        const auto back = JSONNode(JSONNode::parse(line)).decode<AttributeValue>();
        EXPECT_EQ(back, value) << line;
    }
    EXPECT_EQ(JSONWriter::write(kelvo::encodeJSON(AttributeValue{CGSize{3, 4}})),
              R"({"size":{"height":4,"width":3}})");
    EXPECT_THROW(JSONNode(JSONNode::parse(R"({"bool":true,"number":1})")).decode<AttributeValue>(),
                 kelvo::DecodingError);
    EXPECT_THROW(JSONNode(JSONNode::parse(R"({"colour":1})")).decode<AttributeValue>(),
                 kelvo::DecodingError);
}

TEST(DesktopMessages, ErrorCodesOutsideTheAccessibilityRangeAreRefused) {
    EXPECT_EQ(JSONNode(JSONValue(-25202)).decode<AccessError>(), AccessError::invalidElement);
    EXPECT_EQ(JSONNode(JSONValue(0)).decode<AccessError>(), AccessError::success);
    EXPECT_THROW(JSONNode(JSONValue(-1)).decode<AccessError>(), kelvo::DecodingError);
    EXPECT_THROW(JSONNode(JSONValue(-25213)).decode<AccessError>(), kelvo::DecodingError);
}

TEST(DesktopMessages, EveryEventGoesAndComesBack) {
    InputEvent key{inputKeyDown, 18, 0x80000, CGPoint{5, 6}, false, std::nullopt, {}};
    InputEvent posted{inputLeftMouseDown, 0, 0, CGPoint{1, 2}, false, Pid{42}, {}};
    InputEvent typed{inputKeyDown, 0, 0, CGPoint{}, false, std::nullopt, "é"};
    const std::vector<DesktopEvent> events = {
        ObserverNotification{3, ElementID{99}, "AXWindowMoved"},
        WorkspaceNotification{WorkspaceNotification::Kind::terminated, 70001},
        WorkspaceNotification{WorkspaceNotification::Kind::unhidden, 1},
        ScreenParametersChanged{},
        TapEventDelivery{5, 11, key},
        TapEventDelivery{5, 0, posted},
        TerminateRequested{},
        OwnWindowInput{101, typed},
        StatusItemInput{7, posted},
        CloseButtonPressed{102},
        KeyStatusLost{103},
        MouseButtonsChanged{3},
    };
    for (const auto& event : events) {
        const auto line = JSONNode::parse(DesktopMessages::event(event));
        const auto back =
            DesktopMessages::decodeEvent(line["event"].get<std::string>(), line["body"]);
        ASSERT_TRUE(back) << line.dump();
        EXPECT_EQ(*back, event) << line.dump();
    }
    EXPECT_EQ(DesktopMessages::event(TapEventDelivery{5, 11, key}),
              R"({"body":{"delivery":11,"event":{"autorepeat":false,"flags":524288,"keyCode":18,)"
              R"("location":{"x":5,"y":6},"type":10},"tap":5},"event":"tap"})");
    EXPECT_FALSE(DesktopMessages::decodeEvent("weather", JSONValue::object()));
    EXPECT_FALSE(DesktopMessages::decodeEvent("workspace", {{"kind", "exploded"}, {"pid", 1}}));
    EXPECT_FALSE(DesktopMessages::decodeEvent("observer", {{"observer", "x"}}));
}

TEST(DesktopMessages, WindowSpecsTakeTheirDefaultsForWhatIsLeftOut) {
    const auto spec = JSONNode(JSONNode::parse(R"({"title":"T","answer":{"refusesSize":true}})"))
                          .decode<WindowSpec>();
    WindowSpec expected;
    expected.title = "T";
    expected.answer.refusesSize = true;
    EXPECT_EQ(spec.title, expected.title);
    EXPECT_EQ(spec.frame, expected.frame);
    EXPECT_EQ(spec.answer, expected.answer);
    EXPECT_EQ(spec.listedInAXWindows, true);
    EXPECT_FALSE(spec.number);
    // Written and read again, a full spec is the same.
    WindowSpec full;
    full.number = 300;
    full.minimumSize = CGSize{10, 20};
    full.subrole = "";
    const auto again = JSONNode(kelvo::encodeJSON(full)).decode<WindowSpec>();
    EXPECT_EQ(again.number, full.number);
    EXPECT_EQ(again.minimumSize, full.minimumSize);
    EXPECT_EQ(again.subrole, "");
}

TEST(DesktopMessages, EveryKindOfPreferenceGoesAndComesBack) {
    const std::vector<PreferenceData> values = {
        PreferenceData::makeBoolean(false),
        PreferenceData::makeInteger(-3),
        PreferenceData::makeReal(0.001),
        PreferenceData::makeString("bottom / left"),
        PreferenceData::makeDate(700000000.25),
        PreferenceData::makeData(std::string("\0\x7f\xff", 3)),
        PreferenceData::makeArray({PreferenceData::makeInteger(1), PreferenceData::makeArray({})}),
        PreferenceData::makeDictionary(
            {{"b", PreferenceData::makeBoolean(true)}, {"a", PreferenceData::makeData("")}}),
    };
    for (const auto& value : values) {
        const std::string line = JSONWriter::write(kelvo::encodeJSON(value));
        EXPECT_EQ(JSONNode(JSONNode::parse(line)).decode<PreferenceData>(), value) << line;
    }
    EXPECT_EQ(JSONWriter::write(kelvo::encodeJSON(values[5])), R"({"data":"007fff"})");
    EXPECT_EQ(JSONWriter::write(kelvo::encodeJSON(values[1])), R"({"integer":-3})");
    for (const char* bad :
         {R"({})", R"({"bool":true,"integer":1})", R"({"colour":1})", R"({"data":"0"})",
          R"({"data":"zz"})", R"({"data":"0A"})", R"({"integer":1.5})", R"({"array":[{}]})"}) {
        EXPECT_THROW(JSONNode(JSONNode::parse(bad)).decode<PreferenceData>(), kelvo::DecodingError)
            << bad;
    }
}

TEST(DesktopMessages, ApplicationsCarryTheirBundlesInformationStrings) {
    ApplicationSpec spec;
    spec.bundlePath = "/Applications/Kelvo.app";
    spec.infoDictionary = {{"CFBundleVersion", "812"}};
    EXPECT_EQ(JSONNode(kelvo::encodeJSON(spec)).decode<ApplicationSpec>().infoDictionary,
              spec.infoDictionary);
    ApplicationInfo info;
    info.name = "Kelvo";
    info.infoDictionary = {{"CFBundleShortVersionString", "1.4.2"}};
    EXPECT_EQ(JSONNode(kelvo::encodeJSON(info)).decode<ApplicationInfo>(), info);
    // Without strings the member is left out, and reading it back gives none.
    info.infoDictionary.clear();
    EXPECT_FALSE(kelvo::encodeJSON(info).contains("infoDictionary"));
    EXPECT_EQ(JSONNode(kelvo::encodeJSON(info)).decode<ApplicationInfo>(), info);
}

}  // namespace
}  // namespace sim

namespace sim {
namespace {

using kelvo::JSONNode;

TEST(DesktopMessages, AWindowsContentGoesAndComesBackWithItsPixels) {
    const std::vector<std::uint32_t> pixels = {0xFF000000, 0xFF000000, 0xFF000000,
                                               0x80FFFFFF, 0x00000000, 0x12345678};
    OwnWindowContent content{
        7,
        WindowPicture::pack(pixels.data(), 3, 2, 3),
        {InterfaceElement{"textField", "Query", "fire", "query", CGRect(1, 2, 3, 4), true, true,
                          "Type a name"}},
        {MenuItemRecord{"Quit Kelvo   ⌘Q", true, false, 1, CGRect(0, 5, 80, 22), "Quit Kelvo"}}};
    const std::string line = kelvo::JSONWriter::write(kelvo::encodeJSON(content));
    EXPECT_EQ(line.find('/'), std::string::npos) << "nothing for the writer to escape";
    EXPECT_EQ(JSONNode(JSONNode::parse(line)).decode<OwnWindowContent>(), content);

    // Text that is not the URL-safe alphabet is no picture.
    auto broken = kelvo::encodeJSON(content);
    broken["drawing"]["packed"] = "ab/c";
    EXPECT_THROW(JSONNode(broken).decode<OwnWindowContent>(), kelvo::DecodingError);
}

/// A drawing request as the client writes it, around that content.
std::string drawingLine(const OwnWindowContent& content) {
    return kelvo::JSONWriter::write(
        kelvo::JSONValue{{"args", kelvo::encodeJSON(content)}, {"op", "drawOwnWindow"}});
}

TEST(DesktopMessages, ADrawingsPictureIsReadBackWhateverItsLengthAndTheRestWithIt) {
    // Every remainder of the bytes over three, so that every ending of the text is read.
    for (std::uint32_t width = 1; width <= 4; ++width) {
        std::vector<std::uint32_t> pixels;
        for (std::uint32_t i = 0; i < width * 3; ++i)
            pixels.push_back(0x01020304u * (i + 1));
        const OwnWindowContent content{
            9,
            WindowPicture::pack(pixels.data(), width, 3, width),
            {InterfaceElement{"button", "OK", std::nullopt, "ok", CGRect(1, 2, 3, 4), true, false,
                              std::nullopt}},
            {}};
        const DesktopRequest request = DesktopMessages::decodeRequest(drawingLine(content));
        EXPECT_EQ(request.op, "drawOwnWindow");
        EXPECT_EQ(JSONNode(request.args).decode<OwnWindowContent>(), content) << width;
        EXPECT_EQ(JSONNode(request.args).decode<OwnWindowContent>().drawing.unpack(), pixels);
    }
}

TEST(DesktopMessages, ADrawingWrittenOtherwiseIsReadAsAnyLine) {
    const std::vector<std::uint32_t> pixels = {0xFF000000, 0x12345678};
    const OwnWindowContent content{4, WindowPicture::pack(pixels.data(), 2, 1, 2), {}, {}};
    const std::string text = kelvo::encodeJSON(content.drawing)["packed"].get<std::string>();
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(text[0]));
    const std::string rest =
        R"(","width":2},"elements":[],"menu":[],"number":4},"op":"drawOwnWindow"})";
    // Spaces, and an escaped character of the alphabet, are no shape the writer gives.
    for (const std::string& line : {R"({"args":{"drawing":{ "height":1,"packed":")" + text + rest,
                                    std::string(R"({"args":{"drawing":{"height":1,"packed":")") +
                                        escaped + text.substr(1) + rest}) {
        const DesktopRequest request = DesktopMessages::decodeRequest(line);
        EXPECT_EQ(JSONNode(request.args).decode<OwnWindowContent>(), content) << line;
    }
    // A text that never ends is no request.
    EXPECT_THROW(DesktopMessages::decodeRequest(R"({"args":{"drawing":{"height":1,"packed":"AAAA)"),
                 UnreadableRequest);
}

}  // namespace
}  // namespace sim
