#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Base/Foundation/FileManager.h"
#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Diagnostics/Diagnostics.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;
using testing::addCrashReport;
using testing::TemporaryFolder;
using testing::writeText;

/// 23:23:05 UTC on 7 December 2026.
constexpr double decemberSeventh = 1796685785.0;

std::vector<std::string> names(const std::vector<fs::path>& urls) {
    std::vector<std::string> out;
    for (const fs::path& url : urls)
        out.push_back(url.filename().string());
    return out;
}

std::vector<std::string> folderContents(const fs::path& folder) {
    return names(FileManager::defaultManager().contentsOfDirectory(folder));
}

/// A home folder of its own for each test, with the log where the program keeps it, on the
/// manual clock, and a desktop on which this process runs from its application bundle.
class DiagnosticsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        register_({{"CFBundleShortVersionString", "1.4.2"}, {"CFBundleVersion", "812"}});
        desktop->setOperatingSystemVersion("Version 14.5 (Build 23F79)");
    }
    fs::path logURL() const { return folder / "Library" / "Logs" / "Kelvo" / "kelvo.log"; }
    fs::path reportsFolder() const { return testing::crashReportFolder(folder.path()); }
    fs::path desktopFolder() const { return folder / "Desktop"; }

    /// Registers this process on the desktop with its bundle's information strings.
    void register_(std::map<std::string, std::string> info) {
        sim::ApplicationSpec self = InstalledDesktop::system(InstalledDesktop::ownBundlePath);
        self.infoDictionary = std::move(info);
        installed.registerSelf(self);
    }
    std::vector<std::vector<std::string>> revealed() const {
        return desktop->fileViewerSelections();
    }
    /// Moves the clock to `seconds` after 1970.
    void setNow(double seconds) { clock.advance(seconds - Date::now().timeIntervalSince1970); }

    TemporaryFolder folder;
    testing::ScopedEnvironment home{"HOME", folder.path().string()};
    ManualClock clock;
    InstalledDesktop installed{std::nullopt};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
};

// The marker.

TEST_F(DiagnosticsTest, WithoutAMarkerTheLastCheckIsTheDistantPast) {
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date::distantPast());
}

TEST_F(DiagnosticsTest, MarkingCreatesTheLogFolderAndReadsBackTheSameDate) {
    const Date date{1767225600.123456};
    Diagnostics::markChecked(date, logURL());
    const fs::path marker = folder / "Library" / "Logs" / "Kelvo" / "last-checked";
    EXPECT_EQ(readFile(marker), "1767225600.123456");
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), date);
}

TEST_F(DiagnosticsTest, MarkerTextIsTheDefaultTextOfADouble) {
    EXPECT_EQ(Diagnostics::markerText(Date{1767225600}), "1767225600.0");
    EXPECT_EQ(Diagnostics::markerText(Date{1767225600.5}), "1767225600.5");
    EXPECT_EQ(Diagnostics::markerText(Date{0}), "0.0");
    EXPECT_EQ(Diagnostics::markerText(Date{-62135596800}), "-62135596800.0");
    EXPECT_EQ(Diagnostics::markerText(Date{1e16}), "10000000000000000.0");
    EXPECT_EQ(Diagnostics::markerText(Date{3e17}), "3e+17");
    for (double seconds : {1796685785.000001, 0.1, 1e15 + 0.5, 123456789.987654321}) {
        EXPECT_EQ(Diagnostics::dateFromMarkerText(Diagnostics::markerText(Date{seconds})),
                  Date{seconds})
            << seconds;
    }
}

TEST_F(DiagnosticsTest, MarkerBetweenSpacesAndFollowedByANewlineReads) {
    writeText(Diagnostics::markerURL(logURL()), "  1767225600.25 \n");
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date{1767225600.25});
    writeText(Diagnostics::markerURL(logURL()), "\t1767225600\r\n");
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date{1767225600});
}

TEST_F(DiagnosticsTest, MarkerThatIsNoNumberReadsAsTheDistantPast) {
    for (const char* text : {"yesterday", "", "   \n", "1767225600.5 seconds", "12,5", "0x10",
                             "inf", "nan", "-infinity", "1e999"}) {
        writeText(Diagnostics::markerURL(logURL()), text);
        EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date::distantPast()) << text;
    }
}

TEST_F(DiagnosticsTest, UnreadableMarkerReadsAsTheDistantPast) {
    fs::create_directories(Diagnostics::markerURL(logURL()));  // a folder, not a file
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date::distantPast());
}

TEST_F(DiagnosticsTest, MarkingWhereNoFolderCanBeMadeIsQuietlyNothing) {
    writeText(folder / "Library" / "Logs", "a file where the folder should be");
    Diagnostics::markChecked(Date{1767225600}, logURL());
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date::distantPast());
}

TEST_F(DiagnosticsTest, TheMarkerLivesBesideWhicheverLogIsGiven) {
    const fs::path testLog = folder / "test-folder" / "kelvo.log";
    Diagnostics::markChecked(Date{1767225600}, testLog);
    EXPECT_TRUE(fs::exists(folder / "test-folder" / "last-checked"));
    EXPECT_FALSE(fs::exists(Diagnostics::markerURL(logURL())));
    EXPECT_EQ(Diagnostics::lastChecked(testLog), Date{1767225600});
    EXPECT_EQ(Diagnostics::lastChecked(logURL()), Date::distantPast());
}

// Listing crash reports.

TEST_F(DiagnosticsTest, WithoutACrashReportFolderThereAreNoReports) {
    EXPECT_TRUE(Diagnostics::crashReports().empty());
    EXPECT_TRUE(Diagnostics::crashReports(Date::distantPast()).empty());
}

TEST_F(DiagnosticsTest, OnlyThisProgramsReportsAreListedNewestFirst) {
    addCrashReport(folder.path(), "KelvoApp-2026-01-01-100000.ips", 1767261600);
    addCrashReport(folder.path(), "KelvoApp-2026-01-03-100000.ips", 1767434400);
    addCrashReport(folder.path(), "KelvoApp-2026-01-02-100000.ips", 1767348000);
    addCrashReport(folder.path(), "kelvoapp-2026-01-04-100000.ips", 1767520800);
    addCrashReport(folder.path(), "KELVOAPP-2026-01-04-100000.ips", 1767520800);
    addCrashReport(folder.path(), "KelvoApp.ips", 1767520800);
    addCrashReport(folder.path(), "Safari-2026-01-04-100000.ips", 1767520800);
    addCrashReport(folder.path(), "SomethingKelvoApp-1.ips", 1767520800);
    EXPECT_EQ(Diagnostics::crashReportFolder(), reportsFolder());
    EXPECT_EQ(names(Diagnostics::crashReports()),
              (std::vector<std::string>{"KelvoApp-2026-01-03-100000.ips",
                                        "KelvoApp-2026-01-02-100000.ips",
                                        "KelvoApp-2026-01-01-100000.ips"}));
    EXPECT_EQ(Diagnostics::crashReports().front().parent_path(), reportsFolder());
}

TEST_F(DiagnosticsTest, ReportsOfTheSameMomentKeepTheListingOrder) {
    addCrashReport(folder.path(), "KelvoApp-b.ips", 1767261600);
    addCrashReport(folder.path(), "KelvoApp-c.ips", 1767261600);
    addCrashReport(folder.path(), "KelvoApp-a.ips", 1767261600);
    addCrashReport(folder.path(), "KelvoApp-newest.ips", 1767261601);
    EXPECT_EQ(names(Diagnostics::crashReports()),
              (std::vector<std::string>{"KelvoApp-newest.ips", "KelvoApp-a.ips", "KelvoApp-b.ips",
                                        "KelvoApp-c.ips"}));
}

TEST_F(DiagnosticsTest, AReportWithoutADateSortsLast) {
    addCrashReport(folder.path(), "KelvoApp-old.ips", 1000);
    // A dangling link has no attributes to read.
    fs::create_symlink(folder / "gone", reportsFolder() / "KelvoApp-dangling.ips");
    addCrashReport(folder.path(), "KelvoApp-new.ips", 2000);
    EXPECT_EQ(names(Diagnostics::crashReports()),
              (std::vector<std::string>{"KelvoApp-new.ips", "KelvoApp-old.ips",
                                        "KelvoApp-dangling.ips"}));
    EXPECT_EQ(names(Diagnostics::crashReports(Date::distantPast())),
              (std::vector<std::string>{"KelvoApp-new.ips", "KelvoApp-old.ips"}));
}

TEST_F(DiagnosticsTest, OnlyReportsStrictlyNewerThanTheDateCount) {
    addCrashReport(folder.path(), "KelvoApp-before.ips", 1767225599.5);
    addCrashReport(folder.path(), "KelvoApp-same.ips", 1767225600);
    addCrashReport(folder.path(), "KelvoApp-after.ips", 1767225600.5);
    addCrashReport(folder.path(), "KelvoApp-later.ips", 1767225700);
    EXPECT_EQ(names(Diagnostics::crashReports(Date{1767225600})),
              (std::vector<std::string>{"KelvoApp-later.ips", "KelvoApp-after.ips"}));
}

TEST_F(DiagnosticsTest, FromOneLaunchToTheNextOnlyNewReportsCount) {
    addCrashReport(folder.path(), "KelvoApp-1.ips", 1767225000);
    addCrashReport(folder.path(), "KelvoApp-2.ips", 1767225100);

    // The first launch: no marker, so every report on the machine is new.
    EXPECT_EQ(Diagnostics::crashReports(Diagnostics::lastChecked(logURL())).size(), 2u);
    Diagnostics::markChecked(Date::now(), logURL());

    setNow(1767226000);
    EXPECT_TRUE(Diagnostics::crashReports(Diagnostics::lastChecked(logURL())).empty());
    Diagnostics::markChecked(Date::now(), logURL());

    addCrashReport(folder.path(), "KelvoApp-3.ips", 1767226500);
    EXPECT_EQ(names(Diagnostics::crashReports(Diagnostics::lastChecked(logURL()))),
              (std::vector<std::string>{"KelvoApp-3.ips"}));
}

TEST_F(DiagnosticsTest, StartUpLinesNameAtMostThreeReports) {
    EXPECT_TRUE(Diagnostics::crashLogLines({}).empty());
    std::vector<fs::path> seven;
    for (int i = 7; i >= 1; --i)
        seven.push_back(reportsFolder() / ("KelvoApp-" + std::to_string(i) + ".ips"));
    EXPECT_EQ(
        Diagnostics::crashLogLines(seven),
        (std::vector<std::string>{"Kelvo crashed 7 time(s) since the last launch - About ▸ "
                                  "Diagnostics ▸ Report a problem gathers them with the log",
                                  "  KelvoApp-7.ips", "  KelvoApp-6.ips", "  KelvoApp-5.ips"}));
    EXPECT_EQ(Diagnostics::crashLogLines({seven.back()}),
              (std::vector<std::string>{"Kelvo crashed 1 time(s) since the last launch - About ▸ "
                                        "Diagnostics ▸ Report a problem gathers them with the log",
                                        "  KelvoApp-1.ips"}));
}

// Three are named: two and three reports are named whole, four lose the oldest.
TEST_F(DiagnosticsTest, StartUpLinesNameTwoAndThreeReportsWholeAndFourUpToThree) {
    for (const std::size_t count : {2u, 3u, 4u}) {
        std::vector<fs::path> reports;
        for (std::size_t i = count; i >= 1; --i)
            reports.push_back(reportsFolder() / ("KelvoApp-" + std::to_string(i) + ".ips"));
        const auto lines = Diagnostics::crashLogLines(reports);
        ASSERT_EQ(lines.size(), 1 + std::min<std::size_t>(count, 3)) << count;
        EXPECT_EQ(lines[1], "  KelvoApp-" + std::to_string(count) + ".ips");
        EXPECT_EQ(lines.back(), "  KelvoApp-" + std::to_string(count < 4 ? 1 : 2) + ".ips");
    }
}

// The report folder.

TEST_F(DiagnosticsTest, ReportFolderIsNamedAfterTheMomentInUTC) {
    EXPECT_EQ(Diagnostics::reportFolderName(Date{decemberSeventh}), "Kelvo report 20261207T232305");
    EXPECT_EQ(Diagnostics::reportFolderName(Date{decemberSeventh + 0.999}),
              "Kelvo report 20261207T232305");
}

TEST_F(DiagnosticsTest, ReportTextLineByLine) {
    EXPECT_EQ(Diagnostics::reportText("1.4.2", "812", "Version 14.5 (Build 23F79)",
                                      Date{decemberSeventh}, 8),
              "Kelvo 1.4.2 (build 812)\n"
              "macOS Version 14.5 (Build 23F79)\n"
              "Written 2026-12-07 23:23:05 +0000\n"
              "\n"
              "kelvo.log            what Kelvo did to your windows, most recent run\n"
              "kelvo-previous.log   the run before that, if there was one\n"
              "config.json          your settings\n"
              "*.ips                crash reports macOS wrote for Kelvo (8 on this machine)\n"
              "\n"
              "Nothing here was sent anywhere. It is yours to read and to share\n"
              "with whoever is helping.");
}

TEST_F(DiagnosticsTest, FullReportHoldsCopiesAndTheFiveNewestOfEightCrashReports) {
    setNow(decemberSeventh);
    writeText(logURL(), "this run\n");
    writeText(folder / "Library" / "Logs" / "Kelvo" / "kelvo.log.1", "the run before\n");
    const fs::path configURL = folder / ".config" / "kelvo" / "config.json";
    writeText(configURL, "{}");
    for (int day = 1; day <= 8; ++day) {
        addCrashReport(folder.path(), "KelvoApp-day" + std::to_string(day) + ".ips",
                       1767225600 + day * 86400);
    }

    const auto report = Diagnostics::writeReport(configURL, logURL());

    const fs::path expected = desktopFolder() / "Kelvo report 20261207T232305";
    ASSERT_EQ(report, expected);
    EXPECT_EQ(
        folderContents(expected),
        (std::vector<std::string>{"KelvoApp-day4.ips", "KelvoApp-day5.ips", "KelvoApp-day6.ips",
                                  "KelvoApp-day7.ips", "KelvoApp-day8.ips", "about this report.txt",
                                  "config.json", "kelvo-previous.log", "kelvo.log"}));
    EXPECT_EQ(readFile(expected / "kelvo.log"), "this run\n");
    EXPECT_EQ(readFile(expected / "kelvo-previous.log"), "the run before\n");
    EXPECT_EQ(readFile(expected / "config.json"), "{}");
    EXPECT_EQ(readFile(expected / "KelvoApp-day8.ips"), "KelvoApp-day8.ips");
    EXPECT_EQ(readFile(expected / "about this report.txt"),
              Diagnostics::reportText("1.4.2", "812", "Version 14.5 (Build 23F79)",
                                      Date{decemberSeventh}, 8));
    EXPECT_EQ(revealed(), (std::vector<std::vector<std::string>>{{expected.string()}}));
    // The originals stay where they were.
    EXPECT_EQ(Diagnostics::crashReports().size(), 8u);
}

// Five are copied: four and five reports are copied whole, six lose the oldest.
TEST_F(DiagnosticsTest, AReportCopiesFourAndFiveCrashReportsWholeAndSixUpToFive) {
    setNow(decemberSeventh);
    writeText(logURL(), "this run\n");
    const fs::path configURL = folder / ".config" / "kelvo" / "config.json";
    int day = 0;
    for (const std::size_t count : {4u, 5u, 6u}) {
        while (Diagnostics::crashReports().size() < count) {
            ++day;
            addCrashReport(folder.path(), "KelvoApp-day" + std::to_string(day) + ".ips",
                           1767225600 + day * 86400);
        }
        setNow(decemberSeventh + static_cast<double>(count));
        const auto report = Diagnostics::writeReport(configURL, logURL());
        ASSERT_TRUE(report.has_value()) << count;
        std::vector<std::string> copied;
        for (const std::string& name : folderContents(*report)) {
            if (name.ends_with(".ips")) copied.push_back(name);
        }
        EXPECT_EQ(copied.size(), std::min<std::size_t>(count, 5)) << count;
        EXPECT_EQ(copied.front(), "KelvoApp-day" + std::to_string(count < 6 ? 1 : 2) + ".ips");
        EXPECT_EQ(copied.back(), "KelvoApp-day" + std::to_string(count) + ".ips");
    }
}

TEST_F(DiagnosticsTest, MissingPreviousLogAndConfigurationAreLeftOut) {
    setNow(decemberSeventh);
    writeText(logURL(), "only run\n");
    addCrashReport(folder.path(), "KelvoApp-one.ips", 1767225600);

    const auto report =
        Diagnostics::writeReport(folder / ".config" / "kelvo" / "config.json", logURL());

    ASSERT_TRUE(report);
    EXPECT_EQ(folderContents(*report),
              (std::vector<std::string>{"KelvoApp-one.ips", "about this report.txt", "kelvo.log"}));
    EXPECT_EQ(revealed().size(), 1u);
}

TEST_F(DiagnosticsTest, BundleWithoutVersionStringsWritesQuestionMarks) {
    setNow(decemberSeventh);
    register_({{"CFBundleName", "Kelvo"}});
    const auto report = Diagnostics::writeReport(folder / "config.json", logURL());
    ASSERT_TRUE(report);
    const std::string text = readFile(*report / "about this report.txt");
    EXPECT_EQ(text.substr(0, text.find('\n')), "Kelvo ? (build ?)");
    EXPECT_NE(text.find("(0 on this machine)"), std::string::npos);
}

TEST_F(DiagnosticsTest, AFileInTheWayOfTheFolderMeansNoReportAndNoWindow) {
    setNow(decemberSeventh);
    writeText(logURL(), "run\n");
    writeText(desktopFolder() / "Kelvo report 20261207T232305", "in the way");
    EXPECT_EQ(Diagnostics::writeReport(folder / "config.json", logURL()), std::nullopt);
    EXPECT_TRUE(revealed().empty());
    EXPECT_EQ(readFile(desktopFolder() / "Kelvo report 20261207T232305"), "in the way");

    // The same with the Desktop itself a file.
    fs::remove_all(desktopFolder());
    writeText(desktopFolder(), "not a folder");
    EXPECT_EQ(Diagnostics::writeReport(folder / "config.json", logURL()), std::nullopt);
    EXPECT_TRUE(revealed().empty());
}

TEST_F(DiagnosticsTest, TwoReportsInOneSecondShareTheFolderAndReplaceItsFiles) {
    setNow(decemberSeventh + 0.2);
    writeText(logURL(), "first\n");
    addCrashReport(folder.path(), "KelvoApp-1.ips", 1767225600);
    const auto first = Diagnostics::writeReport(folder / "config.json", logURL());

    clock.advance(0.5);
    writeText(logURL(), "second\n");
    addCrashReport(folder.path(), "KelvoApp-2.ips", 1767225700);
    const auto second = Diagnostics::writeReport(folder / "config.json", logURL());

    ASSERT_TRUE(first);
    EXPECT_EQ(second, first);
    EXPECT_EQ(readFile(*second / "kelvo.log"), "second\n");
    EXPECT_EQ(folderContents(*second),
              (std::vector<std::string>{"KelvoApp-1.ips", "KelvoApp-2.ips", "about this report.txt",
                                        "kelvo.log"}));
    EXPECT_NE(readFile(*second / "about this report.txt").find("(2 on this machine)"),
              std::string::npos);
    EXPECT_EQ(revealed().size(), 2u);
}

TEST_F(DiagnosticsTest, TheLogCopiedIsTheOneGivenSuchAsTheTestFolders) {
    setNow(decemberSeventh);
    writeText(logURL(), "the user's own log\n");
    const fs::path testFolder = folder / "test-folder";
    writeText(testFolder / "kelvo.log", "the test run's log\n");
    writeText(testFolder / "config.json", "{\"desktopCount\": 3}");

    const auto report =
        Diagnostics::writeReport(testFolder / "config.json", testFolder / "kelvo.log");

    ASSERT_TRUE(report);
    EXPECT_EQ(readFile(*report / "kelvo.log"), "the test run's log\n");
    EXPECT_EQ(readFile(*report / "config.json"), "{\"desktopCount\": 3}");
}

}  // namespace
}  // namespace kelvo
