#include "shell/icon_loader_win32.h"

#include <shellapi.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/pictures.h"
#include "base/popup_menu_win32.h"
#include "shell/launcher_menu_win32.h"

namespace kestrin {

namespace {

// A look at a file's attributes that takes longer than this leaves the file unopened: under
// Wine the server itself opens files, so an open that hangs would hold every process up.
constexpr DWORD kSlowLookMs = 500;
// A file whose look was slow is looked at again after this pause, until it answers.
constexpr DWORD kSlowRetryMs = 2000;
// More drives than this share the last workers.
constexpr size_t kMaxWorkers = 8;
// A showing holds the workers up for at most this long, should it never say it is done.
constexpr auto kMaxHold = std::chrono::milliseconds(2000);

FileStamp LookAt(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.exists = true;
        stamp.written = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
        stamp.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }
    return stamp;
}

struct ReadIcons {
    IconResult result;
    std::vector<HICON> icons;  // beside result.read
    // Each icon composed as a sprite here, not on the window's thread (empty: none).
    std::vector<std::vector<DWORD>> sprites;
    int size = 0;              // the icons' size
};

}  // namespace

struct IconLoader::Shared {
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    HWND notify = nullptr;
    UINT message = 0;
    int size = IconSprites::kSize;  // what the workers read at
    bool posted = false;
    std::chrono::steady_clock::time_point heldUntil;  // no new file before this
    std::map<std::string, std::deque<IconJob>> queues;  // by worker
    std::vector<ReadIcons> results;

    ~Shared() {
        for (ReadIcons& read : results)
            for (HICON icon : read.icons)
                if (icon) DestroyIcon(icon);
    }
};

namespace {

// Returns once no showing holds the workers up; false when the loader is going away.
bool WaitWhileHeld(IconLoader::Shared& shared) {
    std::unique_lock<std::mutex> hold(shared.lock);
    while (!shared.stopping && std::chrono::steady_clock::now() < shared.heldUntil)
        shared.wake.wait_until(hold, shared.heldUntil);
    return !shared.stopping;
}

// One file's icons; a showing that begins meanwhile holds it up between two icons (a
// library may hold hundreds).
ReadIcons RunJob(IconLoader::Shared& shared, const IconJob& job, int size) {
    ReadIcons out;
    out.result.path = job.path;
    out.size = size;
    const std::string file = IsSearchedFor(job.path) ? SearchedIconFile(job.path) : job.path;
    const DWORD start = GetTickCount();
    const FileStamp stamp = LookAt(file);
    if (GetTickCount() - start > kSlowLookMs) {
        out.result.slow = true;
        return out;
    }
    out.result.stamp = stamp;
    out.result.replaced = !job.hasKnown || stamp != job.known;
    int count = -1;
    if (out.result.replaced || !job.countKnown)
        count = stamp.exists ? static_cast<int>(ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0)) : 0;
    out.result.count = count;
    for (int index : out.result.replaced ? job.wanted : job.missing) {
        if (count >= 0 && index >= count) continue;
        if (!WaitWhileHeld(shared)) break;
        out.icons.push_back(ExtractSmallIcon(file, index, size));
        out.sprites.push_back(ComposeSprite(out.icons.back(), size));
        out.result.read.push_back(index);
    }
    return out;
}

void Work(std::shared_ptr<IconLoader::Shared> shared, std::string worker) {
    std::unique_lock<std::mutex> hold(shared->lock);
    for (;;) {
        auto& jobs = shared->queues[worker];
        shared->wake.wait(hold, [&] { return shared->stopping || !jobs.empty(); });
        if (shared->stopping) return;
        const IconJob job = jobs.front();
        jobs.pop_front();
        if (job.pause &&
            shared->wake.wait_for(hold, std::chrono::milliseconds(kSlowRetryMs), [&] { return shared->stopping; }))
            return;
        const int size = shared->size;
        hold.unlock();
        if (!WaitWhileHeld(*shared)) return;
        ReadIcons read = RunJob(*shared, job, size);
        hold.lock();
        shared->results.push_back(std::move(read));
        if (!shared->posted && !shared->stopping && shared->notify)
            shared->posted = PostMessageA(shared->notify, shared->message, 0, 0) != FALSE;
    }
}

}  // namespace

IconLoader::IconLoader(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->notify = notify;
    shared_->message = message;
}

IconLoader::~IconLoader() {
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->stopping = true;
    shared_->wake.notify_all();
}

void IconLoader::Want(const LauncherMenu& menu) {
    for (const std::string& path : schedule_.Want(menu)) Forget(path);
    StartJobs();
}

void IconLoader::LookAgain() {
    schedule_.LookAgain();
    StartJobs();
}

void IconLoader::HoldForShowing() {
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->heldUntil = std::chrono::steady_clock::now() + kMaxHold;
}

void IconLoader::ResumeAfterShowing() {
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->heldUntil = {};
    shared_->wake.notify_all();
}

void IconLoader::Prioritize(const std::vector<int>& entries) { schedule_.Prioritize(entries); }

std::vector<int> IconLoader::Pictures(const LauncherMenu& menu) const {
    std::vector<int> pictures(menu.entries.size(), -1);
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        const PictureRequest& request = menu.entries[i].picture;
        if (request.source == PictureRequest::Source::Folder) pictures[i] = kMenuPictureFolder;
        else if (schedule_.PictureOf(request) != IconSchedule::Picture::None) pictures[i] = kEntryIcon;
    }
    return pictures;
}

void IconLoader::Draw(const DRAWITEMSTRUCT& draw, const PictureRequest& request) {
    auto found = icons_.find({request.path, request.index});
    if (found == icons_.end()) return;
    DrawMenuIcon(draw, found->second.icon.get(), size_, sprites_.get(), found->second.sprite);
}

IconChange IconLoader::TakeResults() {
    std::vector<ReadIcons> results;
    {
        std::lock_guard<std::mutex> hold(shared_->lock);
        results.swap(shared_->results);
        shared_->posted = false;
    }
    IconChange all;
    for (ReadIcons& read : results) {
        if (read.size != size_) {
            // Read before the size changed; the schedule, started afresh since, asks again.
            for (HICON icon : read.icons)
                if (icon) DestroyIcon(icon);
            continue;
        }
        const IconChange change = schedule_.Done(read.result);
        // A result the schedule did not take (its file is no longer used) is thrown away.
        const bool taken = !change.entries.empty() || change.dropped;
        if (change.dropped) Forget(read.result.path);
        for (size_t i = 0; i < read.icons.size(); ++i) {
            OwnedIcon icon(read.icons[i]);
            if (!taken) continue;
            const std::pair<std::string, int> key(read.result.path, read.result.read[i]);
            auto old = icons_.find(key);
            if (old != icons_.end()) {
                sprites_->Remove(old->second.sprite);
                icons_.erase(old);
            }
            Loaded loaded;
            loaded.sprite = sprites_->Add(read.sprites[i]);
            loaded.icon = std::move(icon);
            icons_.emplace(key, std::move(loaded));
        }
        all.entries.insert(all.entries.end(), change.entries.begin(), change.entries.end());
        all.placesChanged = all.placesChanged || change.placesChanged;
    }
    StartJobs();
    return all;
}

void IconLoader::Clear() {
    for (auto& [key, loaded] : icons_) sprites_->Remove(loaded.sprite);
    icons_.clear();
    schedule_ = IconSchedule();
}

void IconLoader::SetSize(int size) {
    if (size <= 0 || size == size_) return;
    Clear();
    size_ = size;
    sprites_ = std::make_unique<IconSprites>(size);
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->size = size;
}

void IconLoader::StartJobs() {
    std::vector<IconJob> jobs = schedule_.Start();
    if (jobs.empty()) return;
    std::lock_guard<std::mutex> hold(shared_->lock);
    for (IconJob& job : jobs) {
        std::string worker = job.queue;
        if (!shared_->queues.count(worker) && shared_->queues.size() >= kMaxWorkers)
            worker = shared_->queues.rbegin()->first;
        auto [queue, added] = shared_->queues.try_emplace(worker);
        queue->second.push_back(std::move(job));
        if (added) {
            try {
                std::thread(Work, shared_, worker).detach();
            } catch (const std::system_error&) {
                // No thread: the queue waits for a worker that never comes; its pictures stay away.
            }
        }
    }
    shared_->wake.notify_all();
}

void IconLoader::Forget(const std::string& path) {
    for (auto it = icons_.lower_bound({path, INT_MIN}); it != icons_.end() && it->first.first == path;) {
        sprites_->Remove(it->second.sprite);
        it = icons_.erase(it);
    }
}

}  // namespace kestrin
