// quorvex-diag install and track, run as real processes against the loopback download
// service and collection endpoint.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/scratch.h"
#include "download/md5.h"
#include "support/collection_endpoint.h"
#include "support/download_server.h"

namespace {

namespace fs = std::filesystem;
using testapp::ScopedEnv;
using testapp::ScratchFolder;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;

constexpr char kPackageName[] = "__Package_Quorvex.exe";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The report lines without download progress, which a loopback transfer may not send.
std::vector<std::string> ReportLines(const std::string& out) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(out)) {
        if (line.rfind("1002\t", 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// A scratch home and temp folder for the tool; the fake package's script folder.
class DiagRunTest : public testing::Test {
  protected:
    std::string Folder(const std::string& relative) const {
        fs::create_directories(root_ / relative);
        return root_ / relative;
    }
    testapp::ChildResult Run(const std::vector<std::string>& arguments) {
        return testapp::RunChild(QUORVEX_DIAG_EXE, arguments, output_);
    }

    ScratchFolder root_;
    ScratchFolder output_;
    ScopedEnv home_{"HOME", Folder("home")};
    ScopedEnv config_{"XDG_CONFIG_HOME", Folder("home/.config")};
    ScopedEnv data_{"XDG_DATA_HOME", Folder("home/.local/share")};
    ScopedEnv runtime_{"XDG_RUNTIME_DIR", Folder("run")};
    ScopedEnv appData_{"APPDATA", Folder("appdata")};
    ScopedEnv temp_{"TMPDIR", Folder("tmp") + "/"};
    ScopedEnv fake_{"QUORVEX_FAKE_DIR", Folder("fake")};
};

// The download service serves the fake package behind "/software/370", as the real one.
class DiagInstallTest : public DiagRunTest {
  protected:
    DiagInstallTest() {
        // The download refuses packages under 1 MiB: the program runs with padding.
        const std::string served = Folder("served") + "/setup.exe";
        testapp::WriteTextFile(
            served, testapp::ReadTextFile(QUORVEX_FAKE_SETUP) + std::string(1200 * 1024, '\0'));
        const std::string path = "/dl/" + download::FileMd5(served) + "/setup.exe";
        server_.ServeFile(path, served);
        server_.Redirect("/software/370", path);
    }

    void Script(const std::vector<std::string>& actions) {
        std::string text;
        for (const std::string& action : actions) {
            text += action + "\n";
        }
        testapp::WriteTextFile(root_ / ("fake/" + std::string(kPackageName) + ".script"), text);
    }

    testapp::ChildResult Install(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> arguments = {"install", "--folder=" + target_,
                                              "-downloadurl=" + server_.Url("/software/370")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return Run(arguments);
    }

    testsupport::DownloadServer server_;
    const std::string target_ = root_ / "Program Files/Quorvex";
};

TEST_F(DiagInstallTest, SuccessPrintsEveryReportAndLeavesTheInstallation) {
    Script({"install", "out Progress=0.5", "out InstPath=%D", "out State=Success"});
    const auto result = Install({"--language=zh-CN", "--desktop=false"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::vector<std::string> lines = ReportLines(result.out);
    ASSERT_FALSE(lines.empty()) << result.err;
    EXPECT_EQ(lines.front(), "1001\t1\t");
    EXPECT_THAT(lines, Contains("2001\t0\t"));
    EXPECT_THAT(lines, Contains("2002\t0.5\t"));
    EXPECT_THAT(lines, Contains("3000\t0\t" + target_));
    EXPECT_EQ(lines.back(), "2003\t0\t");
    EXPECT_TRUE(fs::exists(target_ + "/quorvex.exe"));
    EXPECT_FALSE(fs::exists(target_ + "/" + kPackageName));

    const std::vector<std::string> arguments =
        Lines(testapp::ReadTextFile(root_ / ("fake/" + std::string(kPackageName) + ".args")));
    EXPECT_THAT(arguments, Contains("-inslang=zh-CN"));
    // The address came from "-downloadurl=".
    bool askedShortAddress = false;
    for (const testsupport::RecordedRequest& request : server_.Requests()) {
        askedShortAddress = askedShortAddress || request.path == "/software/370";
    }
    EXPECT_TRUE(askedShortAddress);
}

TEST_F(DiagInstallTest, PackageErrorEndsWithFailure) {
    Script({"out Error=disk full"});
    const auto result = Install();
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    const std::vector<std::string> lines = ReportLines(result.out);
    ASSERT_FALSE(lines.empty()) << result.err;
    EXPECT_EQ(lines.front(), "1001\t1\t");
    EXPECT_THAT(lines.back(), testing::StartsWith("2004\t"));
    EXPECT_FALSE(fs::exists(target_ + "/" + kPackageName));
}

TEST_F(DiagInstallTest, MissingPackageEndsWithDownloadFailure) {
    const auto result =
        Run({"install", "--folder=" + target_, "-downloadurl=" + server_.Url("/missing")});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    const std::vector<std::string> lines = ReportLines(result.out);
    ASSERT_FALSE(lines.empty()) << result.err;
    EXPECT_THAT(lines.back(), testing::StartsWith("1004\t"));
}

TEST_F(DiagRunTest, MalformedCommandLinesShowUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {"install"},
        {"install", "--folder=/x", "--desktop=yes"},
        {"install", "--folder=/x", "--bogus"},
        {"track"},
        {"track", "--server=http://127.0.0.1:1/sa", "--events=-1"},
        {"track", "--server=http://127.0.0.1:1/sa", "--events=x"},
    };
    for (const auto& arguments : cases) {
        const auto result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 2) << arguments.back();
        EXPECT_THAT(result.err, HasSubstr("usage: quorvex-diag " + arguments.front()));
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(DiagRunTest, TrackSendsTheInstallersEvents) {
    testsupport::CollectionEndpoint endpoint;
    const auto result = Run({"track", "--server=" + endpoint.Url(), "--events=3"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;

    std::vector<std::string> names;
    for (const Json::Value& record : endpoint.Records()) {
        const Json::Value& properties = record["properties"];
        names.push_back(record["event"].asString() + " " +
                        properties.get("mx_task_name", properties["mx_name"]).asString());
        EXPECT_EQ(properties["mxc_ab"].asString(), "IN");
    }
    EXPECT_THAT(names, ElementsAre("MxEventTask 开始下载大包", "MxEventTask 开始下载大包",
                                   "MxEventTask 开始下载大包", "MxEventClick 立即安装",
                                   "MxEventView 安装中"));
    // The tracker kept its identity in the scratch home, not the real one.
    EXPECT_TRUE(fs::exists(root_ / "home/.local/share/MXLocal"));
}

TEST_F(DiagRunTest, TrackWithAnalyticsOffSendsNothing) {
    testsupport::CollectionEndpoint endpoint;
    const auto result = Run({"track", "--server=" + endpoint.Url(), "-isenableappanalytics=false"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(endpoint.Uploads().empty());
    EXPECT_FALSE(fs::exists(root_ / "home/.local/share/MXLocal"));
}

}  // namespace
