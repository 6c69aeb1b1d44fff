// Which launcher-menu icons are ready, which are stale and which to read next. Icons are
// read by background workers, one per drive, so that a file that does not answer holds up
// only the files behind it on its own drive; the showing never waits and uses what is ready.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/launcher_menu.h"

namespace kestrin {

// What a look at a file saw: a file that stays missing counts as unchanged.
struct FileStamp {
    bool exists = false;
    uint64_t written = 0;
    uint64_t size = 0;
};
bool operator==(const FileStamp& a, const FileStamp& b);
inline bool operator!=(const FileStamp& a, const FileStamp& b) { return !(a == b); }

// The queue a picture path is read on: "C:" for a drive, "\\server\share" for a share
// (lower case), "" for a bare name (found on the search path) or a relative path.
std::string IconQueueOf(std::string_view path);

// One visit of a worker to a file: look at it first; when the look was slow, open nothing.
// When the look matches `known`, count the icons if `count` is unknown and read `missing`;
// otherwise count again and read every icon in `wanted`.
struct IconJob {
    std::string path;  // as the menu gives it (a bare name is searched for by the worker)
    std::string queue;
    bool hasKnown = false;
    FileStamp known;
    bool countKnown = false;
    std::vector<int> wanted;
    std::vector<int> missing;
    bool pause = false;  // the last look was slow: wait a while before looking again
};

struct IconResult {
    std::string path;
    bool slow = false;  // the look was slow: nothing was opened, nothing below counts
    FileStamp stamp;
    bool replaced = false;  // the file is new or changed: count and read replace what was known
    int count = -1;         // when counted
    std::vector<int> read;  // the icon numbers read (an icon that came out empty was read too)
};

// What a result changed for the menu.
struct IconChange {
    std::vector<int> entries;    // entries whose picture changed: draw them again
    bool placesChanged = false;  // an entry gains or loses its picture place: build the menu again
    bool dropped = false;        // the file's icons before this result are gone
};

class IconSchedule {
public:
    enum class Picture { None, Pending, Icon };

    // The menu whose pictures are wanted; read top level first, then each submenu in menu
    // order. Files the menu no longer uses are forgotten; returns their paths.
    std::vector<std::string> Want(const LauncherMenu& menu);
    // Every file is looked at again (in the background), to see changes.
    void LookAgain();
    // The entries' files are read before any other of their queues.
    void Prioritize(const std::vector<int>& entries);
    // Jobs for every queue that is idle and has work; their queues are busy until Done.
    std::vector<IconJob> Start();
    IconChange Done(const IconResult& result);

    // An entry's picture place: an icon file's entry keeps one while its count is not known.
    Picture PictureOf(const PictureRequest& request) const;
    bool Ready(const PictureRequest& request) const;
    // Nothing is waiting to be read or looked at, and nothing is being read.
    bool Idle() const;

private:
    struct File {
        std::string queue;
        bool looked = false;
        FileStamp stamp;
        int count = -1;
        std::set<int> wanted;
        std::set<int> ready;
        bool needLook = true;
        bool lookAgain = false;  // asked while a job was out
        bool busy = false;
        bool slow = false;
        std::vector<std::pair<int, int>> entries;  // (entry, icon number) using the file
    };
    static bool HasWork(const File& file);
    static Picture PictureIn(const File& file, int index);

    std::map<std::string, File> files_;
    std::vector<std::string> order_;  // reading order of the paths
    std::set<std::string> busyQueues_;
};

}  // namespace kestrin
