#include <gtest/gtest.h>

#include "LayerCheck.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"

namespace {

using kelvo_layers::Layer;
using kelvo_layers::LayerCheck;

/// A small tree of three floors: Base below Core below App.
class LayerCheckTest : public ::testing::Test {
  protected:
    void write(const std::string& relative, const std::string& text) {
        kelvo::testing::writeText(folder / relative, text);
    }

    std::vector<std::string> check(std::vector<Layer> layers = floors()) {
        return LayerCheck(folder.path(), std::move(layers)).run();
    }

    static std::vector<Layer> floors() {
        return {{"Base", "Base", {}}, {"Core", "Core", {"Base"}}, {"App", "App", {"Core"}}};
    }

    void SetUp() override {
        write("Base/Text.h", "#pragma once\n");
        write("Core/Model.h", "#include \"Base/Text.h\"\n");
        write("Core/Model.cpp", "#include \"Core/Model.h\"\n#include <vector>\n");
        write("App/main.cpp", "#include \"Core/Model.h\"\n#include \"Base/Text.h\"\n");
    }

    kelvo::testing::TemporaryFolder folder;
};

TEST_F(LayerCheckTest, ATreeThatKeepsItsFloorsPasses) {
    EXPECT_EQ(check(), std::vector<std::string>());
}

TEST_F(LayerCheckTest, AnUpwardIncludeIsABreach) {
    write("Base/Text.cpp", "#include \"Base/Text.h\"\n#include \"App/main.cpp\"\n");
    EXPECT_EQ(check(), std::vector<std::string>{
                           "Base/Text.cpp includes App/main.cpp, but Base does not use App"});
}

TEST_F(LayerCheckTest, AnIncludeBesideTheFileIsResolvedThere) {
    write("Base/Other.h", "#include \"Text.h\"\n");
    write("Base/Text.cpp", "#include \"../App/main.cpp\"\n");
    EXPECT_EQ(check(), std::vector<std::string>{
                           "Base/Text.cpp includes App/main.cpp, but Base does not use App"});
}

TEST_F(LayerCheckTest, FilesOfOneFolderIncludingEachOtherAreABreach) {
    write("Core/A.h", "#include \"Core/B.h\"\n");
    write("Core/B.h", "#include \"Core/C.h\"\n");
    write("Core/C.h", "#include \"Core/A.h\"\n");
    // A source including a header that includes the source's own header closes no circle.
    write("Core/D.h", "#include \"Core/E.h\"\n");
    write("Core/E.cpp", "#include \"Core/D.h\"\n");
    EXPECT_EQ(check(), (std::vector<std::string>{
                           "Core/A.h includes itself through other files of its folder",
                           "Core/B.h includes itself through other files of its folder",
                           "Core/C.h includes itself through other files of its folder"}));
}

TEST_F(LayerCheckTest, TargetsInACircleAndFoldersOutsideTheBuildAreBreaches) {
    write("Stray/X.h", "#include \"Base/Text.h\"\n");
    auto layers = floors();
    layers[0].uses = {"App"};
    const auto breaches = check(layers);
    EXPECT_EQ(breaches.front(), "the target Base uses itself through a circle");
    EXPECT_NE(std::find(breaches.begin(), breaches.end(),
                        "Stray/X.h lies in a folder that is no target of the build"),
              breaches.end());
}

TEST_F(LayerCheckTest, AClassDeclaredAheadThatAFloorAboveDefinesIsABreach) {
    write("App/Window.h", "namespace app {\nclass Window final : public Base {};\n}\n");
    write("Core/Model.h",
          "#include \"Base/Text.h\"\n\nnamespace app {\n// class Hidden;\nclass Window;\n}\n");
    write("Base/Text.cpp", "namespace app { struct Window; }\n");
    EXPECT_EQ(check(), (std::vector<std::string>{
                           "Base/Text.cpp:1 declares app::Window ahead, which App defines, but "
                           "Base does not use App",
                           "Core/Model.h:5 declares app::Window ahead, which App defines, but "
                           "Core does not use App"}));
}

TEST_F(LayerCheckTest, AClassDeclaredAheadThatAFloorBesideDefinesIsABreach) {
    // Two floors above Base that do not use each other.
    auto layers = floors();
    layers.push_back({"Side", "Side", {"Base"}});
    write("Side/Panel.h", "struct Panel {\n};\n");
    write("App/View.h", "struct Panel;\n");
    EXPECT_EQ(
        check(layers),
        std::vector<std::string>{
            "App/View.h:1 declares Panel ahead, which Side defines, but App does not use Side"});
}

TEST_F(LayerCheckTest, AClassDeclaredAheadWithinReachOrNowhereDefinedPasses) {
    write("Base/Text.h", "namespace base {\nclass Text {\n};\n}\n");
    write("Core/Model.h", "namespace core {\nclass Model {\n  class Detail;\n};\n}\n");
    write("Core/Model.cpp",
          "namespace core {\nclass Model;\n}\nstruct FromAPackage;\nnamespace base { class Text; "
          "}\n");
    write("App/main.cpp", "namespace base { class Text; }\nnamespace core { class Model; }\n");
    // The same name in another namespace is another type: nothing above defines `base::Model`.
    write("Base/Other.h", "namespace base {\nclass Model;\n}\n");
    // Defined within reach as well as above, the name is taken for the one within reach.
    write("App/Twin.h", "namespace base {\nclass Text {\n};\n}\n");
    EXPECT_EQ(check(), std::vector<std::string>());
}

TEST_F(LayerCheckTest, TheGraphIsReadAsTheBuildWritesIt) {
    write("layers.txt", "Base Base \nCore Core Base\nApp App Core Base\n");
    const auto layers = LayerCheck::readGraph(folder / "layers.txt");
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[2].target, "App");
    EXPECT_EQ(layers[2].uses, (std::vector<std::string>{"Core", "Base"}));
    EXPECT_TRUE(layers[0].uses.empty());
}

}  // namespace
