// The launcher menu's icons, read by background workers (one per drive or share) so that
// showing the menu never waits for a disk. IconSchedule decides what is read and when; this
// carries it out and keeps what was read. Workers post `message` to the window when they
// have results; the window then calls TakeResults.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/icon_sprites_win32.h"
#include "base/owned_win32.h"
#include "core/icon_schedule.h"
#include "core/launcher_menu.h"

namespace kestrin {

class IconLoader {
public:
    IconLoader(HWND notify, UINT message);
    // Workers still stuck in a file are left behind; they post nothing more.
    ~IconLoader();
    IconLoader(const IconLoader&) = delete;
    IconLoader& operator=(const IconLoader&) = delete;

    // The menu (it must outlive its use here) whose pictures are wanted from now on.
    void Want(const LauncherMenu& menu);
    // Every icon file is looked at again in the background.
    void LookAgain();
    // While a menu is made ready and drawn, the workers start no new file (for at most a
    // couple of seconds), so the showing has the machine to itself; they go on when resumed.
    void HoldForShowing();
    void ResumeAfterShowing();
    // These entries' icons go before the rest of their drives.
    void Prioritize(const std::vector<int>& entries);
    // Every entry's picture place: -1 none, kMenuPictureFolder, or kEntryIcon (also while
    // its file is not counted yet, so the place is there when the icon comes).
    std::vector<int> Pictures(const LauncherMenu& menu) const;
    // Draws the icon when it is ready; draws nothing otherwise.
    void Draw(const DRAWITEMSTRUCT& draw, const PictureRequest& request);
    // On `message`: takes in what the workers read and starts what is next. The entries to
    // draw again, and whether any picture place changed.
    IconChange TakeResults();
    // Everything read is forgotten and read again.
    void Clear();
    // Nothing is waiting to be read, and nothing is being read.
    bool Idle() const { return schedule_.Idle(); }
    // The pictures' size in pixels (the small-icon size of the menu's monitor); a new size
    // forgets everything read at the old one.
    void SetSize(int size);

    // What the workers share with the window; it outlives the loader while a worker runs.
    struct Shared;

private:
    struct Loaded {
        OwnedIcon icon;
        int sprite = -1;
    };
    void StartJobs();
    void Forget(const std::string& path);

    std::shared_ptr<Shared> shared_;
    IconSchedule schedule_;
    std::map<std::pair<std::string, int>, Loaded> icons_;
    int size_ = IconSprites::kSize;
    std::unique_ptr<IconSprites> sprites_ = std::make_unique<IconSprites>(size_);
};

}  // namespace kestrin
