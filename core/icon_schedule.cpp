#include "core/icon_schedule.h"

#include <algorithm>
#include <cctype>

#include "base/ascii.h"
#include "base/lead_bytes.h"

namespace kestrin {

bool operator==(const FileStamp& a, const FileStamp& b) {
    if (a.exists != b.exists) return false;
    return !a.exists || (a.written == b.written && a.size == b.size);
}

std::string IconQueueOf(std::string_view path) {
    auto lower = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) c = AsciiLower(c);
        return out;
    };
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
    if (path.size() > 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
        // \\server\share: everything up to the separator after the share.
        const size_t server = FindCharOf(path, "\\/", 2);
        if (server == std::string_view::npos) return lower(path);
        const size_t share = FindCharOf(path, "\\/", server + 1);
        return lower(path.substr(0, share));
    }
    return std::string();
}

std::vector<std::string> IconSchedule::Want(const LauncherMenu& menu) {
    std::map<std::string, File> files;
    std::vector<std::string> order;
    // Top level first, then each submenu in menu order: the order a click finds them in.
    std::vector<const std::vector<int>*> levels{&menu.topLevel};
    for (size_t next = 0; next < levels.size(); ++next) {
        for (int index : *levels[next]) {
            const MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
            if (!entry.children.empty()) levels.push_back(&entry.children);
            const PictureRequest& request = entry.picture;
            if (request.source != PictureRequest::Source::File || request.path.empty()) continue;
            auto [it, added] = files.try_emplace(request.path);
            File& file = it->second;
            if (added) {
                auto old = files_.find(request.path);
                if (old != files_.end()) {
                    file = std::move(old->second);
                    file.wanted.clear();
                    file.entries.clear();
                    files_.erase(old);
                } else {
                    file.queue = IconQueueOf(request.path);
                }
                order.push_back(request.path);
            }
            file.wanted.insert(request.index);
            file.entries.emplace_back(index, request.index);
        }
    }
    std::vector<std::string> gone;
    for (const auto& [path, file] : files_) {
        // A job out for a forgotten file still frees its queue when it comes back.
        if (file.busy) busyQueues_.erase(file.queue);
        gone.push_back(path);
    }
    files_.swap(files);
    order_.swap(order);
    return gone;
}

void IconSchedule::LookAgain() {
    for (auto& [path, file] : files_) {
        if (file.busy) file.lookAgain = true;
        else file.needLook = true;
    }
}

void IconSchedule::Prioritize(const std::vector<int>& entries) {
    std::vector<std::string> first;
    for (const auto& path : order_) {
        const File& file = files_.at(path);
        const bool wanted = std::any_of(file.entries.begin(), file.entries.end(), [&](const auto& used) {
            return std::find(entries.begin(), entries.end(), used.first) != entries.end();
        });
        if (wanted) first.push_back(path);
    }
    if (first.empty()) return;
    std::vector<std::string> rest;
    for (const auto& path : order_)
        if (std::find(first.begin(), first.end(), path) == first.end()) rest.push_back(path);
    first.insert(first.end(), rest.begin(), rest.end());
    order_.swap(first);
}

bool IconSchedule::HasWork(const File& file) {
    if (file.needLook || file.count < 0) return true;
    for (int index : file.wanted)
        if (index < file.count && !file.ready.count(index)) return true;
    return false;
}

std::vector<IconJob> IconSchedule::Start() {
    std::vector<IconJob> jobs;
    for (const auto& path : order_) {
        File& file = files_.at(path);
        if (file.busy || busyQueues_.count(file.queue) || !HasWork(file)) continue;
        IconJob job;
        job.path = path;
        job.queue = file.queue;
        job.hasKnown = file.looked;
        job.known = file.stamp;
        job.countKnown = file.count >= 0;
        job.wanted.assign(file.wanted.begin(), file.wanted.end());
        for (int index : file.wanted)
            if (!file.ready.count(index) && (file.count < 0 || index < file.count)) job.missing.push_back(index);
        job.pause = file.slow;
        file.busy = true;
        busyQueues_.insert(file.queue);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

IconSchedule::Picture IconSchedule::PictureIn(const File& file, int index) {
    if (file.count < 0) return Picture::Pending;
    return index < file.count ? Picture::Icon : Picture::None;
}

IconChange IconSchedule::Done(const IconResult& result) {
    IconChange change;
    auto found = files_.find(result.path);
    if (found == files_.end()) return change;  // forgotten meanwhile
    File& file = found->second;
    if (!file.busy) return change;
    file.busy = false;
    busyQueues_.erase(file.queue);
    file.needLook = file.lookAgain;
    file.lookAgain = false;
    if (result.slow) {
        // Left unopened; looked at again (after a pause) until it answers.
        file.slow = true;
        file.needLook = true;
        return change;
    }
    file.slow = false;
    file.looked = true;
    std::vector<Picture> before;
    for (const auto& [entry, index] : file.entries) before.push_back(PictureIn(file, index));
    if (result.replaced) {
        change.dropped = true;
        file.stamp = result.stamp;
        file.count = result.count;
        file.ready.clear();
    } else if (result.count >= 0) {
        file.count = result.count;
    }
    file.ready.insert(result.read.begin(), result.read.end());
    for (size_t i = 0; i < file.entries.size(); ++i) {
        const auto [entry, index] = file.entries[i];
        const Picture after = PictureIn(file, index);
        const bool read = std::find(result.read.begin(), result.read.end(), index) != result.read.end();
        if ((after == Picture::None) != (before[i] == Picture::None)) change.placesChanged = true;
        if (read || after != before[i] || result.replaced) change.entries.push_back(entry);
    }
    return change;
}

IconSchedule::Picture IconSchedule::PictureOf(const PictureRequest& request) const {
    if (request.source != PictureRequest::Source::File || request.path.empty()) return Picture::None;
    auto found = files_.find(request.path);
    if (found == files_.end()) return Picture::Pending;
    return PictureIn(found->second, request.index);
}

bool IconSchedule::Ready(const PictureRequest& request) const {
    auto found = files_.find(request.path);
    return found != files_.end() && found->second.ready.count(request.index) > 0;
}

bool IconSchedule::Idle() const {
    return busyQueues_.empty() &&
           std::none_of(files_.begin(), files_.end(), [](const auto& file) { return HasWork(file.second); });
}

}  // namespace kestrin
