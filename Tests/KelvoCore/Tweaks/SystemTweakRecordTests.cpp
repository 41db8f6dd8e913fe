#include <gtest/gtest.h>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Tweaks/SystemTweakRecord.h"
#include "Support/Base/DecodeText.h"

namespace kelvo {
namespace {

using testing::decodeText;

TEST(PreferenceValue, JSONForms) {
    const std::pair<PreferenceValue, const char*> rows[] = {
        {PreferenceValue::bool_(false), R"({"type":"bool","value":false})"},
        {PreferenceValue::number(0.001), R"({"type":"number","value":0.001})"},
        {PreferenceValue::number(0), R"({"type":"number","value":0})"},
        {PreferenceValue::string("a/b"), R"({"type":"string","value":"a\/b"})"},
        {PreferenceValue::unrepresentable(), R"({"type":"unrepresentable"})"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(JSONWriter::write(encodeJSON(value)), text);
        EXPECT_EQ(decodeText<PreferenceValue>(text), value) << text;
    }
}

TEST(PreferenceValue, Reading) {
    const std::pair<const char*, PreferenceValue> read[] = {
        {R"({})", PreferenceValue::unrepresentable()},
        {R"({"type":"date","value":1})", PreferenceValue::unrepresentable()},
        {R"({"type":null,"value":true})", PreferenceValue::unrepresentable()},
        {R"({"type":"number","value":1})", PreferenceValue::number(1)},
        {R"({"type":"bool","value":true})", PreferenceValue::bool_(true)},
    };
    for (const auto& [text, value] : read) {
        EXPECT_EQ(decodeText<PreferenceValue>(text), value) << text;
    }
    for (const char* bad : {R"({"type":"number"})", R"({"type":"bool","value":1})",
                            R"({"type":"string","value":null})", R"({"type":3})",
                            R"({"type":"number","value":1e999})", R"([])"}) {
        EXPECT_THROW(decodeText<PreferenceValue>(bad), DecodingError) << bad;
    }
    EXPECT_NE(PreferenceValue::number(1), PreferenceValue::bool_(true));
    EXPECT_EQ(PreferenceValue(), PreferenceValue::unrepresentable());
}

TEST(PreferenceOriginal, Reading) {
    EXPECT_EQ(decodeText<PreferenceOriginal>(R"({"value":{"type":"bool","value":true}})"),
              PreferenceOriginal::absent());
    EXPECT_EQ(decodeText<PreferenceOriginal>(R"({"state":"Value","value":7})"),
              PreferenceOriginal::absent());
    EXPECT_EQ(decodeText<PreferenceOriginal>(
                  R"({"state":"value","value":{"type":"string","value":"x"}})"),
              PreferenceOriginal::value(PreferenceValue::string("x")));
    EXPECT_THROW(decodeText<PreferenceOriginal>(R"({"state":"value"})"), DecodingError);
    EXPECT_THROW(decodeText<PreferenceOriginal>(R"({"state":1})"), DecodingError);
    EXPECT_EQ(JSONWriter::write(encodeJSON(PreferenceOriginal::absent())), R"({"state":"absent"})");
}

TEST(SystemTweakRecord, JSONFormAndRequiredKeys) {
    const SystemTweakRecord record{"NSGlobalDomain", "NSAutomaticWindowAnimationsEnabled",
                                   PreferenceOriginal::absent(), PreferenceValue::bool_(false)};
    const std::string text = JSONWriter::write(encodeJSON(record));
    EXPECT_EQ(
        text,
        R"({"applied":{"type":"bool","value":false},"domain":"NSGlobalDomain","key":"NSAutomaticWindowAnimationsEnabled","original":{"state":"absent"}})");
    EXPECT_EQ(decodeText<SystemTweakRecord>(text), record);
    for (const char* key : {"domain", "key", "original", "applied"}) {
        JSONValue partial = encodeJSON(record);
        partial.erase(key);
        EXPECT_THROW(JSONNode(partial).decode<SystemTweakRecord>(), DecodingError) << key;
    }
}

}  // namespace
}  // namespace kelvo
