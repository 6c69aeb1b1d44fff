#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/icon_schedule.h"

using namespace kestrin;

namespace {

// A menu of icon requests: "path,index" per entry, ">" before an entry puts it in the
// submenu of the entry above it at the top level.
LauncherMenu MenuOf(const std::vector<std::string>& requests) {
    LauncherMenu menu;
    int holder = -1;
    for (const std::string& request : requests) {
        MenuEntry entry;
        const bool inner = request[0] == '>';
        const std::string body = inner ? request.substr(1) : request;
        const size_t comma = body.find(',');
        entry.picture.source = PictureRequest::Source::File;
        entry.picture.path = body.substr(0, comma);
        entry.picture.index = std::stoi(body.substr(comma + 1));
        const int index = static_cast<int>(menu.entries.size());
        if (inner) {
            entry.parent = holder;
            menu.entries[static_cast<size_t>(holder)].children.push_back(index);
        } else {
            menu.topLevel.push_back(index);
            holder = index;
        }
        menu.entries.push_back(entry);
    }
    return menu;
}

std::vector<std::string> Paths(const std::vector<IconJob>& jobs) {
    std::vector<std::string> paths;
    for (const IconJob& job : jobs) paths.push_back(job.path);
    return paths;
}

IconResult Read(const IconJob& job, int count, uint64_t size = 1) {
    IconResult result;
    result.path = job.path;
    result.stamp = {true, 7, size};
    result.replaced = !job.hasKnown || result.stamp != job.known;
    result.count = count;
    for (int index : result.replaced ? job.wanted : job.missing)
        if (index < count) result.read.push_back(index);
    return result;
}

}  // namespace

TEST(IconSchedule, QueuesAreDrivesAndShares) {
    const struct {
        const char* path;
        const char* queue;
    } cases[] = {
        {"c:\\a.exe", "C:"},
        {"D:/x.ico", "D:"},
        {"\\\\Srv\\Share\\a.exe", "\\\\srv\\share"},
        {"\\\\srv\\share", "\\\\srv\\share"},
        {"\\\\srv", "\\\\srv"},
        {"notepad.exe", ""},
        {"sub\\a.ico", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(IconQueueOf(c.path), c.queue) << c.path;
}

TEST(IconSchedule, TopLevelFirstThenSubmenusOneJobPerQueue) {
    IconSchedule schedule;
    const LauncherMenu menu =
        MenuOf({"C:\\top,0", ">C:\\inner,0", ">E:\\inner,1", "D:\\top,0", "C:\\top2,0", "E:\\top,0", "C:\\top,1"});
    schedule.Want(menu);
    // One job per drive, each its drive's first file in reading order.
    EXPECT_EQ(Paths(schedule.Start()), (std::vector<std::string>{"C:\\top", "D:\\top", "E:\\top"}));
    EXPECT_TRUE(schedule.Start().empty());  // every queue busy
    IconJob job;
    job.path = "C:\\top";
    job.wanted = {0, 1};
    EXPECT_EQ(schedule.PictureOf(menu.entries[0].picture), IconSchedule::Picture::Pending);
    const IconChange change = schedule.Done(Read(job, 1));
    EXPECT_EQ(change.entries, (std::vector<int>{0, 6}));
    EXPECT_TRUE(change.placesChanged);  // entry 6 asks for icon 1 of a file with one
    EXPECT_TRUE(schedule.Ready(menu.entries[0].picture));
    EXPECT_EQ(schedule.PictureOf(menu.entries[6].picture), IconSchedule::Picture::None);
    // The top level before the submenus, on the freed drive.
    EXPECT_EQ(Paths(schedule.Start()), (std::vector<std::string>{"C:\\top2"}));
}

TEST(IconSchedule, StaleFilesAreReplacedUnchangedOnesKept) {
    IconSchedule schedule;
    const LauncherMenu menu = MenuOf({"C:\\a,0", "C:\\a,2"});
    schedule.Want(menu);
    auto jobs = schedule.Start();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_FALSE(jobs[0].hasKnown);
    EXPECT_EQ(jobs[0].wanted, (std::vector<int>{0, 2}));
    schedule.Done(Read(jobs[0], 3));
    EXPECT_TRUE(schedule.Idle());
    EXPECT_TRUE(schedule.Start().empty());

    const struct {
        const char* name;
        uint64_t size;
        int count;
        bool dropped;
        bool placesChanged;
    } looks[] = {
        {"unchanged", 1, 3, false, false},
        {"grown, same icons", 2, 3, true, false},
        {"fewer icons", 3, 1, true, true},
        {"more again", 4, 3, true, true},
    };
    for (const auto& look : looks) {
        schedule.LookAgain();
        EXPECT_FALSE(schedule.Idle()) << look.name;
        jobs = schedule.Start();
        ASSERT_EQ(jobs.size(), 1u) << look.name;
        EXPECT_TRUE(jobs[0].hasKnown && jobs[0].countKnown) << look.name;
        const IconChange change = schedule.Done(Read(jobs[0], look.count, look.size));
        EXPECT_EQ(change.dropped, look.dropped) << look.name;
        EXPECT_EQ(change.placesChanged, look.placesChanged) << look.name;
        EXPECT_EQ(schedule.PictureOf(menu.entries[1].picture),
                  look.count > 2 ? IconSchedule::Picture::Icon : IconSchedule::Picture::None)
            << look.name;
        EXPECT_TRUE(schedule.Idle()) << look.name;
    }
}

TEST(IconSchedule, SlowLooksOpenNothingAndAreRetriedWithAPause) {
    IconSchedule schedule;
    const LauncherMenu menu = MenuOf({"S:\\slow,0", "S:\\next,0", "C:\\fast,0"});
    schedule.Want(menu);
    auto jobs = schedule.Start();
    ASSERT_EQ(Paths(jobs), (std::vector<std::string>{"S:\\slow", "C:\\fast"}));
    EXPECT_FALSE(jobs[0].pause);
    IconResult slow;
    slow.path = "S:\\slow";
    slow.slow = true;
    const IconChange change = schedule.Done(slow);
    EXPECT_TRUE(change.entries.empty());
    EXPECT_EQ(schedule.PictureOf(menu.entries[0].picture), IconSchedule::Picture::Pending);
    // The slow file goes on with a pause; the fast drive was never held up.
    jobs = schedule.Start();
    ASSERT_EQ(Paths(jobs), (std::vector<std::string>{"S:\\slow"}));
    EXPECT_TRUE(jobs[0].pause);
    schedule.Done(Read(jobs[0], 1));
    jobs = schedule.Start();
    ASSERT_EQ(Paths(jobs), (std::vector<std::string>{"S:\\next"}));
    EXPECT_FALSE(jobs[0].pause);
}

TEST(IconSchedule, WantKeepsWhatIsKnownAndForgetsUnusedFiles) {
    IconSchedule schedule;
    schedule.Want(MenuOf({"C:\\a,0", "D:\\b,0"}));
    for (const IconJob& job : schedule.Start()) schedule.Done(Read(job, 1));
    const LauncherMenu next = MenuOf({"D:\\b,0", "C:\\c,0", "C:\\a,0"});
    EXPECT_TRUE(schedule.Want(next).empty());
    EXPECT_TRUE(schedule.Ready(next.entries[0].picture));
    EXPECT_EQ(Paths(schedule.Start()), (std::vector<std::string>{"C:\\c"}));
    EXPECT_EQ(schedule.Want(MenuOf({"C:\\c,0"})), (std::vector<std::string>{"C:\\a", "D:\\b"}));
    // The job out for C:\c is still answered; a result for a forgotten file changes nothing.
    IconJob forgotten;
    forgotten.path = "C:\\a";
    EXPECT_TRUE(schedule.Done(Read(forgotten, 1)).entries.empty());
}

TEST(IconSchedule, ShownEntriesAreReadFirstAndLooksAskedDuringAJobAreKept) {
    IconSchedule schedule;
    const LauncherMenu menu = MenuOf({"C:\\a,0", "C:\\b,0", ">C:\\c,0"});
    schedule.Want(menu);
    schedule.Prioritize({2});
    auto jobs = schedule.Start();
    ASSERT_EQ(Paths(jobs), (std::vector<std::string>{"C:\\c"}));
    schedule.LookAgain();  // while C:\c is out
    schedule.Done(Read(jobs[0], 1));
    EXPECT_EQ(Paths(schedule.Start()), (std::vector<std::string>{"C:\\c"}));
}
