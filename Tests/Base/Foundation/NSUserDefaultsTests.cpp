#include <gtest/gtest.h>

#include <string>

#include "Base/Foundation/NSUserDefaults.h"

namespace {

TEST(NSUserDefaults, KeepsValuesByKeyUntilRemoved) {
    NSUserDefaults defaults;
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    defaults.setObject(std::string("10 20 300 400"), "NSWindow Frame Main");
    defaults.setObject(3, "count");
    EXPECT_EQ(defaults.stringForKey("NSWindow Frame Main"), "10 20 300 400");
    EXPECT_EQ(defaults.stringForKey("count"), std::nullopt);  // not text
    EXPECT_EQ(std::any_cast<int>(*defaults.objectForKey("count")), 3);
    EXPECT_EQ(defaults.dictionaryRepresentation().size(), 2u);
    defaults.removeObjectForKey("count");
    defaults.removeObjectForKey("never there");
    EXPECT_FALSE(defaults.objectForKey("count").has_value());
    EXPECT_EQ(defaults.dictionaryRepresentation().begin()->first, "NSWindow Frame Main");
}

TEST(NSUserDefaults, TheStandardDefaultsAreOneForTheProcess) {
    EXPECT_EQ(&NSUserDefaults::standardUserDefaults(), &NSUserDefaults::standardUserDefaults());
}

}  // namespace
