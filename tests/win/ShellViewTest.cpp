// The shell-view mechanism against an in-process folder view. Wine's own desktop view
// cannot position items, so the view, its folder and its item enumerator are fakes here;
// the item id lists are real ones, of files made for the test, so that the system image
// list can be asked about them.
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/ShellViewDesktop.h"
#include "platform/win32/Win32Desktop.h"
#include "tests/win/ScratchFolder.h"
#include "tools/desktophost/StandInDesktop.h"

namespace pellmark::win32 {
namespace {

using platform::DesktopReadStatus;

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const noexcept { ::CoTaskMemFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

// A method of a fake that the code under test must never call.
#define NOT_IMPLEMENTED(...)                         \
    HRESULT STDMETHODCALLTYPE __VA_ARGS__ override { \
        return E_NOTIMPL;                            \
    }

// QueryInterface of a fake that offers one interface besides IUnknown.
HRESULT AnswerQuery(IUnknown* self, REFIID offered, REFIID asked, void** out) {
    if (asked == IID_IUnknown || asked == offered) {
        *out = self;
        self->AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

class FakeEnumerator final : public IEnumIDList {
  public:
    // Hands out copies of `items`; fails instead of handing out item `failAt`.
    FakeEnumerator(std::vector<const ITEMIDLIST*> items, int failAt)
        : items_(std::move(items)), failAt_(failAt) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return AnswerQuery(this, IID_IEnumIDList, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* out, ULONG* fetched) override {
        ULONG given = 0;
        while (given < count && next_ < items_.size()) {
            if (static_cast<int>(next_) == failAt_) {
                return E_FAIL;
            }
            out[given++] = static_cast<PITEMID_CHILD>(::ILClone(items_[next_++]));
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    NOT_IMPLEMENTED(Skip(ULONG))
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }

    [[nodiscard]] long refs() const { return refs_; }

  private:
    std::vector<const ITEMIDLIST*> items_;
    int failAt_;
    std::size_t next_ = 0;
    long refs_ = 0;
};

struct NamedItem {
    const ITEMIDLIST* pidl;
    std::wstring name;
};

class FakeFolder final : public IShellFolder {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return AnswerQuery(this, IID_IShellFolder, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    NOT_IMPLEMENTED(ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*))
    NOT_IMPLEMENTED(EnumObjects(HWND, SHCONTF, IEnumIDList**))
    NOT_IMPLEMENTED(BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**))
    NOT_IMPLEMENTED(BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**))
    NOT_IMPLEMENTED(CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE))
    NOT_IMPLEMENTED(CreateViewObject(HWND, REFIID, void**))
    NOT_IMPLEMENTED(GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*))
    NOT_IMPLEMENTED(GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**))
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags,
                                               STRRET* name) override {
        nameFlags.push_back(flags);
        for (const auto& item : items) {
            if (::ILIsEqual(item.pidl, pidl)) {
                name->uType = STRRET_WSTR;
                const std::wstring told =
                    flags == SHGDN_FORPARSING ? L"C:\\Desktop\\" + item.name : item.name;
                return ::SHStrDupW(told.c_str(), &name->pOleStr);
            }
        }
        return E_INVALIDARG;
    }
    NOT_IMPLEMENTED(SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*))

    [[nodiscard]] long refs() const { return refs_; }

    std::vector<NamedItem> items;
    std::vector<SHGDNF> nameFlags;

  private:
    long refs_ = 1;  // the test's own
};

struct PlacedItem {
    const ITEMIDLIST* pidl;
    POINT position;
};

// One SelectAndPositionItems call.
struct Move {
    std::vector<int> items;  // indexes into the view's items, -1 where an id list matches none
    std::vector<POINT> points;
    DWORD flags;
};

// A desktop view. `items` is the order the folder stores them in; Items() hands them out
// in `viewOrder` only when asked for the view's order.
class FakeView final : public IFolderView, public IShellView {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IFolderView) {
            *out = static_cast<IFolderView*>(this);
        } else if (hasWindow && (iid == IID_IShellView || iid == IID_IOleWindow)) {
            *out = static_cast<IShellView*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    // IFolderView
    NOT_IMPLEMENTED(GetCurrentViewMode(UINT*))
    NOT_IMPLEMENTED(SetCurrentViewMode(UINT))
    HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** out) override {
        *out = nullptr;
        if (folder == nullptr || failGetFolder) {
            return E_FAIL;
        }
        return folder->QueryInterface(iid, out);
    }
    NOT_IMPLEMENTED(Item(int, PITEMID_CHILD*))
    NOT_IMPLEMENTED(ItemCount(UINT, int*))
    HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID iid, void** out) override {
        *out = nullptr;
        itemsFlags.push_back(flags);
        if (failItems) {
            return E_FAIL;
        }
        std::vector<const ITEMIDLIST*> order;
        if ((flags & SVGIO_FLAG_VIEWORDER) != 0) {
            for (const int index : viewOrder) {
                order.push_back(items[static_cast<std::size_t>(index)].pidl);
            }
        } else {
            for (const auto& item : items) {
                order.push_back(item.pidl);
            }
        }
        enumerators.push_back(std::make_unique<FakeEnumerator>(std::move(order), failNextAt));
        return enumerators.back()->QueryInterface(iid, out);
    }
    NOT_IMPLEMENTED(GetSelectionMarkedItem(int*))
    NOT_IMPLEMENTED(GetFocusedItem(int*))
    HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD pidl, POINT* point) override {
        const int index = Find(pidl);
        if (index < 0) {
            return E_INVALIDARG;
        }
        *point = items[static_cast<std::size_t>(index)].position;
        return S_OK;
    }
    NOT_IMPLEMENTED(GetSpacing(POINT*))
    NOT_IMPLEMENTED(GetDefaultSpacing(POINT*))
    HRESULT STDMETHODCALLTYPE GetAutoArrange() override { return autoArrange; }
    NOT_IMPLEMENTED(SelectItem(int, DWORD))
    HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY pidls,
                                                     POINT* points, DWORD flags) override {
        Move move{{}, {}, flags};
        for (UINT i = 0; i < count; ++i) {
            move.items.push_back(Find(pidls[i]));
            move.points.push_back(points[i]);
        }
        moves.push_back(std::move(move));
        return S_OK;
    }

    // IShellView
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        *out = window;
        return S_OK;
    }
    NOT_IMPLEMENTED(ContextSensitiveHelp(WINBOOL))
    NOT_IMPLEMENTED(TranslateAccelerator(MSG*))
    NOT_IMPLEMENTED(EnableModeless(WINBOOL))
    NOT_IMPLEMENTED(UIActivate(UINT))
    NOT_IMPLEMENTED(Refresh())
    NOT_IMPLEMENTED(CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*, RECT*, HWND*))
    NOT_IMPLEMENTED(DestroyViewWindow())
    NOT_IMPLEMENTED(GetCurrentInfo(LPFOLDERSETTINGS))
    NOT_IMPLEMENTED(AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM))
    NOT_IMPLEMENTED(SaveViewState())
    NOT_IMPLEMENTED(SelectItem(PCUITEMID_CHILD, SVSIF))
    HRESULT STDMETHODCALLTYPE GetItemObject(UINT, REFIID, void** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }

    [[nodiscard]] long refs() const { return refs_; }
    [[nodiscard]] bool EnumeratorsReleased() const {
        for (const auto& enumerator : enumerators) {
            if (enumerator->refs() != 0) {
                return false;
            }
        }
        return true;
    }
    // A new reference for the desktop under test to own.
    [[nodiscard]] ComPtr<IFolderView> Share() {
        AddRef();
        return ComPtr<IFolderView>::Attach(this);
    }

    std::vector<PlacedItem> items;
    std::vector<int> viewOrder;
    IShellFolder* folder = nullptr;
    HRESULT autoArrange = S_FALSE;
    bool hasWindow = true;
    HWND window = nullptr;
    bool failItems = false;
    bool failGetFolder = false;
    int failNextAt = -1;

    std::vector<UINT> itemsFlags;
    std::vector<Move> moves;
    std::vector<std::unique_ptr<FakeEnumerator>> enumerators;

  private:
    [[nodiscard]] int Find(PCUITEMID_CHILD pidl) const {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (::ILIsEqual(items[i].pidl, pidl)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    long refs_ = 1;  // the test's own
};

// Counts what is taken from and given back to the COM task allocator while registered.
class AllocationSpy final : public IMallocSpy {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return AnswerQuery(this, IID_IMallocSpy, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        if (block != nullptr) {
            const std::lock_guard lock(mutex_);
            live_.insert(block);
        }
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, WINBOOL) override {
        const std::lock_guard lock(mutex_);
        live_.erase(block);
        return block;
    }
    void STDMETHODCALLTYPE PostFree(WINBOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** request,
                                        WINBOOL) override {
        const std::lock_guard lock(mutex_);
        reallocated_ = live_.erase(block) != 0 ? block : nullptr;
        *request = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, WINBOOL) override {
        const std::lock_guard lock(mutex_);
        if (block != nullptr) {
            live_.insert(block);
        } else if (reallocated_ != nullptr) {
            live_.insert(reallocated_);
        }
        return block;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* block, WINBOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, WINBOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, WINBOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, WINBOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    [[nodiscard]] std::size_t Outstanding() {
        const std::lock_guard lock(mutex_);
        return live_.size();
    }

  private:
    std::mutex mutex_;
    std::set<void*> live_;
    void* reallocated_ = nullptr;
};

const std::wstring kLongName = L"A caption of forty-five characters, long one!";
// Western, Cyrillic, Japanese and an emoji: no ANSI code page holds them all.
const std::wstring kScriptsName =
    L"Caf\u00e9, \u041E\u0442\u0447\u0451\u0442 \u65E5\u672C \U0001F4C1";

class ShellViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        // Different kinds, so the system image list has something to tell apart.
        for (const char* name : {"notes.txt", "setup.ini", "picture.bmp", "other.txt"}) {
            paths_.push_back(Widen(scratch_.File(name)));
            ASSERT_TRUE(testcases::WriteFileBytes(scratch_.File(name), ""));
        }
        paths_.push_back(Widen(scratch_.File("sub folder")));
        ::CreateDirectoryW(paths_.back().c_str(), nullptr);
        for (const auto& path : paths_) {
            pidls_.emplace_back(::ILCreateFromPathW(path.c_str()));
            ASSERT_TRUE(pidls_.back()) << "no item id list for a file just made";
        }

        // Stored 0..3, shown 2, 0, 3, 1.
        view_.items = {{pidls_[0].get(), {10, 20}},
                       {pidls_[1].get(), {-20, 3000}},
                       {pidls_[2].get(), {75, 0}},
                       {pidls_[3].get(), {1900, 1040}}};
        view_.viewOrder = {2, 0, 3, 1};
        folder_.items = {{pidls_[0].get(), L"Notes, draft"},
                         {pidls_[1].get(), kScriptsName},
                         {pidls_[2].get(), kLongName},
                         {pidls_[3].get(), L"He said \"hi\""},
                         {pidls_[4].get(), L"Sub folder"}};
        view_.folder = &folder_;
    }

    void TearDown() override {
        EXPECT_EQ(view_.refs(), 1);
        EXPECT_EQ(folder_.refs(), 1);
        EXPECT_TRUE(view_.EnumeratorsReleased());
        pidls_.clear();
        ::CoUninitialize();
    }

    // The icon index the system image list gives the file by its path.
    [[nodiscard]] int IconByPath(std::size_t file) const {
        SHFILEINFOW info{};
        ::SHGetFileInfoW(paths_[file].c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
        return info.iIcon;
    }

    const testcases::ScratchFolder scratch_;
    std::vector<std::wstring> paths_;
    std::vector<UniquePidl> pidls_;
    FakeFolder folder_;
    FakeView view_;
};

TEST_F(ShellViewTest, ReadsItemsInViewOrderWithCaptionsPositionsAndPictures) {
    const HWND listView = reinterpret_cast<HWND>(0x4321);
    {
        ShellViewDesktop desktop(view_.Share());
        const auto read = desktop.ReadIcons(listView);

        ASSERT_EQ(read.status, DesktopReadStatus::Ok);
        EXPECT_EQ(read.listView, reinterpret_cast<pellmark::WindowHandle>(listView));
        ASSERT_EQ(view_.itemsFlags.size(), 1u);
        EXPECT_EQ(view_.itemsFlags[0] & SVGIO_TYPE_MASK, static_cast<UINT>(SVGIO_ALLVIEW));
        ASSERT_EQ(read.icons.size(), 4u);

        const std::size_t stored[] = {2, 0, 3, 1};
        for (std::size_t i = 0; i < read.icons.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& placed = view_.items[stored[i]];
            EXPECT_EQ(read.icons[i].x, placed.position.x);
            EXPECT_EQ(read.icons[i].y, placed.position.y);
            EXPECT_EQ(read.icons[i].imageIndex, IconByPath(stored[i]));
        }

        // Cut as the list view's 40-character buffer cuts it.
        EXPECT_EQ(read.icons[0].caption, "A caption of forty-five characters, lon");
        EXPECT_EQ(read.icons[1].caption, "Notes, draft");
        EXPECT_EQ(read.icons[1].parsingName, "C:\\Desktop\\Notes, draft");
        EXPECT_EQ(read.icons[2].caption, "He said \"hi\"");
        // Every character arrives as it is, in UTF-8: no code page, no '?'.
        EXPECT_EQ(read.icons[3].caption,
                  "Caf\u00e9, \u041E\u0442\u0447\u0451\u0442 \u65E5\u672C \U0001F4C1");
        for (const SHGDNF flags : folder_.nameFlags) {
            EXPECT_TRUE(flags == SHGDN_NORMAL || flags == SHGDN_FORPARSING) << flags;
        }

        SHFILEINFOW info{};
        const DWORD_PTR systemList =
            ::SHGetFileInfoW(paths_[0].c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
        EXPECT_NE(read.imageList, 0u);
        EXPECT_EQ(read.imageList, static_cast<decltype(read.imageList)>(systemList));
        EXPECT_NE(IconByPath(0), IconByPath(4)) << "a file and a folder share a picture";
    }
    // Destroying the desktop gave back the view, the folder and the enumerator.
}

TEST_F(ShellViewTest, MovesEveryItemOfARestoreInOneCallAndOnlyItemsOfTheLastRead) {
    using pellmark::platform::IconPlacement;
    ShellViewDesktop desktop(view_.Share());
    const IconPlacement first[] = {{0, 5, 5}};
    desktop.MoveIcons(first);
    EXPECT_TRUE(view_.moves.empty()) << "moved before anything was read";

    ASSERT_EQ(desktop.ReadIcons(nullptr).icons.size(), 4u);
    // View order 2, 0, 3, 1 of the stored items; indexes outside the read are left out.
    const IconPlacement restore[] = {{2, -300, 70000}, {-1, 0, 0}, {0, 1, 2},
                                     {4, 9, 9},        {3, 7, 8},  {1 << 30, 0, 0}};
    desktop.MoveIcons(restore);
    ASSERT_EQ(view_.moves.size(), 1u);
    const Move& move = view_.moves[0];
    EXPECT_EQ(move.items, (std::vector<int>{3, 2, 1}));
    ASSERT_EQ(move.points.size(), 3u);
    const POINT expected[] = {{-300, 70000}, {1, 2}, {7, 8}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(move.points[i].x, expected[i].x) << i;
        EXPECT_EQ(move.points[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(move.flags, static_cast<DWORD>(SVSI_POSITIONITEM));

    const IconPlacement outside[] = {{-1, 0, 0}, {4, 0, 0}, {5, 0, 0}};
    desktop.MoveIcons(outside);
    desktop.MoveIcons({});
    EXPECT_EQ(view_.moves.size(), 1u) << "a call with no item of the last read reached the view";
}

TEST_F(ShellViewTest, SecondReadReplacesTheItems) {
    ShellViewDesktop desktop(view_.Share());
    ASSERT_EQ(desktop.ReadIcons(nullptr).icons.size(), 4u);

    // The desktop now shows the folder and one file.
    view_.items = {{pidls_[4].get(), {500, 600}}, {pidls_[1].get(), {7, 8}}};
    view_.viewOrder = {0, 1};
    const auto read = desktop.ReadIcons(nullptr);
    ASSERT_EQ(read.status, DesktopReadStatus::Ok);
    ASSERT_EQ(read.icons.size(), 2u);
    EXPECT_EQ(read.icons[0].caption, "Sub folder");
    EXPECT_EQ(read.icons[0].x, 500);
    EXPECT_EQ(read.icons[0].imageIndex, IconByPath(4));

    const pellmark::platform::IconPlacement moves[] = {{3, 0, 0},  // in the first read only
                                                       {0, 9, 9}};
    desktop.MoveIcons(moves);
    ASSERT_EQ(view_.moves.size(), 1u);
    EXPECT_EQ(view_.moves[0].items, std::vector<int>{0});
    EXPECT_EQ(view_.enumerators.size(), 2u);
    EXPECT_TRUE(view_.EnumeratorsReleased());
}

TEST_F(ShellViewTest, FailingViewGivesNoDesktopAndForgetsTheLastRead) {
    struct Failure {
        const char* what;
        bool items;
        bool folder;
        int nextAt;
    };
    for (const Failure failure :
         {Failure{"Items", true, false, -1}, Failure{"GetFolder", false, true, -1},
          Failure{"Next half-way", false, false, 2}}) {
        SCOPED_TRACE(failure.what);
        view_.failItems = false;
        view_.failGetFolder = false;
        view_.failNextAt = -1;
        view_.moves.clear();
        {
            ShellViewDesktop desktop(view_.Share());
            ASSERT_EQ(desktop.ReadIcons(nullptr).status, DesktopReadStatus::Ok);

            view_.failItems = failure.items;
            view_.failGetFolder = failure.folder;
            view_.failNextAt = failure.nextAt;
            const HWND listView = reinterpret_cast<HWND>(0x77);
            const auto read = desktop.ReadIcons(listView);
            EXPECT_EQ(read.status, DesktopReadStatus::NoDesktop);
            EXPECT_TRUE(read.icons.empty());
            EXPECT_EQ(read.listView, reinterpret_cast<pellmark::WindowHandle>(listView));

            const pellmark::platform::IconPlacement move[] = {{0, 1, 1}};
            desktop.MoveIcons(move);
            EXPECT_TRUE(view_.moves.empty());
        }
        EXPECT_EQ(view_.refs(), 1);
        EXPECT_EQ(folder_.refs(), 1);
        EXPECT_TRUE(view_.EnumeratorsReleased());
    }
}

TEST_F(ShellViewTest, AutoArrangeAndViewWindow) {
    ShellViewDesktop desktop(view_.Share());
    for (const auto& [answer, arranged] :
         {std::pair{S_OK, true}, std::pair{S_FALSE, false}, std::pair{E_FAIL, false}}) {
        view_.autoArrange = answer;
        EXPECT_EQ(desktop.IsAutoArrange(), arranged) << std::hex << answer;
    }

    view_.window = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(desktop.ViewWindow(), view_.window);
    view_.hasWindow = false;
    EXPECT_EQ(desktop.ViewWindow(), nullptr);
    EXPECT_EQ(view_.refs(), 2);  // the desktop's own, no more

    // Without a view at all everything is harmless.
    ShellViewDesktop none{ComPtr<IFolderView>()};
    EXPECT_EQ(none.ReadIcons(nullptr).status, DesktopReadStatus::NoDesktop);
    EXPECT_FALSE(none.IsAutoArrange());
    EXPECT_EQ(none.ViewWindow(), nullptr);
    const pellmark::platform::IconPlacement move[] = {{0, 0, 0}};
    none.MoveIcons(move);
}

TEST_F(ShellViewTest, GivesBackEveryAllocation) {
    {
        // Let the shell set up whatever it keeps for the life of the process first.
        ShellViewDesktop warmUp(view_.Share());
        static_cast<void>(warmUp.ReadIcons(nullptr));
    }
    // Static: COM keeps the spy until every block it saw is freed.
    static AllocationSpy spy;
    ASSERT_EQ(::CoRegisterMallocSpy(&spy), S_OK);
    {
        ShellViewDesktop desktop(view_.Share());
        ASSERT_EQ(desktop.ReadIcons(nullptr).icons.size(), 4u);
        ASSERT_EQ(desktop.ReadIcons(nullptr).icons.size(), 4u);
        const pellmark::platform::IconPlacement move[] = {{1, 3, 4}};
        desktop.MoveIcons(move);
        view_.failNextAt = 1;
        EXPECT_EQ(desktop.ReadIcons(nullptr).status, DesktopReadStatus::NoDesktop);
        view_.failNextAt = -1;
        ASSERT_EQ(desktop.ReadIcons(nullptr).icons.size(), 4u);
        EXPECT_GT(spy.Outstanding(), 0u) << "the read's item id lists are not seen";
    }
    EXPECT_EQ(spy.Outstanding(), 0u);
    EXPECT_EQ(::CoRevokeMallocSpy(), S_OK);
}

// On Vista and later the Shell's view is used exactly when it is the one that holds the
// desktop list view; any other view is ignored and the list view is read directly. A list
// view outside the shell's own process is not asked about at all.
TEST_F(ShellViewTest, DesktopUsesTheShellViewOnlyWhenItHoldsTheListView) {
    standin::Layout layout;
    layout.icons = {{"On the list view", 40, 50, 0}};
    auto made = standin::StandInDesktop::Create(layout);
    ASSERT_TRUE(made.has_value());
    view_.autoArrange = S_OK;

    struct Case {
        const char* name;
        bool viewHoldsListView;
        bool shellOwnsListView;
    } const cases[] = {
        {"the shell's view of its list view", true, true},
        {"another view of the shell", false, true},
        {"a list view of another process", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool holdsListView = c.viewHoldsListView && c.shellOwnsListView;
        view_.window = c.viewHoldsListView ? made->defView() : made->progman();
        view_.moves.clear();
        int asked = 0;
        {
            Win32Desktop::Seams windows10;
            windows10.version = [] { return VersionInfo{148, 10, 0, 19045, 2, ""}; };
            windows10.desktopView = [this, &asked] {
                ++asked;
                return view_.Share();
            };
            windows10.ownedByShell = [&](HWND listView) {
                EXPECT_EQ(listView, made->listView());
                return c.shellOwnsListView;
            };
            Win32Desktop desktop(windows10);

            const auto read = desktop.ReadIcons();
            ASSERT_EQ(read.status, DesktopReadStatus::Ok);
            EXPECT_EQ(read.listView, reinterpret_cast<pellmark::WindowHandle>(made->listView()));
            desktop.MoveIcon(0, 300, 400);
            if (holdsListView) {
                EXPECT_EQ(desktop.LastMechanism(), Win32Desktop::Mechanism::ShellView);
                EXPECT_EQ(read.icons.size(), 4u) << "the view's items";
                ASSERT_EQ(view_.moves.size(), 1u);
                ASSERT_EQ(view_.moves[0].points.size(), 1u);
                EXPECT_EQ(view_.moves[0].points[0].x, 300);
                EXPECT_TRUE(desktop.IsAutoArrange()) << "the view answers";
                EXPECT_EQ(made->CurrentIcons()[0].x, 40) << "the list view was not moved directly";
            } else {
                EXPECT_EQ(desktop.LastMechanism(), Win32Desktop::Mechanism::RemoteMemory);
                ASSERT_EQ(read.icons.size(), 1u);
                EXPECT_EQ(read.icons[0].caption, "On the list view");
                EXPECT_TRUE(view_.moves.empty());
                EXPECT_EQ(made->CurrentIcons()[0].x, 300);
                EXPECT_FALSE(desktop.IsAutoArrange()) << "the list view's own style";
            }
        }
        EXPECT_EQ(asked > 0, c.shellOwnsListView);
        EXPECT_EQ(view_.refs(), 1) << "the desktop gave the view back";
    }
}

// Whether the system hands out a view for the desktop, and how much of it works, depends on
// the shell: Debian's Wine 8 gives one whose GetFolder works but whose Items() answers
// E_NOTIMPL, so its read is NoDesktop. Either way the lookup must come back quietly, and a
// view it gives must be readable without harm.
TEST(ShellViewRealShell, FindsTheDesktopViewOrNothing) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        auto view = FindDesktopFolderView();
        std::printf("desktop folder view under this system: %s\n", view ? "found" : "none");
        if (view) {
            ShellViewDesktop desktop(std::move(view));
            const auto read = desktop.ReadIcons(nullptr);
            EXPECT_TRUE(read.status == DesktopReadStatus::Ok ||
                        read.status == DesktopReadStatus::NoDesktop);
            std::printf("read status %d, %zu icons, view window %p\n",
                        static_cast<int>(read.status), read.icons.size(),
                        static_cast<void*>(desktop.ViewWindow()));
        }
    }
    ::CoUninitialize();
}

}  // namespace
}  // namespace pellmark::win32
