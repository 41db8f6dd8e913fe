#include "KelvoCore/Wire/FixtureQuirk.h"

namespace kelvo {

std::string rawValue(FixtureQuirk quirk) {
    switch (quirk) {
        case FixtureQuirk::plain:
            return "plain";
        case FixtureQuirk::refusesPosition:
            return "refusesPosition";
        case FixtureQuirk::clampsSize:
            return "clampsSize";
        case FixtureQuirk::nonResizable:
            return "nonResizable";
        case FixtureQuirk::selfMinimizes:
            return "selfMinimizes";
        case FixtureQuirk::selfHides:
            return "selfHides";
        case FixtureQuirk::fixedAspect:
            return "fixedAspect";
        case FixtureQuirk::absentFromAXWindows:
            return "absentFromAXWindows";
    }
    return "plain";
}

std::optional<FixtureQuirk> fixtureQuirkFromRawValue(const std::string& raw) {
    return caseWithRawValue<FixtureQuirk>(fixture_quirk::allCases, raw,
                                          [](FixtureQuirk q) { return rawValue(q); });
}

JSONValue JSONCoding<FixtureQuirk>::encode(FixtureQuirk quirk) {
    return rawValue(quirk);
}

FixtureQuirk JSONCoding<FixtureQuirk>::decode(const JSONNode& node) {
    return decodeRawValue<FixtureQuirk>(node, fixtureQuirkFromRawValue, "FixtureQuirk");
}

}  // namespace kelvo
