#include "install/uninstaller.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/utils.h"
#include "install/install_test_support.h"

namespace {

using insttest::Report;
using insttest::ReportRecorder;
using insttest::Sandbox;
using Clock = std::chrono::steady_clock;

const char kUninstallFailed[] = "安装包卸载失败";
const char kCopyName[] = "Quorvex_un_asa.exe";

bool ConsoleUserIsAdmin() {
    std::string user;
    return Utils::GetConsoleUserName(user) && Utils::IsUserAdministrator(user);
}

std::string TrueFalse(bool flag) {
    return flag ? "true" : "false";
}

TEST(UninstallerCommandLine, CopyPathIsQuotedAndTheFolderComesLastUnquoted) {
    EXPECT_EQ(BuildUninstallerCommandLine("/tmp/a b/Quorvex_un_asa.exe", true, false,
                                          "/opt/My Apps/Quorvex"),
              "\"/tmp/a b/Quorvex_un_asa.exe\" /S -adminact=true -authorizationact=false"
              " -console=show _?=/opt/My Apps/Quorvex");
}

struct ProtocolCase {
    const char* output;
    std::vector<Report> reports;
    int result;
    int32_t codePage;
};

TEST(UninstallerProtocol, FourKeysBecomeReports) {
    const std::vector<ProtocolCase> cases = {
        {"Progress=0.4", {{5002, 0.4, ""}}, 0, 0},
        {"Error=locked\r", {{5005, 0, "locked"}}, 1000, 0},
        {"State= Success\r", {{5003, 0, ""}}, 1, 0},
        {"State=Fail", {{5005, 0, kUninstallFailed}}, 1000, 0},
        {"State=Done", {}, 0, 0},
        {"Encode=UTF8\r", {}, 0, 65001},
        // No code page numbers for the uninstaller.
        {"Encode=936", {}, 0, 0},
        {"Encode=ACP", {}, 0, 0},
        // Keys of the package's protocol mean nothing here.
        {"InstPath=/x\nMessage=m", {}, 0, 0},
        {"State=Fail\nState=Success", {{5005, 0, kUninstallFailed}, {5003, 0, ""}}, 1, 0},
    };
    for (const ProtocolCase& c : cases) {
        ReportRecorder reports;
        CUnInstaller uninstaller(reports.Callback(), "/none", "/old");
        EXPECT_EQ(uninstaller.Parse(c.output), c.result) << c.output;
        EXPECT_EQ(reports.All(), c.reports) << c.output;
        EXPECT_EQ(uninstaller.CodePage(), c.codePage) << c.output;
    }
}

// The uninstaller runner with the fake uninstaller copied into a temp folder with a space.
class UninstallRun : public ::testing::Test {
  protected:
    void SetUp() override { insttest::PlaceFakeProgram(copy_); }

    std::unique_ptr<CUnInstaller> MakeRunner(ReportRecorder& reports) {
        return std::make_unique<CUnInstaller>(reports.Callback(), copy_, oldFolder_,
                                              ends_.Starter());
    }

    // Runs the uninstaller with `actions` and returns every report up to its end.
    std::vector<Report> Run(const std::vector<std::string>& actions) {
        sandbox_.Script(kCopyName, actions);
        ReportRecorder reports;
        auto runner = MakeRunner(reports);
        runner->Start();
        EXPECT_TRUE(ends_.WaitFor(++runs_));
        return reports.All();
    }

    Sandbox sandbox_;
    insttest::ThreadEnds ends_;
    size_t runs_ = 0;
    const std::string copy_ = sandbox_.Folder("temp dir") + "/" + kCopyName;
    const std::string oldFolder_ = sandbox_.Folder("old place/Quorvex");
};

TEST_F(UninstallRun, UninstallerReceivesTheCommandLineAsItsArguments) {
    ReportRecorder reports;
    auto runner = MakeRunner(reports);
    runner->Start();
    ASSERT_TRUE(ends_.WaitFor(1));
    const bool admin = ConsoleUserIsAdmin();
    const bool elevated = Utils::IsProcessElevated();
    EXPECT_EQ(runner->CommandLine(),
              BuildUninstallerCommandLine(copy_, admin, elevated, oldFolder_));
    const size_t space = oldFolder_.find(' ');
    EXPECT_EQ(
        sandbox_.RecordedArguments(kCopyName),
        (std::vector<std::string>{
            "/S", "-adminact=" + TrueFalse(admin), "-authorizationact=" + TrueFalse(elevated),
            "-console=show", "_?=" + oldFolder_.substr(0, space), oldFolder_.substr(space + 1)}));
}

TEST_F(UninstallRun, OutputBecomesReportsUntilTheUninstallerEnds) {
    struct Case {
        const char* name;
        std::vector<std::string> actions;
        std::vector<Report> after;  // the reports after (5002, 0)
    };
    std::vector<std::string> manyLinesThenFail(40, "out Note" + std::string(100, '.'));
    manyLinesThenFail.push_back("out State=Fail");
    const std::vector<Case> cases = {
        {"success", {"out Progress=0.5", "out State=Success"}, {{5002, 0.5, ""}, {5003, 0, ""}}},
        {"nothing and exit code 0", {}, {{5003, 1, ""}}},
        {"nothing and another exit code", {"exit 2"}, {{5005, 0, kUninstallFailed}}},
        {"a result line wins over the exit code", {"out State=Success", "exit 4"}, {{5003, 0, ""}}},
        {"reading goes on after a result",
         {"out State=Success", "sleep 100", "out Progress=0.9"},
         {{5003, 0, ""}, {5002, 0.9, ""}}},
        {"a failure printed just before exit behind more than one read of output",
         manyLinesThenFail,
         {{5005, 0, kUninstallFailed}}},
        {"an error text", {"crlf Error=file in use"}, {{5005, 0, "file in use"}}},
        {"standard error is never parsed", {"err State=Fail"}, {{5003, 1, ""}}},
        {"a line split across two reads",
         {"raw State=Suc", "sleep 150", "out cess"},
         {{5003, 0, ""}}},
        {"UTF-8 after Encode=UTF8",
         {"out Encode=UTF8", "out Error=文件被占用"},
         {{5005, 0, "文件被占用"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Report> expected = {{5002, 0, ""}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(Run(c.actions), expected);
    }
}

TEST_F(UninstallRun, GrandchildHoldingThePipeDoesNotDelayTheResult) {
    const auto begin = Clock::now();
    EXPECT_EQ(Run({"hold 3000"}), (std::vector<Report>{{5002, 0, ""}, {5003, 1, ""}}));
    EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(2000));
}

TEST_F(UninstallRun, FailuresBeforeTheUninstallerRuns) {
    ReportRecorder missing;
    CUnInstaller noCopy(missing.Callback(), sandbox_.Path("gone/Quorvex_un_asa.exe"), oldFolder_,
                        ends_.Starter());
    noCopy.Start();
    ASSERT_TRUE(ends_.WaitFor(1));
    EXPECT_EQ(missing.All(), (std::vector<Report>{{5004, 1, "可执行卸载文件不存在"}}));

    // 1024 characters and more do not fit the command-line buffer.
    ReportRecorder tooLong;
    CUnInstaller longFolder(tooLong.Callback(), copy_, "/" + std::string(1000, 'f'),
                            ends_.Starter());
    longFolder.Start();
    ASSERT_TRUE(ends_.WaitFor(2));
    EXPECT_EQ(tooLong.All(), (std::vector<Report>{{5002, 0, ""}, {5004, 2, ""}}));

    ReportRecorder refused;
    CUnInstaller noThread(refused.Callback(), copy_, oldFolder_, insttest::RefuseThread);
    noThread.Start();
    EXPECT_EQ(refused.All(), (std::vector<Report>{{5004, 2, ""}}));
}

}  // namespace
