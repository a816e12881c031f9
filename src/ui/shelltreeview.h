#pragma once
// The folder tree over the system shell: one root folder, levels read on first expansion,
// folders only, no refresh. OnChange follows every change of the selected node.
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"
#include "ui/control.h"

class TShellTreeView : public TWinControl {
public:
    struct Node {
        platform::ShellFolder Folder;
        std::vector<std::unique_ptr<Node>> Children;
        bool Filled = false;  // its level was read
        bool Expanded = false;
        bool HasButton = false;
    };

    TShellTreeView(TWinControl* parent, std::string name, TBounds bounds, std::string root);

    // Resolves the root through the shell, fills its first level, expands and selects it.
    // Raises "Error setting path: \"<root>\"" when the root cannot be resolved.
    void CreateRoot();

    Node* RootNode() const { return root_.get(); }
    Node* Selected() const { return selected_; }
    // Selecting the selected node raises nothing.
    void Select(Node* node);
    // Reads the level on first expansion; a node whose level came out empty loses its button.
    void Expand(Node& node);
    void Collapse(Node& node);
    // Asks the shell to rename the folder; the label changes only when the shell agrees.
    bool Rename(Node& node, const std::string& newName);

    // The selected folder's file-system path, without a trailing backslash; empty when
    // nothing is selected.
    std::string Path() const;

    bool WantsCharacters() const override { return true; }

    TNotifyEvent OnChange;

private:
    void Fill(Node& node);

    std::string rootPath_;
    std::unique_ptr<Node> root_;
    Node* selected_ = nullptr;
};
