// The settings window's folder browser against the real shell dialog: the preselected folder
// shown when the dialog opens, OK returning that folder and Cancel leaving the name alone,
// and no identifier lists left behind. A second thread plays the user. Prints "PASS name"
// or "FAIL name: why" per check.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "base/owned_win32.h"
#include "settings/folder_browser_win32.h"
#include "tests/wine/check.h"

using namespace kestrin;

namespace {

constexpr DWORD kDialogWaitMs = 15000;

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// What the user saw in the dialog before pressing its button.
struct Sighting {
    HWND dialog = nullptr;
    HWND dialogOwner = nullptr;
    std::string selected;  // the tree's selected item
    std::string root;      // the tree's first top-level item
};

HWND FindTree(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM out) -> BOOL {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, WC_TREEVIEWA) != 0) return TRUE;
            *reinterpret_cast<HWND*>(out) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindOurDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM out) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (process != GetCurrentProcessId() || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(hwnd))
                return TRUE;
            *reinterpret_cast<HWND*>(out) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ItemText(HWND tree, HTREEITEM item) {
    if (!item) return {};
    char text[MAX_PATH] = {};
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// Plays the user on another thread: waits for the dialog, notes what it shows once the
// selection has settled, then presses `button`.
class FakeUser {
public:
    explicit FakeUser(int button) : button_(button) { thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr)); }
    // The sighting, once the thread has pressed the button (or given up).
    const Sighting& Seen() {
        WaitForSingleObject(thread_.get(), INFINITE);
        return seen_;
    }

private:
    static DWORD WINAPI Run(void* param) {
        static_cast<FakeUser*>(param)->Play();
        return 0;
    }

    void Play() {
        const DWORD start = GetTickCount();
        HWND dialog = nullptr;
        while (!(dialog = FindOurDialog())) {
            if (GetTickCount() - start > kDialogWaitMs) return;
            Sleep(50);
        }
        seen_.dialog = dialog;
        seen_.dialogOwner = GetWindow(dialog, GW_OWNER);
        if (HWND tree = FindTree(dialog)) {
            // The shell may still be filling the tree; the caret settles on the folder.
            std::string last;
            for (int stable = 0; stable < 5 && GetTickCount() - start < kDialogWaitMs; Sleep(50)) {
                const std::string now = ItemText(tree, TreeView_GetSelection(tree));
                stable = (now == last && !now.empty()) ? stable + 1 : 0;
                last = now;
            }
            seen_.selected = last;
            seen_.root = ItemText(tree, TreeView_GetRoot(tree));
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        // A dialog that ignored the button would hang the whole run: end it instead.
        for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
        if (IsWindow(dialog)) {
            std::printf("FAIL dialog_closes_on_its_button: still open\n");
            std::fflush(stdout);
            ExitProcess(1);
        }
    }

    int button_;
    Sighting seen_;
    OwnedHandle thread_;
};

// Counts the task-allocator blocks handed out while it is registered and not yet freed.
class LiveBlockCounter : public IMallocSpy {
public:
    LiveBlockCounter() { registered_ = SUCCEEDED(CoRegisterMallocSpy(this)); }
    ~LiveBlockCounter() {
        if (registered_) CoRevokeMallocSpy();
    }
    bool Registered() const { return registered_; }
    long Live() const { return live_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMallocSpy)) {
            *out = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        if (block) InterlockedIncrement(&live_);
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
        if (block && spied) InterlockedDecrement(&live_);
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    // A reallocation moves a block; only growing from nothing or shrinking to nothing
    // changes the count, and the allocator reports those as allocations and frees.
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** request, BOOL) override {
        *request = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    volatile LONG live_ = 0;
    bool registered_ = false;
};

struct Outcome {
    bool accepted = false;
    Sighting seen;
};

Outcome BrowseAndPress(FolderBrowser& browser, HWND owner, int button) {
    Outcome outcome;
    FakeUser user(button);
    outcome.accepted = browser.Execute(owner);
    outcome.seen = user.Seen();
    return outcome;
}

std::string SystemFolder() {
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

void OkReturnsThePreselectedFolder(HWND owner) {
    FolderBrowser browser;
    browser.folderName = "C:\\windows\\system32";
    const Outcome out = BrowseAndPress(browser, owner, IDOK);
    Check(out.seen.dialog != nullptr, "dialog_appears", "no dialog of this process within the wait");
    Check(out.seen.dialogOwner == owner, "dialog_is_owned_by_the_given_window", "another owner");
    Check(SameText(out.seen.root, "Desktop"), "default_root_is_the_desktop", "top item \"" + out.seen.root + "\"");
    Check(SameText(out.seen.selected, "system32"), "preselected_folder_is_selected_on_opening",
          "selected \"" + out.seen.selected + "\"");
    Check(out.accepted, "ok_returns_true", "returned false");
    Check(SameText(browser.folderName, SystemFolder()), "ok_returns_the_selected_path",
          "\"" + browser.folderName + "\"");
}

void CancelKeepsTheName(HWND owner) {
    FolderBrowser browser;
    browser.folderName = "C:\\windows";
    const Outcome out = BrowseAndPress(browser, owner, IDCANCEL);
    Check(!out.accepted, "cancel_returns_false", "returned true");
    Check(browser.folderName == "C:\\windows", "cancel_keeps_the_folder_name", "\"" + browser.folderName + "\"");
}

// The returned list goes back to the task allocator: once the shell's own caches have
// settled, more runs leave no more blocks behind.
void IdListsReleased(HWND owner) {
    LiveBlockCounter counter;
    if (!counter.Registered()) {
        Check(false, "id_lists_released", "no allocator spy");
        return;
    }
    long live[3] = {};
    for (long& after : live) {
        FolderBrowser browser;
        browser.folderName = "C:\\windows\\system32";
        BrowseAndPress(browser, owner, IDOK);
        after = counter.Live();
    }
    Check(live[2] == live[1], "id_lists_released",
          "live blocks after runs: " + std::to_string(live[0]) + ", " + std::to_string(live[1]) + ", " +
              std::to_string(live[2]));
}

}  // namespace

int main() {
    ScopedCom com;
    InitCommonControls();
    HWND owner = CreateWindowExA(0, "STATIC", "folder browser owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    OkReturnsThePreselectedFolder(owner);
    CancelKeepsTheName(owner);
    IdListsReleased(owner);
    DestroyWindow(owner);
    return CheckExitCode();
}
