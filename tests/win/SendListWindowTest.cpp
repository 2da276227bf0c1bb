// The send list in its window: Delete, Ctrl+A, "Очистить", and files dropped on the window.

#include <shlobj.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "AppError.h"
#include "ComObject.h"
#include "FormFixture.h"
#include "ItemProp.h"

namespace korvex::test {
namespace {

class SendListWindow : public FormFixture {
protected:
    void SetUp() override {
        CreateReadyForm();
        for (auto name : {L"1.dwg", L"2.dwg", L"3.dwg", L"4.dwg"}) {
            WriteBytes(files / name, "x");
            form->AddPath(files / name, false);
        }
    }
    void PressKey(WORD key, bool ctrl = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        NMLVKEYDOWN key_down{};
        key_down.hdr.hwndFrom = form->ListViewFiles.Handle();
        key_down.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(form->ListViewFiles.Handle()));
        key_down.hdr.code = LVN_KEYDOWN;
        key_down.wVKey = key;
        SendMessageW(GetParent(form->ListViewFiles.Handle()), WM_NOTIFY, key_down.hdr.idFrom,
                     reinterpret_cast<LPARAM>(&key_down));
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }
};

TEST_F(SendListWindow, DeleteRemovesTheSelectedEntriesOnly) {
    PressKey(VK_DELETE);
    EXPECT_EQ(form->SendEntries().Size(), 4u);

    form->ListViewFiles.Select(0);
    form->ListViewFiles.Select(2);
    PressKey(VK_DELETE);
    EXPECT_EQ(FileNames(), (std::vector<std::wstring>{L"2.dwg", L"4.dwg"}));
    EXPECT_EQ(form->ListViewFiles.Count(), 2);
    EXPECT_TRUE(form->ListViewFiles.SelectedIndices().empty());
    // A removed file may be added again.
    form->AddPath(files / L"1.dwg", false);
    EXPECT_EQ(form->SendEntries().Size(), 3u);
}

TEST_F(SendListWindow, CtrlASelectsEverythingAndAPlainAOnlyTypes) {
    PressKey('A');
    EXPECT_TRUE(form->ListViewFiles.SelectedIndices().empty());
    PressKey('A', true);
    EXPECT_EQ(form->ListViewFiles.SelectedIndices().size(), 4u);
    PressKey(VK_DELETE);
    EXPECT_TRUE(form->SendEntries().Empty());
}

TEST_F(SendListWindow, ClearEmptiesTheList) {
    SendMessageW(form->btClear.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->SendEntries().Empty());
    EXPECT_EQ(form->ListViewFiles.Count(), 0);
}

// A drop as the shell makes it: a DROPFILES block with wide names, released by the receiver.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const auto& p : paths) names += p + L'\0';
    names += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A data object of the test's own carrying files as CF_HDROP (and nothing else); its GetData may
// fail or throw instead.
class FilesData final : public platform::ComObject<IDataObject> {
public:
    explicit FilesData(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}
    std::function<HRESULT()> onGetData;  // empty: the files

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        if (onGetData) {
            const HRESULT hr = onGetData();
            if (FAILED(hr)) return hr;
        }
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = MakeDrop(paths_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> paths_;
};

class Drops : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    // A drop hands its names over and returns before anything is added; the add follows from the
    // message loop.
    void Drop(const std::vector<std::wstring>& paths) {
        const std::size_t before = form->SendEntries().Size();
        SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
        EXPECT_EQ(form->SendEntries().Size(), before) << "added while the drop was still being handled";
        PumpPending();
    }
    // The OLE drop of the names through the window's registered target: its result and effect.
    std::pair<HRESULT, DWORD> OleDrop(IDataObject* data) {
        IDropTarget* target = form->DropTarget();
        if (!target) return {E_POINTER, DROPEFFECT_NONE};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, MK_LBUTTON, POINTL{10, 10}, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        const HRESULT hr = target->Drop(data, 0, POINTL{12, 12}, &effect);
        return {hr, effect};
    }
    std::vector<std::wstring> FullPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& e : form->SendEntries().Entries()) paths.push_back(e.FullPath());
        return paths;
    }
};

// Five files and a folder dropped at once arrive in the drop's order, the folder as its whole
// tree where it stands; a file dropped again is skipped.
TEST_F(Drops, EveryItemArrivesInTheDropsOrderAndAFolderWithItsTree) {
    std::vector<std::wstring> dropped;
    for (auto name : {L"e.dwg", L"a.dwg", L"folder", L"d.dwg", L"b.dwg", L"c.dwg"}) dropped.push_back(files / name);
    for (const auto& path : dropped)
        if (!path.ends_with(L"folder")) WriteBytes(path, "d");
    MakeDir(files / L"folder");
    MakeDir(files / L"folder\\sub");
    WriteBytes(files / L"folder\\sub\\deep.dwg", "i");
    dropped.push_back(files / L"a.dwg");
    Drop(dropped);
    EXPECT_EQ(FullPaths(),
              (std::vector<std::wstring>{files / L"e.dwg", files / L"a.dwg", files / L"folder\\sub\\deep.dwg",
                                         files / L"d.dwg", files / L"b.dwg", files / L"c.dwg"}));
    EXPECT_EQ(form->ListViewFiles.Count(), 6);
}

// A path longer than 256 characters arrives whole, and is sized from the disk.
TEST_F(Drops, ALongPathArrivesWhole) {
    std::wstring deep = files.Path();
    while (deep.size() < 280) {
        deep += L"каталог-" + std::to_wstring(deep.size()) + L"\\";
        MakeDir(deep);
    }
    const std::wstring path = deep + L"чертёж-с-длинным-именем.dwg";
    WriteBytes(path, std::string(1024, 'x'));
    ASSERT_GT(path.size(), 300u);
    Drop({path});
    EXPECT_EQ(FullPaths(), std::vector<std::wstring>{path});
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"1 KB");
}

// A drop through OLE (what the shell's drags give) carries the shell's own data object: its files
// arrive as a WM_DROPFILES drop's do; the window takes copies, never a move.
TEST_F(Drops, OleDropOfTheShellsDataObject) {
    for (auto name : {L"one.dwg", L"two.dwg"}) WriteBytes(files / name, "x");
    MakeDir(files / L"folder");
    WriteBytes(files / L"folder\\three.dwg", "x");
    const auto data =
        components::ItemsDataObject(files.Path(), {L"two.dwg", L"folder", L"one.dwg", L"none.dwg"}, form->Handle());
    ASSERT_TRUE(data);
    IDropTarget* target = form->DropTarget();
    ASSERT_NE(target, nullptr);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(data.get(), 0, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    PumpPending();
    EXPECT_EQ(FullPaths(),
              (std::vector<std::wstring>{files / L"two.dwg", files / L"folder\\three.dwg", files / L"one.dwg"}));
}

// The drag source waits inside Drop: Drop only copies the names and returns, before any file is
// added, even for a folder with a large tree; the add follows from the message loop, everything in
// the drop's order. The data object may go as soon as Drop has returned.
TEST_F(Drops, AnOleDropReturnsBeforeAnythingIsAdded) {
    const std::wstring set = MakeSet();
    WriteBytes(files / L"first.dwg", "1");
    WriteBytes(files / L"last.dwg", "2");
    {
        const platform::ComPtr<IDataObject> data(new FilesData({files / L"first.dwg", set, files / L"last.dwg"}));
        EXPECT_EQ(OleDrop(data.get()), std::make_pair(S_OK, static_cast<DWORD>(DROPEFFECT_COPY)));
    }
    EXPECT_TRUE(form->SendEntries().Empty()) << "the walk ran inside Drop";
    ASSERT_TRUE(WaitFor([&] { return form->SendEntries().Size() == 9u; }));
    const std::vector<std::wstring> paths = FullPaths();
    EXPECT_EQ(paths.front(), files / L"first.dwg");
    EXPECT_EQ(paths.back(), files / L"last.dwg");
    for (std::size_t i = 1; i + 1 < paths.size(); ++i) EXPECT_TRUE(paths[i].starts_with(set + L"\\")) << paths[i];
    EXPECT_EQ(form->ListViewFiles.Count(), 9);
    EXPECT_TRUE(prompter.shown.empty());
}

// A window of the test's own that runs an action the first time it is painted: painting is all
// that runs while a long add walks its tree.
struct PaintHook {
    static inline std::function<void()> action;
    HWND hwnd = nullptr;
    PaintHook() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m != WM_PAINT) return DefWindowProcW(w, m, wp, lp);
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            EndPaint(w, &ps);
            if (auto run = std::exchange(action, nullptr)) run();
            return 0;
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvexDropPaintHook";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(L"KorvexDropPaintHook", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, wc.hInstance, nullptr);
        ValidateRect(hwnd, nullptr);
    }
    ~PaintHook() {
        action = nullptr;
        DestroyWindow(hwnd);
    }
};

// A drop that comes while the window cannot take it (an add walks its tree, a modal box is open)
// is not lost: it waits, and its files follow once the window is free, after what was under way.
TEST_F(Drops, ADropWhileTheWindowIsBusyWaitsForIt) {
    const std::wstring tree = files / L"tree";
    MakeDir(tree);
    // More files than the walk meets between two looks at the queue.
    for (int i = 0; i < 150; ++i) WriteBytes(tree + L"\\sheet-" + std::to_wstring(i) + L".dwg", "x");
    WriteBytes(files / L"dropped.dwg", "d");
    const std::vector<std::wstring> dropped{files / L"dropped.dwg"};
    auto sendDrop = [&] { SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0); };
    auto oleDrop = [&] {
        const platform::ComPtr<IDataObject> data(new FilesData(dropped));
        EXPECT_EQ(OleDrop(data.get()).first, S_OK);
    };
    struct Case {
        const char* what;
        std::function<void()> drop;
    };
    const Case cases[] = {{"WM_DROPFILES", sendDrop}, {"an OLE drop", oleDrop}};
    form->SetLongAddDelay(0);  // the add lets windows paint from its first file on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form->ClearSendList();
        // During an add: the drop arrives while the walk lets the windows paint.
        PaintHook hook;
        bool handed = false;
        PaintHook::action = [&] {
            c.drop();
            handed = true;
        };
        InvalidateRect(hook.hwnd, nullptr, TRUE);
        form->AddPath(tree, true);
        ASSERT_TRUE(handed);
        EXPECT_EQ(form->SendEntries().Size(), 150u) << "the drop joined the add under way";
        ASSERT_TRUE(WaitFor([&] { return form->SendEntries().Size() == 151u; }));
        EXPECT_EQ(FullPaths().back(), files / L"dropped.dwg");

        // While a modal box disables the window: added once it is closed.
        form->ClearSendList();
        EnableWindow(form->Handle(), FALSE);
        c.drop();
        for (int i = 0; i < 3; ++i) PumpPending();
        EXPECT_TRUE(form->SendEntries().Empty());
        EnableWindow(form->Handle(), TRUE);
        ASSERT_TRUE(WaitFor([&] { return form->SendEntries().Size() == 1u; }));
        EXPECT_EQ(FullPaths(), dropped);
    }
}

// A drop that fails in our own code reaches the error box, and the drag source hears of it (an
// error and no effect); a source whose data cannot be read is simply not taken.
TEST_F(Drops, AFailedDropReachesTheErrorBox) {
    WriteBytes(files / L"a.dwg", "a");
    struct Case {
        const char* what;
        std::function<HRESULT()> getData;
        HRESULT result;
        const wchar_t* box;  // null: none
    };
    const Case cases[] = {
        {"our error", []() -> HRESULT { throw AppError(L"Перетаскивание не удалось"); }, E_UNEXPECTED,
         L"Перетаскивание не удалось"},
        {"not an error of ours", []() -> HRESULT { throw std::runtime_error("broken"); }, E_UNEXPECTED,
         L"Unexpected error"},
        {"the source cannot give its data", [] { return E_OUTOFMEMORY; }, S_OK, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.shown.clear();
        auto* data = new FilesData({files / L"a.dwg"});
        const platform::ComPtr<IDataObject> owner(data);
        data->onGetData = c.getData;
        EXPECT_EQ(OleDrop(data), std::make_pair(c.result, static_cast<DWORD>(DROPEFFECT_NONE)));
        PumpPending();
        EXPECT_TRUE(form->SendEntries().Empty());
        if (!c.box) {
            EXPECT_TRUE(prompter.shown.empty());
            continue;
        }
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].caption, L"Korvex");
        EXPECT_EQ(prompter.shown[0].text, c.box);
        EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Error);
    }
}

}  // namespace
}  // namespace korvex::test
