#include "source/src/product_files.h"

#include <gtest/gtest.h>

#include "platform/ini_profile.h"
#include "tracking_test_support.h"

namespace {

namespace ini = platform::ini;
using marlix::tracking::WriteProductAnalyticsFiles;

class ProductFilesTest : public trackingtest::TrackerTest {
  protected:
    std::string SetIni() const { return home_ / "Quorvex/set.ini"; }
    std::string DataFolder() const { return home_ / "AppData/Roaming/MarlixData/Quorvex"; }
};

TEST_F(ProductFilesTest, NamesTheProductsAnalyticsFileAndStampsIt) {
    trackingtest::WriteTextFile(SetIni(), "[Install]\nAPPStore=QuorvexSetup.exe\n");
    ASSERT_TRUE(WriteProductAnalyticsFiles(SetIni()));
    const std::string analyticsIni = DataFolder() + "/MXAnalytics.ini";
    EXPECT_EQ(ini::GetString(SetIni(), "Install", "MXAnalyticsIni", ""), analyticsIni);
    EXPECT_EQ(ini::GetString(SetIni(), "Install", "APPStore", ""), "QuorvexSetup.exe");
    const std::string stamp = ini::GetString(analyticsIni, "Init", "UpdateTime", "");
    EXPECT_TRUE(trackingtest::HasShape(stamp, "9999-99-99 99:99:99")) << stamp;
}

TEST_F(ProductFilesTest, WritesNothingWhenTheDataFolderCannotBeMade) {
    trackingtest::WriteTextFile(home_ / "AppData/Roaming/MarlixData", "a file in the way");
    trackingtest::WriteTextFile(SetIni(), "[Install]\nAppName=Quorvex\n");
    EXPECT_FALSE(WriteProductAnalyticsFiles(SetIni()));
    EXPECT_EQ(ini::FindString(SetIni(), "Install", "MXAnalyticsIni"), std::nullopt);
}

TEST_F(ProductFilesTest, OverlongDataFolderCountsAsFailed) {
    trackingtest::ScopedEnv appData("APPDATA", home_ / std::string(250, 'a'));
    EXPECT_FALSE(WriteProductAnalyticsFiles(SetIni()));
    EXPECT_FALSE(std::filesystem::exists(SetIni()));
}

}  // namespace
