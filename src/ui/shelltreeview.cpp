#include "ui/shelltreeview.h"

#include "platform/exception.h"

TShellTreeView::TShellTreeView(TWinControl* parent, std::string name, TBounds bounds, std::string root)
    : TWinControl(parent, std::move(name), bounds), rootPath_(std::move(root)) {
    SetTabStop(true);
}

void TShellTreeView::CreateRoot() {
    std::optional<platform::ShellFolder> folder = platform::ShellResolve(rootPath_);
    if (!folder) throw Exception("Error setting path: \"" + rootPath_ + "\"");
    root_ = std::make_unique<Node>();
    root_->Folder = *folder;
    NotifyPeer(platform::PeerChange::Content);
    Expand(*root_);
    Select(root_.get());
}

void TShellTreeView::Fill(Node& node) {
    node.Filled = true;
    for (platform::ShellFolder& folder : platform::ShellSubfolders(node.Folder.Path)) {
        auto child = std::make_unique<Node>();
        child->HasButton = folder.HasSubfolders;
        child->Folder = std::move(folder);
        node.Children.push_back(std::move(child));
    }
    node.HasButton = !node.Children.empty();
}

void TShellTreeView::Expand(Node& node) {
    if (!node.Filled) Fill(node);
    node.Expanded = true;
    NotifyPeer(platform::PeerChange::Content);
}

void TShellTreeView::Collapse(Node& node) {
    node.Expanded = false;
    NotifyPeer(platform::PeerChange::Content);
}

void TShellTreeView::Select(Node* node) {
    if (node == selected_) return;
    selected_ = node;
    NotifyPeer(platform::PeerChange::Content);
    if (OnChange) OnChange(this);
}

namespace {

// The folders read below a renamed one live under its new path now.
void MovePaths(TShellTreeView::Node& node, const std::string& oldPath, const std::string& newPath) {
    for (auto& child : node.Children) {
        child->Folder.Path = newPath + child->Folder.Path.substr(oldPath.size());
        MovePaths(*child, oldPath, newPath);
    }
}

}  // namespace

bool TShellTreeView::Rename(Node& node, const std::string& newName) {
    std::optional<platform::ShellFolder> renamed = platform::ShellRename(node.Folder.Path, newName);
    if (!renamed) return false;
    const std::string oldPath = node.Folder.Path;
    node.Folder.DisplayName = renamed->DisplayName;
    node.Folder.Path = renamed->Path;
    MovePaths(node, oldPath, node.Folder.Path);
    NotifyPeer(platform::PeerChange::Content);
    return true;
}

std::string TShellTreeView::Path() const { return selected_ ? selected_->Folder.Path : std::string(); }
