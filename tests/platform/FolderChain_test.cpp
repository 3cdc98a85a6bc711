#include "platform/FolderChain.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using platform::FolderWay;
using platform::GroupMembers;
using platform::walkFolderWay;
using Status = platform::FolderWayResult::Status;
using testing_support::canActAsOtherAccount;
using testing_support::TempDir;

// Desktops give each account a group of its own and set umask 002, so a home and
// the folders made in it are open to that group: to nobody but the user. Any
// other member, or a group nobody can tell, leaves the folder open to others.
TEST(FolderChain, AFolderItsGroupMayWriteIsTakenOnlyWhenThatGroupIsTheUsersOwn) {
    const uid_t me = ::geteuid();
    const uid_t other = testing_support::kOtherUid + 1;
    struct Case {
        const char* what;
        std::optional<GroupMembers> group;
        mode_t homeMode;
        bool taken;
    };
    const Case cases[] = {
        {"a home made under umask 002, a private group", GroupMembers{{}, {me}}, 0775, true},
        {"the user listed in the private group", GroupMembers{{me}, {me}}, 0775, true},
        {"a group with a second member", GroupMembers{{me, other}, {me}}, 0775, false},
        {"a group that is another account's primary one", GroupMembers{{}, {me, other}}, 0775,
         false},
        {"a group listing a name that is no account", GroupMembers{{uid_t(-1)}, {me}}, 0775, false},
        {"a group that cannot be looked up", std::nullopt, 0775, false},
        {"a private group, the home open to all", GroupMembers{{}, {me}}, 0777, false},
    };
    for (const Case& c : cases) {
        TempDir t;
        const fs::path home = t / "home";
        fs::create_directories(home / ".local/share");
        for (const fs::path& f : {home, home / ".local", home / ".local/share"})
            ::chmod(f.c_str(), c.homeMode);
        FolderWay how;
        how.make = true;
        how.groups = [&](gid_t) { return c.group; };
        const auto way = walkFolderWay(home / ".local/share/Quenby/Tolvane4", how);
        EXPECT_EQ(way.status, c.taken ? Status::Safe : Status::Unsafe) << c.what;
        EXPECT_EQ(fs::exists(home / ".local/share/Quenby"), c.taken) << c.what;
        EXPECT_EQ(way.at, c.taken ? home / ".local/share/Quenby/Tolvane4" : home) << c.what;
    }
    // The same with the system's accounts: root's group is root's alone and so
    // another account's primary group, and a group number that names no group
    // tells nothing.
    if (!canActAsOtherAccount()) return;
    struct SystemCase {
        uid_t uid;  // the folder's owner, and the account that walks
        gid_t group;
        bool taken;
    };
    for (SystemCase c : {SystemCase{0, 0, true}, SystemCase{testing_support::kOtherUid, 0, false},
                         SystemCase{testing_support::kOtherUid, 54398, false}}) {
        TempDir t;
        ::chmod(t.path().c_str(), 0755);
        const fs::path home = t / "home";
        fs::create_directory(home);
        ASSERT_EQ(::chown(home.c_str(), c.uid, c.group), 0);
        ::chmod(home.c_str(), 0775);
        const auto walk = [&] { return int(walkFolderWay(home / "Quenby").status); };
        const int status = c.uid == 0 ? walk() : testing_support::runAsOtherAccount(walk, c.uid);
        EXPECT_EQ(status, int(c.taken ? Status::Missing : Status::Unsafe))
            << c.uid << " " << c.group;
    }
}

// A missing folder is made where it is missing, and whatever stands there when we
// come to make it, made by another account a moment before, is checked as any
// folder on the way: never taken for ours unseen.
TEST(FolderChain, AFolderMadeByAnotherBeforeUsIsCheckedLikeAnyOther) {
    using testing_support::runAsOtherAccount;
    struct Case {
        const char* what;
        bool needsOtherAccount;
        std::function<void(const fs::path& missing)> first;  // before our mkdir
        Status expected;
    };
    const Case cases[] = {
        {"nobody else", false, [](const fs::path&) {}, Status::Safe},
        {"made by us, open to all", false,
         [](const fs::path& missing) {
             fs::create_directory(missing);
             ::chmod(missing.c_str(), 0777);
         },
         Status::Unsafe},
        {"made by another account", true,
         [](const fs::path& missing) {
             runAsOtherAccount([&] { return ::mkdir(missing.c_str(), 0755); });
         },
         Status::Unsafe},
        {"another account's link to a folder of ours", true,
         [](const fs::path& missing) {
             const std::string ours = missing.string().substr(0, missing.string().rfind('.'));
             runAsOtherAccount([&] { return ::symlink(ours.c_str(), missing.c_str()); });
         },
         Status::Unsafe},
    };
    // A folder all may make names in, where nobody renames what is not theirs.
    struct stat tmp {};
    if (::lstat("/tmp", &tmp) != 0 || tmp.st_uid != 0 || (tmp.st_mode & 01777) != 01777)
        GTEST_SKIP() << "no /tmp as usual";
    for (const Case& c : cases) {
        if (c.needsOtherAccount && !canActAsOtherAccount()) continue;
        TempDir t;
        ::chmod(t.path().c_str(), 0755);
        const fs::path missing = "/tmp/" + t.path().filename().string() + ".missing";
        struct RemovedAtEnd {
            fs::path path;
            ~RemovedAtEnd() { fs::remove_all(path); }
        } removed{missing};
        FolderWay how;
        how.make = true;
        how.beforeMake = [&](const fs::path& folder) {
            if (folder == missing) c.first(missing);
        };
        const auto way = walkFolderWay(missing / "drive", how);
        EXPECT_EQ(way.status, c.expected) << c.what;
        if (c.expected == Status::Safe) {
            struct stat st {};
            ASSERT_EQ(::lstat(missing.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0700u) << c.what;
            EXPECT_TRUE(fs::is_directory(missing / "drive")) << c.what;
        } else {
            EXPECT_EQ(way.at, missing) << c.what;
            EXPECT_FALSE(fs::exists(missing / "drive")) << c.what;
        }
    }
}

}  // namespace
