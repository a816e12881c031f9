// The shell namespace behind the folder tree: parse, list, describe and rename folders.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/shell_item.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

win32::ComPtr<IShellFolder> Desktop() {
    win32::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put()))) desktop = {};
    return desktop;
}

win32::ItemList Parse(IShellFolder& desktop, const std::string& path) {
    std::wstring wide = win32::Widen(path);
    win32::ItemList list;
    ULONG eaten = 0;
    if (FAILED(desktop.ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, list.Put(), nullptr))) list.Reset();
    return list;
}

std::string DisplayName(IShellFolder& folder, LPCITEMIDLIST child, SHGDNF flags) {
    STRRET name = {};
    if (FAILED(folder.GetDisplayNameOf(child, flags, &name))) return {};
    // A folder may answer in the system's code page (STRRET_CSTR, STRRET_OFFSET): the shell
    // converts every form to UTF-16.
    win32::TaskMemoryText text;
    if (FAILED(StrRetToStrW(&name, child, text.Put()))) return {};
    return win32::Narrow(text.Get());
}

ShellFolder Describe(IShellFolder& parent, LPCITEMIDLIST child) {
    ShellFolder folder;
    folder.DisplayName = DisplayName(parent, child, SHGDN_INFOLDER);
    folder.Path = DisplayName(parent, child, SHGDN_FORPARSING);
    // A drive root keeps its backslash: "C:" alone names the drive's current directory.
    if (folder.Path.size() > 3 && folder.Path.back() == '\\') folder.Path.pop_back();
    SFGAOF attributes = SFGAO_HASSUBFOLDER | SFGAO_SHARE;
    if (FAILED(parent.GetAttributesOf(1, &child, &attributes))) attributes = 0;
    folder.HasSubfolders = (attributes & SFGAO_HASSUBFOLDER) != 0;
    folder.Shared = (attributes & SFGAO_SHARE) != 0;
    return folder;
}

}  // namespace

win32::ShellItem win32::LocateShellItem(const std::string& path) {
    ShellItem located;
    auto desktop = Desktop();
    if (!desktop) return located;
    located.item = Parse(*desktop.Get(), path);
    if (!located.item) return located;
    if (FAILED(SHBindToParent(located.item.Get(), IID_IShellFolder, located.parent.PutVoid(), &located.child)))
        located.parent = {};
    return located;
}

std::optional<ShellFolder> ShellResolve(const std::string& path) {
    win32::ShellItem located = win32::LocateShellItem(path);
    if (!located.parent) return std::nullopt;
    SFGAOF kind = SFGAO_FOLDER;
    if (FAILED(located.parent->GetAttributesOf(1, &located.child, &kind)) || !(kind & SFGAO_FOLDER))
        return std::nullopt;
    return Describe(*located.parent.Get(), located.child);
}

std::vector<ShellFolder> ShellSubfolders(const std::string& path) {
    auto desktop = Desktop();
    if (!desktop) return {};
    win32::ItemList item = Parse(*desktop.Get(), path);
    if (!item) return {};
    win32::ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(item.Get(), nullptr, IID_IShellFolder, folder.PutVoid()))) return {};
    win32::ComPtr<IEnumIDList> listing;
    // S_FALSE with no enumerator means there is nothing to list.
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS, listing.Put()) != S_OK || !listing) return {};

    std::vector<win32::ItemList> children;
    for (;;) {
        win32::ItemList child;
        ULONG fetched = 0;
        if (listing->Next(1, child.Put(), &fetched) != S_OK || fetched != 1) break;
        children.push_back(std::move(child));
    }
    IShellFolder& shell = *folder.Get();
    std::stable_sort(children.begin(), children.end(), [&shell](const win32::ItemList& a, const win32::ItemList& b) {
        const HRESULT order = shell.CompareIDs(0, a.Get(), b.Get());
        return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) < 0;
    });

    std::vector<ShellFolder> subfolders;
    subfolders.reserve(children.size());
    for (const auto& child : children) subfolders.push_back(Describe(shell, child.Get()));
    return subfolders;
}

std::optional<ShellFolder> ShellRename(const std::string& path, const std::string& newName) {
    win32::ShellItem located = win32::LocateShellItem(path);
    if (!located.parent) return std::nullopt;
    win32::ItemList renamed;
    if (FAILED(located.parent->SetNameOf(nullptr, located.child, win32::Widen(newName).c_str(), SHGDN_INFOLDER,
                                         renamed.Put())))
        return std::nullopt;
    if (renamed) return Describe(*located.parent.Get(), renamed.Get());
    // The shell renamed without handing back the new item: find it by its new path.
    const auto separator = path.find_last_of('\\');
    return ShellResolve(path.substr(0, separator == std::string::npos ? 0 : separator + 1) + newName);
}

}  // namespace platform
