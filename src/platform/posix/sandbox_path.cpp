#include "platform/posix/sandbox_path.h"

#include <algorithm>
#include <system_error>

#include "platform/unicode.h"

namespace platform::standin::detail {
namespace {

bool Within(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

// Capitals to small letters in the Latin, Greek and Cyrillic blocks, as Windows folds
// names; other scripts compare exactly.
char32_t FoldCharacter(char32_t c) {
    if (Within(c, 'A', 'Z') || (Within(c, 0xC0, 0xDE) && c != 0xD7)) return c + 32;
    // Latin Extended-A pairs capital and small letters, at even and odd places but for
    // Ĺ..Ň and Ź..Ž; Ÿ's small letter is in Latin-1; İ and ı have no partner.
    if (c == 0x178) return 0xFF;
    if ((Within(c, 0x139, 0x148) || Within(c, 0x179, 0x17E)) && c % 2 == 1) return c + 1;
    if ((Within(c, 0x100, 0x12F) || Within(c, 0x132, 0x137) || Within(c, 0x14A, 0x177)) && c % 2 == 0) return c + 1;
    if (Within(c, 0x391, 0x3AB) && c != 0x3A2) return c + 32;  // Greek Α..Ϋ
    if (c == 0x386) return 0x3AC;
    if (Within(c, 0x388, 0x38A)) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (Within(c, 0x38E, 0x38F)) return c + 63;
    if (Within(c, 0x400, 0x40F)) return c + 80;  // Cyrillic Ѐ..Џ
    if (Within(c, 0x410, 0x42F)) return c + 32;  // А..Я
    return c;
}

}  // namespace

// Read as UTF-8: an ill-formed byte run folds to U+FFFD, as the system would read it.
std::string FoldCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t position = 0; position < text.size();)
        AppendUtf8(folded, FoldCharacter(DecodeUtf8(text, position)));
    return folded;
}

bool SameName(std::string_view a, std::string_view b) { return FoldCase(a) == FoldCase(b); }

bool ValidName(std::string_view name) {
    if (name.empty() || !IsValidUtf8(name)) return false;
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
    const char32_t drive = FoldCharacter(static_cast<unsigned char>(text[0]));
    if (drive < 'a' || drive > 'z') return std::nullopt;
    WindowsPath path{static_cast<char>(drive), {}};
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
