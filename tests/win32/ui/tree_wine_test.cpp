// The folder tree over the real shell under Wine: root, lazy levels driven by keys,
// selection events, the context menu leaving the selection, label editing renaming on disk.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "platform/win32/peer_window.h"
#include "platform/win32/wide_text.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/shelltreeview.h"

namespace {

const std::string kRoot = "C:\\quorvane-tree";

HWND HandleOf(const TControl& control) {
    auto* peer = dynamic_cast<platform::win32::WindowPeer*>(control.Peer());
    return peer ? peer->Handle() : nullptr;
}

void Pump() {
    for (int i = 0; i < 3; ++i) platform::ProcessMessages();
}

void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 1 | 0xC0000000);
    Pump();
}

std::string LabelOf(HWND tree, HTREEITEM item) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return platform::win32::Narrow(text);
}

std::vector<std::string> ChildLabels(HWND tree, HTREEITEM parent) {
    std::vector<std::string> labels;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        labels.push_back(LabelOf(tree, item));
    return labels;
}

int ChildrenFlag(HWND tree, HTREEITEM item) {
    TVITEMW data{};
    data.mask = TVIF_CHILDREN;
    data.hItem = item;
    TreeView_GetItem(tree, &data);
    return data.cChildren;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    KillTimer(nullptr, id);
    EndMenu();
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(platform::win32::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct TreeWindow : TForm {
    TreeWindow() : TForm("TreeWindow", 424, 367) {
        Page.SetTabOrder(0);
        Directory.SetTabOrder(0);
        Directory.OnChange = [this](TComponent*) { changes.push_back(Directory.Path()); };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TShellTreeView Directory{&Page, "Directory", {16, 123, 393, 201}, kRoot};
    std::vector<std::string> changes;
};

class TreeWine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* folder : {"", "\\Beta", "\\Alpha", "\\Alpha\\Inner", "\\Empty", "\\Hidden", "\\OnlyHidden",
                                   "\\OnlyHidden\\Secret", "\\Taken"})
            CreateDirectoryA((kRoot + folder).c_str(), nullptr);
        SetFileAttributesA((kRoot + "\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((kRoot + "\\OnlyHidden\\Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
        com = new platform::ComScope;
    }
    static void TearDownTestSuite() { delete com; }

    void SetUp() override {
        Application.CreateForm(window);
        window.Show();
        window.SelectNext(true);
        Pump();
        tree = HandleOf(window.Directory);
        root = TreeView_GetRoot(tree);
    }

    static inline platform::ComScope* com = nullptr;
    TreeWindow window;
    HWND tree = nullptr;
    HTREEITEM root = nullptr;
};

TEST_F(TreeWine, TheRootIsTheFolderWithItsFirstLevelSelectedOnce) {
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LabelOf(tree, root), "quorvane-tree");
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_EQ(window.changes, std::vector<std::string>{kRoot});
    EXPECT_TRUE(TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED);
    // Folders only, hidden ones left out, in the shell's order.
    EXPECT_EQ(ChildLabels(tree, root), (std::vector<std::string>{"Alpha", "Beta", "Empty", "OnlyHidden", "Taken"}));
    const HTREEITEM alpha = TreeView_GetChild(tree, root);
    EXPECT_EQ(ChildrenFlag(tree, alpha), 1);
    EXPECT_EQ(TreeView_GetChild(tree, alpha), nullptr) << "read on first expansion only";
    EXPECT_FALSE(GetWindowLongA(tree, GWL_STYLE) & TVS_LINESATROOT);
    EXPECT_EQ(TreeView_GetIndent(tree), 19u);
    EXPECT_NE(TreeView_GetImageList(tree, TVSIL_NORMAL), nullptr);
}

TEST_F(TreeWine, KeysSelectAndExpandWithOneChangePerNewSelection) {
    window.SetActiveControl(&window.Directory);
    Pump();
    Key(tree, VK_DOWN);   // Alpha
    Key(tree, VK_RIGHT);  // expands Alpha: its level is read now
    const HTREEITEM alpha = TreeView_GetChild(tree, root);
    EXPECT_EQ(ChildLabels(tree, alpha), std::vector<std::string>{"Inner"});
    Key(tree, VK_DOWN);  // Inner
    Key(tree, VK_UP);    // Alpha again
    EXPECT_EQ(window.changes,
              (std::vector<std::string>{kRoot, kRoot + "\\Alpha", kRoot + "\\Alpha\\Inner", kRoot + "\\Alpha"}));
    EXPECT_EQ(window.Directory.Path(), kRoot + "\\Alpha");
}

// Wine's shell says every folder has sub-folders: the first expansion corrects it.
TEST_F(TreeWine, AFolderWithNoVisibleSubfolderLosesItsButtonWhenOpened) {
    window.SetActiveControl(&window.Directory);
    for (const char* name : {"Empty", "OnlyHidden"}) {
        SCOPED_TRACE(name);
        HTREEITEM item = TreeView_GetChild(tree, root);
        while (item && LabelOf(tree, item) != name) item = TreeView_GetNextSibling(tree, item);
        ASSERT_NE(item, nullptr);
        TreeView_SelectItem(tree, item);
        Key(tree, VK_RIGHT);
        EXPECT_EQ(TreeView_GetChild(tree, item), nullptr);
        EXPECT_EQ(ChildrenFlag(tree, item), 0);
    }
}

TEST_F(TreeWine, TheContextMenuLeavesTheSelection) {
    const HTREEITEM alpha = TreeView_GetChild(tree, root);
    RECT area{};
    TreeView_GetItemRect(tree, alpha, &area, TRUE);
    POINT at{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    ClientToScreen(tree, &at);
    SetCursorPos(at.x, at.y);
    // The shell's menu runs its own loop: a timer closes it.
    SetTimer(nullptr, 0, 500, CloseMenu);
    NMHDR click{tree, static_cast<UINT_PTR>(GetDlgCtrlID(tree)), static_cast<UINT>(NM_RCLICK)};
    SendMessageA(GetParent(tree), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_EQ(window.changes, std::vector<std::string>{kRoot});
}

TEST_F(TreeWine, EditingALabelRenamesTheFolderOnlyWhenTheShellAgrees) {
    HTREEITEM beta = TreeView_GetNextSibling(tree, TreeView_GetChild(tree, root));
    ASSERT_EQ(LabelOf(tree, beta), "Beta");
    window.SetActiveControl(&window.Directory);
    Pump();

    const auto rename = [&](const char* name) {
        const HWND edit = TreeView_EditLabel(tree, beta);
        ASSERT_NE(edit, nullptr);
        SetWindowTextW(edit, platform::win32::Widen(name).c_str());
        TreeView_EndEditLabelNow(tree, FALSE);
        Pump();
    };
    rename("Taken");
    EXPECT_EQ(LabelOf(tree, beta), "Beta") << "a name in use is refused";
    EXPECT_TRUE(IsDirectory(kRoot + "\\Beta"));

    rename("Gamma");
    EXPECT_EQ(LabelOf(tree, beta), "Gamma");
    EXPECT_TRUE(IsDirectory(kRoot + "\\Gamma"));
    EXPECT_FALSE(IsDirectory(kRoot + "\\Beta"));

    // A name no code page holds whole arrives as typed, on disk and in the label.
    const std::string unicode = "Łódź ☃ Квн";
    rename(unicode.c_str());
    EXPECT_EQ(LabelOf(tree, beta), unicode);
    EXPECT_TRUE(IsDirectory(kRoot + "\\" + unicode));
    EXPECT_FALSE(IsDirectory(kRoot + "\\Gamma"));
    MoveFileW(platform::win32::Widen(kRoot + "\\" + unicode).c_str(), platform::win32::Widen(kRoot + "\\Beta").c_str());
}

}  // namespace
