#include "install/installer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "install/install_codes.h"
#include "install/install_test_support.h"

namespace {

using insttest::Report;
using insttest::ReportRecorder;
using insttest::Sandbox;
using Clock = std::chrono::steady_clock;

// Marks the runner's packageEnded hook among the reports; after it nothing more follows.
constexpr int32_t kPackageEnded = 0;
const char kInstallFailed[] = "安装包安装失败";

TEST(PackageCommandLine, PiecesFollowInTheirOrder) {
    struct Case {
        const char* name;
        PackageValues values;
        std::string instCmd;
        std::string expected;
    };
    const std::string quoted = "\"/t/__Package_Quorvex.exe\"";
    const std::vector<Case> cases = {
        {"every piece",
         {"/opt/Quorvex", true, false, true, false, "zh-CN"},
         "-from=web",
         quoted +
             " /S -console=show -version=1.0.0 -adminact=true -authorizationact=false -dsc=true"
             " -ssc=false -inslang=\"zh-CN\" -from=web -instdir=\"/opt/Quorvex\" /D=/opt/Quorvex"},
        // Without a folder the line ends with the shortcut flags.
        {"empty folder, no language, no InstCmd",
         {"", false, true, false, true, ""},
         "",
         quoted + " /S -console=show -version=1.0.0 -adminact=false -authorizationact=true"
                  " -dsc=false -ssc=true"},
        {"InstCmd right before the folder",
         {"/a b", true, true, true, true, ""},
         "-k=1",
         quoted + " /S -console=show -version=1.0.0 -adminact=true -authorizationact=true"
                  " -dsc=true -ssc=true -k=1 -instdir=\"/a b\" /D=/a b"},
        {"language without a folder",
         {"", true, true, true, true, "en-US"},
         "",
         quoted + " /S -console=show -version=1.0.0 -adminact=true -authorizationact=true"
                  " -dsc=true -ssc=true -inslang=\"en-US\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildPackageCommandLine(quoted, c.values, c.instCmd), c.expected) << c.name;
    }
}

struct ProtocolCase {
    const char* output;
    std::vector<Report> reports;
    int result;
};

TEST(PackageProtocol, LinesBecomeReports) {
    const std::vector<ProtocolCase> cases = {
        {"Progress=0.5", {{2002, 0.5, ""}}, 0},
        {"Progress=abc", {{2002, 0, ""}}, 0},
        // A CR LF line end does not reach the folder.
        {"InstPath=/opt/Quorvex\r", {{3000, 0, "/opt/Quorvex"}}, 0},
        {"InstPath=a=b ", {{3000, 0, "a=b "}}, 0},
        {"State=Success", {{2003, 0, ""}}, 1},
        {"State=  Success \r", {{2003, 0, ""}}, 1},
        {"State=Succeeded", {}, 0},
        {"State=success", {}, 0},
        {"State=Fail\r", {{2004, 0, kInstallFailed}}, 1000},
        {"InstallVersion=1.2.3", {}, 0},
        {"ExePath=/opt/Quorvex/quorvex.exe\r", {{3001, 0, "/opt/Quorvex/quorvex.exe"}}, 0},
        {"StartExe=/s.exe", {{3001, 0, "/s.exe"}}, 0},
        {"UninstExePath=/u.exe", {{3002, 0, "/u.exe"}}, 0},
        {"UninstExe=/v.exe", {{3002, 0, "/v.exe"}}, 0},
        {"UninstEp=/opt/Quorvex/uninst.ep", {{3003, 0, "/opt/Quorvex/uninst.ep"}}, 0},
        {"Error=disk full\r", {{2004, 1000, "disk full"}}, 1000},
        {"Error=", {{2004, 1000, ""}}, 1000},
        {"TopShowDetention=5000", {{3007, 5000, ""}}, 0},
        // A negative delay is passed on as the unsigned 32-bit number it is.
        {"TopShowDetention=-1", {{3007, 4294967295.0, ""}}, 0},
        {"FinsihCloseDetention=3x", {{3008, 3, ""}}, 0},
        {"FinsihCloseDetention=none", {{3008, 0, ""}}, 0},
        {"StartUrl=https://q.example/?a=b&c", {{3004, 0, "https://q.example/?a=b&c"}}, 0},
        {"StartupStyle=AutoStartup\r", {{3005, 1, ""}}, 0},
        {"StartupStyle=UserStartup", {{3005, 2, ""}}, 0},
        {"StartupStyle=autostartup", {{3005, 0, ""}}, 0},
        {"StartupStyle=NonStartup", {{3005, 0, ""}}, 0},
        {"Encode=UTF8", {}, 0},
        {"Message=hello=world", {{3009, 0, "hello=world"}}, 0},
        // Keys are case-sensitive and must start the line.
        {"progress=0.5\n State=Success\nExePath", {}, 0},
        // Several lines: each reports, the last result line decides.
        {"State=Fail\nProgress=1\nState=Success\n",
         {{2004, 0, kInstallFailed}, {2002, 1, ""}, {2003, 0, ""}},
         1},
        {"State=Success\r\nError=late\r\n", {{2003, 0, ""}, {2004, 1000, "late"}}, 1000}};
    for (const ProtocolCase& c : cases) {
        ReportRecorder reports;
        CInstaller installer(reports.Callback(), "\"p\"", "", true, true, true);
        EXPECT_EQ(installer.Parse(c.output), c.result) << c.output;
        EXPECT_EQ(reports.All(), c.reports) << c.output;
    }
}

TEST(PackageProtocol, EncodeChoosesTheCodePage) {
    struct Case {
        const char* line;
        int32_t codePage;
    };
    const std::vector<Case> cases = {
        {"Encode=936", 936},      {"Encode=UTF8", 65001},    {"Encode=ACP", 0},
        {"Encode= 936 \r", 936},  {"Encode=utf8", 0},        {"Encode=GBK", 0},
        {"Encode=1252abc", 1252}, {"Encode=99999999999", 0},  // outside 32 bits
    };
    for (const Case& c : cases) {
        ReportRecorder reports;
        CInstaller installer(reports.Callback(), "\"p\"", "", true, true, true);
        installer.Parse("Encode=65001");
        installer.Parse(c.line);
        EXPECT_EQ(installer.CodePage(), c.codePage) << c.line;
    }
}

TEST(PackageProtocol, InstallVersionKeepsTheNumbersItCouldRead) {
    ReportRecorder reports;
    CInstaller installer(reports.Callback(), "\"p\"", "", true, true, true);
    EXPECT_EQ(installer.InstallVersion(), (std::array<int32_t, 3>{0, 0, 0}));
    installer.Parse("InstallVersion=2.10.3\r");
    EXPECT_EQ(installer.InstallVersion(), (std::array<int32_t, 3>{2, 10, 3}));
    installer.Parse("InstallVersion=4.x.9");
    EXPECT_EQ(installer.InstallVersion(), (std::array<int32_t, 3>{4, 10, 3}));
}

// The package runner with the fake package in a sandbox.
class PackageRun : public ::testing::Test {
  protected:
    void SetUp() override { insttest::PlaceFakeProgram(package_); }

    std::unique_ptr<CInstaller> MakeInstaller(ReportRecorder& reports,
                                              CInstaller::Options options = {}) {
        options.packageEnded = [&reports](uint64_t install) {
            reports.Callback()(kPackageEnded, static_cast<double>(install), "");
        };
        return std::make_unique<CInstaller>(reports.Callback(), "\"" + package_ + "\"", target_,
                                            true, true, true, std::move(options));
    }

    // Runs the package with `actions` and returns every report up to its end.
    std::vector<Report> Run(const std::vector<std::string>& actions) {
        sandbox_.Script(kPackageName, actions);
        ReportRecorder reports;
        auto installer = MakeInstaller(reports);
        installer->Install();
        EXPECT_TRUE(reports.WaitForCode(kPackageEnded));
        installer.reset();
        return WithoutEndMark(reports.All());
    }

    static std::vector<Report> WithoutEndMark(std::vector<Report> all) {
        std::erase_if(all, [](const Report& r) { return r.code == kPackageEnded; });
        return all;
    }

    static constexpr const char* kPackageName = "__Package_Quorvex.exe";
    Sandbox sandbox_;
    const std::string package_ = sandbox_.Folder("download") + "/" + kPackageName;
    const std::string target_ = sandbox_.Folder("Program Files/Quorvex");
};

TEST_F(PackageRun, PackageReceivesTheCommandLineAsItsArguments) {
    CInstaller::Options options;
    options.instCmd = "-from=web -tag=\"a b\"";
    ReportRecorder reports;
    auto installer = MakeInstaller(reports, options);
    const PackageValues values{target_, false, true, true, false, "zh-CN"};
    installer->SetValues(values);
    installer->Install();
    ASSERT_TRUE(reports.WaitForCode(kPackageEnded));
    EXPECT_EQ(installer->CommandLine(),
              BuildPackageCommandLine("\"" + package_ + "\"", values, options.instCmd));
    const std::string folderHead = target_.substr(0, target_.find(' '));
    const std::string folderTail = target_.substr(target_.find(' ') + 1);
    EXPECT_EQ(sandbox_.RecordedArguments(kPackageName),
              (std::vector<std::string>{"/S", "-console=show", "-version=1.0.0", "-adminact=true",
                                        "-authorizationact=false", "-dsc=false", "-ssc=true",
                                        "-inslang=zh-CN", "-from=web", "-tag=a b",
                                        "-instdir=" + target_, "/D=" + folderHead, folderTail}));
}

struct RunCase {
    const char* name;
    std::vector<std::string> actions;
    std::vector<Report> after;  // the reports after (2001, 0) and (2002, 0)
};

std::vector<std::string> ManyLinesThen(const std::string& last) {
    std::vector<std::string> actions(40, "out Message" + std::string(100, '.'));
    actions.push_back(last);
    return actions;
}

TEST_F(PackageRun, OutputBecomesReportsUntilTheResult) {
    const std::string gbkInstPath = "496E7374506174683DD6D0CEC4";  // "InstPath=中文" in GBK
    const std::vector<RunCase> cases = {
        {"one read with progress and success",
         {"hex 50726F67726573733D302E350A53746174653D537563636573730A"},
         {{2002, 0.5, ""}, {2003, 0, ""}}},
        {"a line split across two reads is read once, whole",
         {"raw Progress=0.", "sleep 150", "out 75"},
         {{2002, 0.75, ""}, {2003, 1, ""}}},
        {"a split CR LF line gives the folder without its CR",
         {"raw InstPath=%D", "sleep 150", "crlf ", "out State=Success"},
         {{3000, 0, target_}, {2003, 0, ""}}},
        {"lines after the result are not read",
         {"out State=Success", "sleep 100", "out Message=late"},
         {{2003, 0, ""}}},
        {"a result printed just before exit behind more than one read of output",
         ManyLinesThen("out State=Fail"),
         {{2004, 0, kInstallFailed}}},
        {"no result and exit code 0", {"out Progress=0.3"}, {{2002, 0.3, ""}, {2003, 1, ""}}},
        {"no result and another exit code", {"exit 3"}, {{2004, 0, kInstallFailed}}},
        {"a result line wins over the exit code", {"out State=Success", "exit 5"}, {{2003, 0, ""}}},
        {"standard error is never parsed", {"err State=Fail", "err Progress=0.5"}, {{2003, 1, ""}}},
        {"a last line without a line feed", {"raw State=Success"}, {{2003, 0, ""}}},
        {"a zero byte ends the text of its line",
         {"hex 496E7374506174683D61006200620A"},
         {{3000, 0, "a"}, {2003, 1, ""}}},
        {"a code page character split across reads",
         {"out Encode=936", "hex " + gbkInstPath.substr(0, 20), "sleep 150",
          "hex " + gbkInstPath.substr(20) + "0A"},
         {{3000, 0, "中文"}, {2003, 1, ""}}},
        {"Encode= applies to the next line of the same read",
         {"hex 456E636F64653D3933360A" + gbkInstPath + "0A"},
         {{3000, 0, "中文"}, {2003, 1, ""}}},
        {"UTF-8 output",
         {"out Encode=UTF8", "out Message=安装完成"},
         {{3009, 0, "安装完成"}, {2003, 1, ""}}},
        {"a value longer than a read and than 771 characters is kept whole",
         {"out Message=" + std::string(3000, 'm')},
         {{3009, 0, std::string(3000, 'm')}, {2003, 1, ""}}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Report> expected = {{2001, 0, ""}, {2002, 0, ""}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(Run(c.actions), expected);
    }
}

TEST_F(PackageRun, GrandchildHoldingThePipeDoesNotDelayTheResult) {
    const auto begin = Clock::now();
    EXPECT_EQ(Run({"out Progress=0.5", "hold 3000"}),
              (std::vector<Report>{{2001, 0, ""}, {2002, 0, ""}, {2002, 0.5, ""}, {2003, 1, ""}}));
    EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(2000));
}

TEST_F(PackageRun, StartFailuresReportValueTwo) {
    struct Case {
        const char* name;
        std::string package;
        std::string folder;
    };
    const std::vector<Case> cases = {
        {"missing package", sandbox_.Path("none/__Package_Quorvex.exe"), target_},
        // 1024 characters and more do not fit the command-line buffer.
        {"command line too long", package_, "/" + std::string(1000, 'f')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportRecorder reports;
        CInstaller installer(reports.Callback(), "\"" + c.package + "\"", c.folder, true, true,
                             true);
        installer.Install();
        ASSERT_TRUE(reports.WaitForCode(2004));
        EXPECT_EQ(reports.All(),
                  (std::vector<Report>{{2001, 0, ""}, {2002, 0, ""}, {2004, 2, ""}}));
    }
}

TEST_F(PackageRun, WorkerThatCannotBeCreatedIsAStartFailure) {
    ReportRecorder reports;
    CInstaller::Options options;
    options.threadStarter = insttest::RefuseThread;
    CInstaller installer(reports.Callback(), "\"" + package_ + "\"", target_, true, true, true,
                         options);
    installer.Install();
    EXPECT_EQ(reports.All(), (std::vector<Report>{{2004, 2, ""}}));
}

TEST_F(PackageRun, SecondInstallTakesNewValuesAndKeepsTheCodePage) {
    ReportRecorder reports;
    auto installer = MakeInstaller(reports);
    sandbox_.Script(kPackageName, {"out Encode=936", "out State=Fail"});
    installer->Install();
    ASSERT_TRUE(reports.WaitForCode(kPackageEnded));

    sandbox_.Script(kPackageName, {"hex 496E7374506174683DD6D0CEC40A", "out State=Success"});
    installer->SetValues({"", true, true, false, true, ""});
    installer->Install();
    ASSERT_TRUE(reports.WaitForCode(kPackageEnded, 2));
    EXPECT_EQ(
        installer->CommandLine(),
        BuildPackageCommandLine("\"" + package_ + "\"", {"", true, true, false, true, ""}, ""));
    EXPECT_EQ(WithoutEndMark(reports.All()), (std::vector<Report>{{2001, 0, ""},
                                                                  {2002, 0, ""},
                                                                  {2004, 0, kInstallFailed},
                                                                  {2001, 0, ""},
                                                                  {2002, 0, ""},
                                                                  {3000, 0, "中文"},
                                                                  {2003, 0, ""}}));
}

TEST_F(PackageRun, DestructionWaitsForThePackageAndReportsNothingMore) {
    sandbox_.Script(kPackageName, {"sleep 400", "out State=Success"});
    ReportRecorder reports;
    auto installer = MakeInstaller(reports);
    installer->Install();
    ASSERT_TRUE(reports.WaitForCode(2002));
    const auto begin = Clock::now();
    installer.reset();
    EXPECT_GE(Clock::now() - begin, std::chrono::milliseconds(200));
    EXPECT_EQ(reports.All(), (std::vector<Report>{{2001, 0, ""}, {2002, 0, ""}}));
}

}  // namespace
