// The folder tree over the stand-in shell: root, lazy levels, selection events, rename.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/standin.h"
#include "raised.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/shelltreeview.h"

namespace {

namespace fs = std::filesystem;
namespace standin = platform::standin;

void MakeFolder(const std::string& windowsPath) {
    // The parent exists, so the host path of the new name is the parent's plus the name.
    const auto cut = windowsPath.find_last_of('\\');
    fs::create_directory(fs::path(standin::HostPath(windowsPath.substr(0, cut))) / windowsPath.substr(cut + 1));
}

struct TreeWindow : TForm {
    explicit TreeWindow(std::string root = "C:\\Program Files")
        : TForm("TreeWindow", 424, 367), Directory(&Page, "Directory", {16, 123, 393, 201}, std::move(root)) {
        Directory.OnChange = [this](TComponent*) { changes.push_back(Directory.Path()); };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TShellTreeView Directory;
    std::vector<std::string> changes;
};

class Tree : public testing::Test {
protected:
    void SetUp() override {
        standin::Reset();
        MakeFolder("C:\\Program Files\\Common Files");
        MakeFolder("C:\\Program Files\\Common Files\\System");
        MakeFolder("C:\\Program Files\\Empty");
        MakeFolder("C:\\Program Files\\.hidden");
        MakeFolder("C:\\Program Files\\alpha");
    }
};

TEST_F(Tree, TheRootIsResolvedFilledAndSelectedOnce) {
    TreeWindow window;
    EXPECT_EQ(window.Directory.Path(), "") << "nothing selected yet";
    window.Directory.CreateRoot();
    const TShellTreeView::Node* root = window.Directory.RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Folder.DisplayName, "Program Files");
    EXPECT_TRUE(root->Expanded);
    std::vector<std::string> names;
    for (const auto& child : root->Children) names.push_back(child->Folder.DisplayName);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Common Files", "Empty"}));
    EXPECT_EQ(window.changes, std::vector<std::string>{"C:\\Program Files"});
    // Only the first level is read.
    EXPECT_FALSE(root->Children[1]->Filled);
    EXPECT_TRUE(root->Children[1]->HasButton);
    EXPECT_FALSE(root->Children[2]->HasButton);
}

TEST_F(Tree, AMissingRootStopsTheWindow) {
    TreeWindow window("C:\\Nowhere");
    ExpectRaised([&] { window.Directory.CreateRoot(); }, "Error setting path: \"C:\\Nowhere\"");
    EXPECT_TRUE(window.changes.empty());
}

TEST_F(Tree, LevelsAreReadOnFirstExpansionOnly) {
    TreeWindow window;
    window.Directory.CreateRoot();
    TShellTreeView::Node& common = *window.Directory.RootNode()->Children[1];
    window.Directory.Expand(common);
    ASSERT_EQ(common.Children.size(), 1u);
    EXPECT_EQ(common.Children[0]->Folder.Path, "C:\\Program Files\\Common Files\\System");

    // No refresh: a folder made later does not appear.
    MakeFolder("C:\\Program Files\\Common Files\\Later");
    window.Directory.Collapse(common);
    window.Directory.Expand(common);
    EXPECT_EQ(common.Children.size(), 1u);
    EXPECT_TRUE(window.changes.size() == 1) << "expanding changes no selection";
}

TEST_F(Tree, AnEmptyFirstExpansionDropsTheButton) {
    MakeFolder("C:\\Program Files\\Empty\\.only-hidden");
    TreeWindow window;
    window.Directory.CreateRoot();
    TShellTreeView::Node& empty = *window.Directory.RootNode()->Children[2];
    window.Directory.Expand(empty);
    EXPECT_TRUE(empty.Children.empty());
    EXPECT_FALSE(empty.HasButton);
}

TEST_F(Tree, EverySelectionChangeIsReportedAndNoReselection) {
    TreeWindow window;
    window.Directory.CreateRoot();
    TShellTreeView::Node* root = window.Directory.RootNode();
    TShellTreeView::Node* alpha = root->Children[0].get();
    window.Directory.Select(alpha);
    window.Directory.Select(alpha);
    window.Directory.Select(root);
    window.Directory.Select(nullptr);
    EXPECT_EQ(window.changes,
              (std::vector<std::string>{"C:\\Program Files", "C:\\Program Files\\alpha", "C:\\Program Files", ""}));
}

TEST_F(Tree, ARenameChangesTheLabelOnlyWhenTheShellAgrees) {
    MakeFolder("C:\\Program Files\\Taken");
    TreeWindow window;
    window.Directory.CreateRoot();
    TShellTreeView::Node& common = *window.Directory.RootNode()->Children[1];
    window.Directory.Expand(common);
    window.Directory.Select(common.Children[0].get());

    EXPECT_FALSE(window.Directory.Rename(common, "Taken"));
    EXPECT_FALSE(window.Directory.Rename(common, "bad|name"));
    EXPECT_EQ(common.Folder.DisplayName, "Common Files");

    ASSERT_TRUE(window.Directory.Rename(common, "Shared"));
    EXPECT_EQ(common.Folder.DisplayName, "Shared");
    EXPECT_EQ(common.Folder.Path, "C:\\Program Files\\Shared");
    // What was read below it follows it, so the selected path names a folder that exists.
    EXPECT_EQ(window.Directory.Path(), "C:\\Program Files\\Shared\\System");
    EXPECT_TRUE(fs::is_directory(standin::HostPath(window.Directory.Path())));
}

}  // namespace
