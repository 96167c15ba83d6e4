#include "app/installer_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "app/command_line_options.h"
#include "app/scratch.h"

void PrintTo(const InstallerConfig& c, std::ostream* os) {
    *os << "{AppName=" << c.AppName << " AppVersion=" << c.AppVersion << " ExeName=" << c.ExeName
        << " DlAppNameSuffix=" << c.DlAppNameSuffix << " DlAppVersion=" << c.DlAppVersion
        << " InstCmd=" << c.InstCmd << " DownloadUrl=" << c.DownloadUrl
        << " DownloadType=" << c.DownloadType << " IsCheckNet=" << c.IsCheckNet
        << " IsEnableAppAnalytics=" << c.IsEnableAppAnalytics
        << " DownloadScale=" << c.DownloadScale << " CurlAvailable=" << c.CurlAvailable
        << " Language=" << c.Language << " InsNew=" << c.InsNew << "}";
}

namespace {

using platform::NtVersion;
using testapp::ScratchFolder;

constexpr NtVersion kWindowsXp{5, 1, 2600};
constexpr NtVersion kWindows7{6, 1, 7601};

TEST(RouteTest, MarkerBecomesTheRouteOfTheSystemClass) {
    const std::string twice = "http://h/${ROUTE}/setup.exe?r=${ROUTE}";
    const struct {
        std::optional<NtVersion> nt;
        const char* expected;
    } cases[] = {
        {std::nullopt, "http://h/download_silent/setup.exe?r=download_silent"},  // not Windows
        {kWindows7, "http://h/download_silent/setup.exe?r=download_silent"},
        {kWindowsXp, "http://h/download_silent_xp/setup.exe?r=download_silent_xp"},
        {NtVersion{0, 0, 0}, "http://h/download_silent_xp/setup.exe?r=download_silent_xp"},
        {NtVersion{5, 0, 2195}, "http://h/download_silent/setup.exe?r=download_silent"},  // 2K
        {NtVersion{5, 2, 3790}, "http://h/download_silent/setup.exe?r=download_silent"},  // 2003
        {NtVersion{10, 0, 22631}, "http://h/download_silent/setup.exe?r=download_silent"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SubstituteRoute(twice, c.nt), c.expected)
            << (c.nt ? c.nt->major : 99) << "." << (c.nt ? c.nt->minor : 99);
    }
    EXPECT_EQ(SubstituteRoute("http://h/$ROUTE/{ROUTE}", kWindowsXp), "http://h/$ROUTE/{ROUTE}");
}

TEST(InstallerConfigTest, BuiltInDefaults) {
    const InstallerConfig config;
    EXPECT_EQ(config.AppName, "Quorvex");
    EXPECT_EQ(config.AppVersion, "1.7.9");
    EXPECT_EQ(config.ExeName, "NULL");
    EXPECT_EQ(config.DlAppNameSuffix, ".downloader");
    EXPECT_EQ(config.DownloadUrl.rfind("http://", 0), 0u);
    EXPECT_TRUE(config.DownloadUrl.ends_with("/software/370"));
    EXPECT_EQ(config.DownloadType, 1);
    EXPECT_FALSE(config.IsCheckNet);
    EXPECT_TRUE(config.IsEnableAppAnalytics);
    EXPECT_EQ(config.DownloadScale, 0.7);
    EXPECT_TRUE(config.CurlAvailable);
    EXPECT_EQ(config.Language, 0);
    EXPECT_FALSE(config.InsNew);
}

class IniFileTest : public testing::Test {
  protected:
    // The record for an executable "setup" in the scratch folder; `ini` is the INI file's
    // content, or nullopt for no file.
    InstallerConfig LoadWith(std::optional<std::string> ini,
                             std::optional<NtVersion> nt = std::nullopt) {
        if (ini) {
            testapp::WriteTextFile(folder_ / "MarlixInstallerConfig.ini", *ini);
        }
        return InstallerConfig::Load(folder_ / "setup", nt);
    }

    // The built-in record as loaded for "setup".
    static InstallerConfig Defaults() {
        InstallerConfig config;
        config.ExeName = "setup";
        return config;
    }

    ScratchFolder folder_;
};

TEST_F(IniFileTest, EachCaseGivesTheExpectedRecord) {
    const struct {
        const char* name;
        std::optional<std::string> ini;
        std::function<void(InstallerConfig&)> change;
    } cases[] = {
        {"no file", std::nullopt, [](InstallerConfig&) {}},
        {"empty section: the network check is on", "[Install]\n",
         [](InstallerConfig& c) { c.IsCheckNet = true; }},
        {"other sections only", "[Other]\nDownloadType=3\n",
         [](InstallerConfig& c) { c.IsCheckNet = true; }},
        {"every key",
         "[install]\r\n"  // section and key names ignore letter case
         "downloadurl=http://mirror.example/pkg/${ROUTE}/q.exe\r\n"
         "DownloadType=3\r\n"
         "IsCheckNet=false\r\n"
         "IsEnableAppAnalytics=false\r\n"
         "DlAppNameSuffix=.dl\r\n"
         "m_DlAppVersion=2.0.1\r\n"
         "DownloadScale=0.5\r\n"
         "InstCmd=-silent -x=1\r\n"
         "AppName=Other\r\n",  // not configurable
         [](InstallerConfig& c) {
             c.DownloadUrl = "http://mirror.example/pkg/download_silent/q.exe";
             c.DownloadType = 3;
             c.IsEnableAppAnalytics = false;
             c.DlAppNameSuffix = ".dl";
             c.DlAppVersion = "2.0.1";
             c.DownloadScale = 0.5;
             c.InstCmd = "-silent -x=1";
         }},
        {"capitalised True is false", "[Install]\nIsCheckNet=True\nIsEnableAppAnalytics=TRUE\n",
         [](InstallerConfig& c) { c.IsEnableAppAnalytics = false; }},
        {"unparsable numbers", "[Install]\nIsCheckNet=true\nDownloadType=two\nDownloadScale=x\n",
         [](InstallerConfig& c) {
             c.IsCheckNet = true;
             c.DownloadType = 0;
             c.DownloadScale = 0.0;
         }},
        {"numbers out of range",
         "[Install]\nIsCheckNet=true\nDownloadType=12345678901\nDownloadScale=1e999\n",
         [](InstallerConfig& c) {
             c.IsCheckNet = true;
             c.DownloadType = 0;
             c.DownloadScale = 0.0;
         }},
        {"non-finite scale", "[Install]\nIsCheckNet=true\nDownloadScale=nan\n",
         [](InstallerConfig& c) {
             c.IsCheckNet = true;
             c.DownloadScale = 0.0;
         }},
        {"empty address", "[Install]\nIsCheckNet=true\nDownloadUrl=\n",
         [](InstallerConfig& c) {
             c.IsCheckNet = true;
             c.DownloadUrl.clear();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder_ / "MarlixInstallerConfig.ini");
        InstallerConfig expected = Defaults();
        c.change(expected);
        EXPECT_EQ(LoadWith(c.ini), expected);
    }
}

TEST_F(IniFileTest, RouteFollowsTheSystemClass) {
    const std::string ini = "[Install]\nDownloadUrl=http://h/${ROUTE}/a?r=${ROUTE}\n";
    EXPECT_EQ(LoadWith(ini, kWindowsXp).DownloadUrl,
              "http://h/download_silent_xp/a?r=download_silent_xp");
    EXPECT_EQ(LoadWith(ini, kWindows7).DownloadUrl, "http://h/download_silent/a?r=download_silent");
}

TEST_F(IniFileTest, LongAddressIsReadWhole) {
    std::string url = "http://dl.example/" + std::string(970, 'a') + "/0123456789/q.exe";
    url.resize(1000, 'z');
    EXPECT_EQ(LoadWith("[Install]\nDownloadUrl=" + url + "\n").DownloadUrl, url);
}

class CommandLineTest : public testing::Test {
  protected:
    static InstallerConfig Apply(InstallerConfig config, const std::vector<std::string>& args,
                                 std::optional<NtVersion> nt = std::nullopt) {
        config.ApplyOptions(app::CommandLineOptions(args), nt);
        return config;
    }
};

TEST_F(CommandLineTest, EachOptionSetsItsField) {
    const InstallerConfig result =
        Apply(InstallerConfig(),
              {"/usr/bin/quorvex", "-downloadurl=http://h/${ROUTE}?a=b=c", "-downloadtype=3",
               "-downloadscale=0.25", "-ischecknet=true", "-isenableappanalytics=false",
               "-dlappnamesuffix=.x", "-dlappversion=3.1", "-instcmd=-p \"C:\\a b\"", "-language=2",
               "-insnew=true"});
    InstallerConfig expected;
    expected.DownloadUrl = "http://h/download_silent?a=b=c";
    expected.DownloadType = 3;
    expected.DownloadScale = 0.25;
    expected.IsCheckNet = true;
    expected.IsEnableAppAnalytics = false;
    expected.DlAppNameSuffix = ".x";
    expected.DlAppVersion = "3.1";
    expected.InstCmd = "-p \"C:\\a b\"";
    expected.Language = 2;
    expected.InsNew = true;
    EXPECT_EQ(result, expected);
}

TEST_F(CommandLineTest, EdgeCases) {
    InstallerConfig start;
    start.IsCheckNet = true;
    start.InsNew = true;
    start.Language = 4;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::function<void(InstallerConfig&)> change;
    } cases[] = {
        {"absent options change nothing", {"quorvex"}, [](InstallerConfig&) {}},
        {"first occurrence wins",
         {"-downloadtype=2", "-downloadtype=3"},
         [](InstallerConfig& c) { c.DownloadType = 2; }},
        {"capitalised True is false",
         {"-ischecknet=True"},
         [](InstallerConfig& c) { c.IsCheckNet = false; }},
        {"keys are case-sensitive", {"-DownloadType=3", "-InsNew=false"}, [](InstallerConfig&) {}},
        {"options without a value",
         {"-insnew", "-downloadurl", "-downloadtype", "-language", "-instcmd"},
         [](InstallerConfig& c) {
             c.InsNew = false;
             c.DownloadUrl.clear();
             c.DownloadType = 0;
             c.Language = 0;
         }},
        {"out-of-range integers",
         {"-downloadtype=12345678901", "-language=-99999999999"},
         [](InstallerConfig& c) {
             c.DownloadType = 0;
             c.Language = 0;
         }},
        {"unparsable integer", {"-language=de"}, [](InstallerConfig& c) { c.Language = 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerConfig expected = start;
        c.change(expected);
        EXPECT_EQ(Apply(start, c.args), expected);
    }
}

TEST_F(CommandLineTest, UnusableScaleKeepsTheCurrentValue) {
    InstallerConfig start;
    start.DownloadScale = 0.4;
    for (const char* value : {"", "abc", "nan", "inf", "-inf", "1e999"}) {
        EXPECT_EQ(Apply(start, {std::string("-downloadscale=") + value}).DownloadScale, 0.4)
            << value;
    }
    EXPECT_EQ(Apply(start, {"-downloadscale=0.9abc"}).DownloadScale, 0.9);
}

TEST_F(CommandLineTest, AddressOptionGetsTheRoute) {
    EXPECT_EQ(
        Apply(InstallerConfig(), {"-downloadurl=http://h/${ROUTE}/x"}, kWindowsXp).DownloadUrl,
        "http://h/download_silent_xp/x");
}

TEST_F(CommandLineTest, OptionsOverrideTheIniFile) {
    ScratchFolder folder;
    testapp::WriteTextFile(folder / "MarlixInstallerConfig.ini",
                           "[Install]\nDownloadType=2\nDownloadScale=0.6\nInstCmd=ini\n");
    InstallerConfig config = InstallerConfig::Load(folder / "setup", std::nullopt);
    config.ApplyOptions(app::CommandLineOptions({"-downloadtype=3", "-downloadscale=x"}),
                        std::nullopt);
    EXPECT_EQ(config.DownloadType, 3);
    EXPECT_EQ(config.DownloadScale, 0.6);
    EXPECT_EQ(config.InstCmd, "ini");
}

}  // namespace
