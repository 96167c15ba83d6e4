#include "platform/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/scratch_env.h"

namespace {

using platformtest::ScratchFolder;

// Mount points as the kernel lists them (fifth field; blanks appear as "\040").
std::vector<std::string> MountPoints() {
    std::vector<std::string> points;
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 5 && fields >> field; ++i) {
        }
        points.push_back(field);
    }
    return points;
}

// The mount point with the longest match on `path`, by the kernel's own list.
std::string ExpectedVolume(const std::string& path) {
    std::string best = "/";
    for (const std::string& point : MountPoints()) {
        const bool under = path == point || point == "/" || path.starts_with(point + "/");
        if (under && point.size() > best.size()) {
            best = point;
        }
    }
    return best;
}

TEST(FilesTest, DiskSpaceOfAFolderIsConsistent) {
    ScratchFolder folder;
    platform::DiskSpace space;
    long errorCode = 0;
    ASSERT_TRUE(platform::QueryDiskSpace(folder.Path().string(), space, errorCode));
    EXPECT_GT(space.total, 0u);
    EXPECT_LE(space.totalFree, space.total);
    EXPECT_LE(space.freeForCaller, space.totalFree);
}

TEST(FilesTest, DiskSpaceOfAMissingFolderFailsWithTheSystemError) {
    ScratchFolder folder;
    platform::DiskSpace space;
    long errorCode = 0;
    EXPECT_FALSE(platform::QueryDiskSpace((folder / "absent").string(), space, errorCode));
    EXPECT_EQ(errorCode, ENOENT);
}

TEST(FilesTest, VolumeRootIsTheMountPointOfTheNearestExistingAncestor) {
    ScratchFolder folder;
    const std::string real = std::filesystem::canonical(folder.Path()).string();
    const std::string expected = ExpectedVolume(real);
    EXPECT_EQ(platform::VolumeRoot(real), expected);
    EXPECT_EQ(platform::VolumeRoot(real + "/not/yet/made/Quorvex"), expected);
    EXPECT_EQ(platform::VolumeRoot(real + "/not/yet/../made/"), expected);
    EXPECT_EQ(platform::VolumeRoot("/"), "/");
    EXPECT_EQ(platform::VolumeRoot("/no-such-top-folder/x"), "/");
}

TEST(FilesTest, VolumeRootFollowsSymbolicLinksToAnotherVolume) {
    if (ExpectedVolume("/proc/self") != "/proc") {
        GTEST_SKIP() << "/proc is not a mount point here";
    }
    EXPECT_EQ(platform::VolumeRoot("/proc/no/such/entry"), "/proc");
    ScratchFolder folder;
    std::filesystem::create_directory_symlink("/proc", folder / "link");
    EXPECT_EQ(platform::VolumeRoot((folder / "link/not/yet").string()), "/proc");
}

TEST(FilesTest, VolumeRootOfARelativePathStartsFromTheWorkingFolder) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(platform::VolumeRoot("relative/not/made"), platform::VolumeRoot(cwd));
    EXPECT_EQ(platform::VolumeRoot(""), platform::VolumeRoot(cwd));
}

}  // namespace
