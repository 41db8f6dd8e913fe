#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "KelvoCore/Keys/MouseChord.h"
#include "Support/Base/DecodeText.h"

namespace kelvo {
namespace {

using testing::decodeText;

TEST(KeyCode, LabelsAndTheFallback) {
    const std::pair<std::uint16_t, const char*> rows[] = {
        {0, "A"},       {36, "↩"},        {42, "\\"},       {48, "⇥"},
        {49, "Space"},  {50, "`"},        {51, "⌫"},        {53, "⎋"},
        {71, "Pad ⌧"},  {76, "Pad ↩"},    {117, "⌦"},       {121, "Page down"},
        {123, "←"},     {126, "↑"},       {10, "key 10"},   {52, "key 52"},
        {54, "key 54"}, {127, "key 127"}, {200, "key 200"}, {65535, "key 65535"},
    };
    for (const auto& [code, label] : rows) {
        EXPECT_EQ(KeyCode::label(code), label) << code;
    }
}

TEST(KeyCode, TableHas95AscendingEntriesAndDigitsInDesktopOrder) {
    const auto names = KeyCode::names();
    ASSERT_EQ(names.size(), 95u);
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_LT(names[i - 1].code, names[i].code);
    for (std::size_t n = 1; n <= 9; ++n) {
        EXPECT_EQ(KeyCode::label(KeyCode::digits[n - 1]), std::to_string(n));
    }
    EXPECT_EQ(KeyCode::digits[4], 23);
    EXPECT_EQ(KeyCode::digits[5], 22);
}

TEST(Chord, IsBindable) {
    const std::pair<Chord, bool> rows[] = {
        {Chord{.keyCode = KeyCode::h, .option = true}, true},
        {Chord{.keyCode = KeyCode::h, .control = true, .shift = true}, true},
        {Chord{.keyCode = KeyCode::h, .shift = true}, false},
        {Chord{.keyCode = KeyCode::h, .option = true, .command = true}, false},
        {Chord{.keyCode = KeyCode::h}, false},
    };
    for (const auto& [chord, bindable] : rows) {
        EXPECT_EQ(chord.isBindable(), bindable);
    }
}

TEST(Chord, EqualityAndHashUseAllFiveFields) {
    std::unordered_set<Chord> hashed;
    std::set<std::size_t> hashes;
    for (std::uint16_t code : {0, 4, 65535}) {
        for (int flags = 0; flags < 16; ++flags) {
            const Chord chord{code, bool(flags & 1), bool(flags & 2), bool(flags & 4),
                              bool(flags & 8)};
            hashed.insert(chord);
            hashes.insert(std::hash<Chord>{}(chord));
        }
    }
    EXPECT_EQ(hashed.size(), 48u);
    EXPECT_EQ(hashes.size(), 48u);
}

TEST(Chord, JSONForm) {
    const Chord optionH{.keyCode = 4, .option = true};
    EXPECT_EQ(decodeText<Chord>(R"({"keyCode":4,"option":true})"), optionH);
    EXPECT_EQ(decodeText<Chord>(R"({"keyCode":4,"option":true,"shift":null})"), optionH);
    EXPECT_EQ(encodeJSON(optionH),
              JSONValue::parse(
                  R"({"keyCode":4,"option":true,"control":false,"command":false,"shift":false})"));
    EXPECT_EQ(decodeText<Chord>(encodeJSON(Chord{65535, true, true, true, true}).dump()),
              (Chord{65535, true, true, true, true}));

    const std::pair<const char*, DecodingError::Kind> failures[] = {
        {R"({"option":true})", DecodingError::Kind::keyNotFound},
        {R"({"keyCode":70000})", DecodingError::Kind::dataCorrupted},
        {R"({"keyCode":-1})", DecodingError::Kind::dataCorrupted},
        {R"({"keyCode":"4"})", DecodingError::Kind::typeMismatch},
        {R"({"keyCode":4,"shift":"yes"})", DecodingError::Kind::typeMismatch},
        {R"([4])", DecodingError::Kind::typeMismatch},
    };
    for (const auto& [text, kind] : failures) {
        try {
            decodeText<Chord>(text);
            ADD_FAILURE() << "decoded " << text;
        } catch (const DecodingError& error) {
            EXPECT_EQ(error.kind(), kind) << text;
        }
    }
}

TEST(MouseChord, MatchingCapsAndJSON) {
    const MouseChord toggle = MouseChord::toggleFloat();
    EXPECT_TRUE(toggle.matches(true, true, false, false));
    EXPECT_FALSE(toggle.matches(true, true, true, false));
    EXPECT_FALSE(toggle.matches(true, false, false, false));
    EXPECT_EQ(toggle.caps(), "⌥⇧");
    EXPECT_EQ((MouseChord{true, true, true, true}).caps(), "⌃⌥⇧⌘");
    EXPECT_EQ(MouseChord{}.caps(), "");

    const JSONValue written = encodeJSON(toggle);
    EXPECT_EQ(written,
              JSONValue::parse(R"({"option":true,"shift":true,"control":false,"command":false})"));
    EXPECT_EQ(JSONNode(written).decode<MouseChord>(), toggle);
    for (const char* key : {"option", "shift", "control", "command"}) {
        JSONValue partial = written;
        partial.erase(key);
        EXPECT_THROW(JSONNode(partial).decode<MouseChord>(), DecodingError) << key;
    }
}

}  // namespace
}  // namespace kelvo
