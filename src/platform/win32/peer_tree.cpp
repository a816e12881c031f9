#include "platform/win32/peer_tree.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <iterator>

#include "platform/scoped_value.h"
#include "platform/win32/handle.h"
#include "platform/win32/shell_item.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

constexpr int kIndent = 19;
constexpr UINT kFirstCommand = 1;

HIMAGELIST SystemSmallIcons() {
    SHFILEINFOW info = {};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int IconOf(const std::string& path, UINT extra) {
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(Widen(path).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra))
        return 0;
    return info.iIcon;
}

// The label lives in the caller's text for as long as the control reads the item.
void FillItem(TVITEMW& item, const TShellTreeView::Node& node, std::wstring& label) {
    label = Widen(node.Folder.DisplayName);
    item.mask |= TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    item.pszText = label.data();
    item.iImage = IconOf(node.Folder.Path, 0);
    item.iSelectedImage = IconOf(node.Folder.Path, SHGFI_OPENICON);
    item.cChildren = node.HasButton ? 1 : 0;
    item.stateMask = TVIS_OVERLAYMASK;
    item.state = node.Folder.Shared ? INDEXTOOVERLAYMASK(1) : 0;  // the system's shared-folder overlay
}

}  // namespace

TreePeer::TreePeer(TShellTreeView& tree) : WindowPeer(tree), tree_(tree) {
    Create(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS | (tree.TabStop() ? WS_TABSTOP : 0),
           WS_EX_CLIENTEDGE);
    TreeView_SetImageList(Handle(), SystemSmallIcons(), TVSIL_NORMAL);
    Rescale();
}

void TreePeer::Rescale() {
    WindowPeer::Rescale();
    SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scale(kIndent)), 0);
}

void TreePeer::Changed(PeerChange what) {
    if (what == PeerChange::Content)
        Synchronize();
    else
        WindowPeer::Changed(what);
}

TreePeer::Node* TreePeer::NodeOf(HTREEITEM item) const {
    if (!item) return nullptr;
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
    return reinterpret_cast<Node*>(data.lParam);
}

void TreePeer::Synchronize() {
    const ScopedValue synchronizing(synchronizing_, true);
    if (Node* root = tree_.RootNode()) SynchronizeNode(*root, TVI_ROOT);
    HTREEITEM wanted = nullptr;
    if (const Node* selected = tree_.Selected())
        if (auto found = items_.find(selected); found != items_.end()) wanted = found->second;
    if (TreeView_GetSelection(Handle()) != wanted) TreeView_SelectItem(Handle(), wanted);
}

void TreePeer::SynchronizeNode(Node& node, HTREEITEM parent) {
    std::wstring label;
    HTREEITEM item;
    if (auto found = items_.find(&node); found != items_.end()) {
        item = found->second;
        wchar_t shown[MAX_PATH] = {};
        TVITEMW current = {};
        current.mask = TVIF_TEXT | TVIF_CHILDREN;
        current.hItem = item;
        current.pszText = shown;
        current.cchTextMax = MAX_PATH;
        SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&current));
        if (node.Folder.DisplayName != Narrow(shown) || current.cChildren != (node.HasButton ? 1 : 0)) {
            TVITEMW update = {};
            update.hItem = item;
            FillItem(update, node, label);
            SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&update));
        }
    } else {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_PARAM;
        insert.item.lParam = reinterpret_cast<LPARAM>(&node);
        FillItem(insert.item, node, label);
        item =
            reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        items_.emplace(&node, item);
    }
    for (auto& child : node.Children) SynchronizeNode(*child, item);
    const bool expanded = (TreeView_GetItemState(Handle(), item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    if (node.Expanded != expanded && !node.Children.empty() && &node != userExpanding_)
        TreeView_Expand(Handle(), item, node.Expanded ? TVE_EXPAND : TVE_COLLAPSE);
}

LRESULT TreePeer::Expanding(HTREEITEM item, UINT action) {
    Node* node = NodeOf(item);
    if (synchronizing_ || !node) return FALSE;
    // The control opens or closes the item itself once we return.
    const ScopedValue expanding(userExpanding_, node);
    if (action & TVE_EXPAND) {
        // The hourglass while the shell is read.
        const HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
        const ScopeExit restoreCursor([previous] { SetCursor(previous); });
        tree_.Expand(*node);
        // An empty level: the button is gone and there is nothing to open.
        return node->Children.empty() ? TRUE : FALSE;
    }
    if (action & TVE_COLLAPSE) tree_.Collapse(*node);
    return FALSE;
}

void TreePeer::ContextMenu() {
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    const POINT screen = hit.pt;
    ScreenToClient(Handle(), &hit.pt);
    const Node* node = NodeOf(TreeView_HitTest(Handle(), &hit));
    if (!node) return;

    ShellItem folder = LocateShellItem(node->Folder.Path);
    if (!folder.parent) return;
    ComPtr<IContextMenu> menu;
    if (FAILED(folder.parent->GetUIObjectOf(Handle(), 1, &folder.child, IID_IContextMenu, nullptr, menu.PutVoid())))
        return;
    MenuHandle popup(CreatePopupMenu());
    if (!popup || FAILED(menu->QueryContextMenu(popup.Get(), 0, kFirstCommand, 0x7FFF, CMF_NORMAL | CMF_CANRENAME)))
        return;
    ComPtr<IContextMenu2> drawn;
    menu->QueryInterface(IID_IContextMenu2, drawn.PutVoid());
    UINT command;
    {
        const ScopedValue shown(openMenu_, drawn.Get());
        command = static_cast<UINT>(
            TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr));
    }
    if (command < kFirstCommand) return;

    wchar_t verb[64] = {};
    if (SUCCEEDED(menu->GetCommandString(command - kFirstCommand, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb),
                                         static_cast<UINT>(std::size(verb)))) &&
        lstrcmpiW(verb, L"rename") == 0) {
        SendMessageW(Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(items_.at(node)));
        return;
    }
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = Handle();
    invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&invoke);
}

LRESULT TreePeer::Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (!openMenu_) return 0;
    switch (message) {
        case WM_INITMENUPOPUP:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            handled = SUCCEEDED(openMenu_->HandleMenuMsg(message, wParam, lParam));
            return message == WM_INITMENUPOPUP ? 0 : TRUE;
        default:
            return 0;
    }
}

bool TreePeer::EndLabelEdit(HTREEITEM item, const std::string& text) {
    Node* node = NodeOf(item);
    // The label follows the model, which changes only when the shell renamed the folder.
    if (node) tree_.Rename(*node, text);
    return false;
}

LRESULT TreePeer::Notify(const NMHDR& header) {
    // Its parent is a Unicode window: the tree notifies in UTF-16.
    switch (header.code) {
        case TVN_ITEMEXPANDINGW: {
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            return Expanding(change.itemNew.hItem, change.action);
        }
        case TVN_SELCHANGEDW:
            if (!synchronizing_) tree_.Select(NodeOf(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem));
            return 0;
        case NM_RCLICK:
            ContextMenu();
            return TRUE;
        case TVN_ENDLABELEDITW: {
            const auto& edit = reinterpret_cast<const NMTVDISPINFOW&>(header);
            // No text: the edit was cancelled.
            if (!edit.item.pszText) return FALSE;
            return EndLabelEdit(edit.item.hItem, Narrow(edit.item.pszText));
        }
        default:
            return 0;
    }
}

}  // namespace platform::win32
