#include "platform/posix/sandbox_path.h"

#include <algorithm>
#include <system_error>

namespace platform::standin::detail {
namespace {

unsigned char FoldByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    // Code page 1252: À..Þ but ×, and Š Œ Ž Ÿ.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return folded;
}

bool SameName(std::string_view a, std::string_view b) { return FoldCase(a) == FoldCase(b); }

bool ValidName(std::string_view name) {
    if (name.empty()) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
    });
}

std::string WindowsPath::Text() const {
    std::string text{static_cast<char>(Drive - 'a' + 'A'), ':', '\\'};
    for (size_t i = 0; i < Components.size(); ++i) {
        if (i > 0) text += '\\';
        text += Components[i];
    }
    return text;
}

std::optional<WindowsPath> ParseWindowsPath(const std::string& text) {
    if (text.size() < 3 || text[1] != ':' || (text[2] != '\\' && text[2] != '/')) return std::nullopt;
    const char drive = static_cast<char>(FoldByte(static_cast<unsigned char>(text[0])));
    if (drive < 'a' || drive > 'z') return std::nullopt;
    WindowsPath path{drive, {}};
    size_t start = 3;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\\/", start);
        if (end == std::string::npos) end = text.size();
        const std::string_view name(text.data() + start, end - start);
        if (name == "..") {
            if (!path.Components.empty()) path.Components.pop_back();
        } else if (!name.empty() && name != ".") {
            if (!ValidName(name)) return std::nullopt;
            path.Components.emplace_back(name);
        }
        start = end + 1;
    }
    return path;
}

std::filesystem::path HostLocation(const std::filesystem::path& sandbox, const WindowsPath& path) {
    std::filesystem::path host = sandbox / std::string(1, path.Drive);
    for (const std::string& name : path.Components) {
        std::error_code error;
        std::filesystem::path chosen = host / name;
        if (!std::filesystem::exists(chosen, error) && std::filesystem::is_directory(host, error)) {
            std::filesystem::directory_iterator entry(host, error), end;
            for (; !error && entry != end; entry.increment(error)) {
                if (SameName(entry->path().filename().string(), name)) {
                    chosen = entry->path();
                    break;
                }
            }
        }
        host = std::move(chosen);
    }
    return host;
}

}  // namespace platform::standin::detail
