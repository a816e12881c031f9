#pragma once
// The folder tree's peer: a SysTreeView32 with the system's small icons, kept in step with
// the model's nodes; expansion fills through the model, the right click opens the shell's
// context menu and label editing renames through the model.
#include <shlobj.h>

#include <map>

#include "platform/win32/peer_window.h"
#include "ui/shelltreeview.h"

namespace platform::win32 {

class TreePeer : public WindowPeer {
public:
    explicit TreePeer(TShellTreeView& tree);
    void Changed(PeerChange what) override;
    LRESULT Notify(const NMHDR& header) override;
    void Rescale() override;

protected:
    // While the shell's menu is up, its submenus (Send To, New) are filled by the shell.
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    using Node = TShellTreeView::Node;
    void Synchronize();
    void SynchronizeNode(Node& node, HTREEITEM parent);
    Node* NodeOf(HTREEITEM item) const;
    LRESULT Expanding(HTREEITEM item, UINT action);
    void ContextMenu();
    bool EndLabelEdit(HTREEITEM item, const std::string& text);

    TShellTreeView& tree_;
    std::map<const Node*, HTREEITEM> items_;
    bool synchronizing_ = false;  // our own changes to the control notify nobody
    const Node* userExpanding_ = nullptr;
    IContextMenu2* openMenu_ = nullptr;  // the menu being shown, not owned
};

}  // namespace platform::win32
