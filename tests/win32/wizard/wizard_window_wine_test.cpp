// The real wizard window under Wine: every control enumerated through its window (class,
// styles, geometry at 96 dpi, text, font, visibility, enabled and checked state, tab
// order), then pages 1 to 3 and back driven by posted mouse and key messages, with the
// language read back from the registry, and once more by the keyboard alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../../native/wizard/layout_table.h"
#include "app/application.h"
#include "i18n/traducteur.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/peer_window.h"
#include "services_probe.h"
#include "window_query.h"
#include "wizard/finstall.h"
#include "wizard_globals.h"

namespace {

using namespace wizard_layout;

using namespace window_query;

// Class names compared without regard to case, as the system does.
std::string LowerClassOf(HWND window) {
    std::string lower = ClassOf(window);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    GetObjectA(handle, sizeof font, &font);
    return font;
}

std::optional<std::string> StoredLanguage() {
    return probe::RegistryString(platform::RootKey::LocalMachine, "Software\\Quorvane\\Quorvane\\entreprise",
                                 "Language");
}

void ForgetStoredLanguage() {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Quorvane\\Quorvane\\entreprise", "Language");
}

// One window for the whole suite: built as the application builds it, in French.
class WizardWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        com = std::make_unique<platform::ComScope>();
        catalogue = std::make_unique<tTranslate>();
        globals.emplace(*catalogue);
        ForgetStoredLanguage();
        window = std::make_unique<TfInstall>();
        window->LocaleLanguage = 12;
        globals->Window(*window);
        Application.CreateForm(*window);
        window->Show();
        Pump();
    }

    static void TearDownTestSuite() {
        window.reset();
        globals.reset();
        catalogue.reset();
        com.reset();
    }

    static void Pump() {
        for (int i = 0; i < 3; ++i) platform::ProcessMessages();
    }

    static void Click(TControl& control) {
        HWND target = HandleOf(control);
        ASSERT_NE(target, nullptr) << control.Name();
        PostClick(target);
        Pump();
    }

    // A key pressed and released at the window that has the focus, or at the active
    // window when no control has it (the focused button was just disabled).
    static void Key(WPARAM key) {
        HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
        ASSERT_NE(target, nullptr);
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 1 | 0xC0000000);
        Pump();
    }

    static void ExpectButtons(TPanel& page, bool back, bool next, const char* nextCaption) {
        EXPECT_TRUE(IsWindowVisible(HandleOf(page))) << page.Name();
        EXPECT_EQ(IsWindowEnabled(HandleOf(window->btnBack)) != FALSE, back) << "Back on " << page.Name();
        EXPECT_EQ(IsWindowEnabled(HandleOf(window->BtnNext)) != FALSE, next) << "Next on " << page.Name();
        EXPECT_EQ(TextOf(HandleOf(window->BtnNext)), nextCaption) << page.Name();
    }

    static std::vector<HWND> TabCycle(int presses) {
        std::vector<HWND> visited;
        for (int i = 0; i < presses; ++i) {
            Key(VK_TAB);
            visited.push_back(GetFocus());
        }
        return visited;
    }

    static inline std::unique_ptr<platform::ComScope> com;
    static inline std::unique_ptr<tTranslate> catalogue;
    static inline std::optional<WizardGlobals> globals;
    static inline std::unique_ptr<TfInstall> window;
};

void Walk(TWinControl& parent, std::vector<TControl*>& out) {
    for (TControl* child : parent.Children()) {
        out.push_back(child);
        if (auto* container = dynamic_cast<TWinControl*>(child)) Walk(*container, out);
    }
}

// The window class a control of that kind must have, and the style bits it must carry.
struct Role {
    std::string Class;
    DWORD Style;
    DWORD StyleMask;
};

Role RoleOf(TControl& control, const TfInstall& w) {
    if (dynamic_cast<TLabel*>(&control) || dynamic_cast<TShape*>(&control) || dynamic_cast<TImage*>(&control))
        return {"static", 0, 0};
    if (dynamic_cast<TBevel*>(&control)) return {"static", 0, 0};
    if (&control == &w.BtnNext) return {"button", BS_DEFPUSHBUTTON, BS_TYPEMASK};
    if (dynamic_cast<TButton*>(&control)) return {"button", BS_PUSHBUTTON, BS_TYPEMASK};
    if (dynamic_cast<TRadioButton*>(&control)) return {"button", BS_RADIOBUTTON, BS_TYPEMASK & ~1u};
    if (dynamic_cast<TCheckBox*>(&control)) return {"button", BS_CHECKBOX, BS_TYPEMASK & ~1u};
    if (dynamic_cast<TEdit*>(&control)) return {"edit", 0, ES_MULTILINE | ES_READONLY};
    if (auto* memo = dynamic_cast<TMemo*>(&control)) {
        const DWORD style = ES_MULTILINE | ES_READONLY | WS_VSCROLL;
        return {memo->Rich() ? "richedit" : "edit", style, style | WS_HSCROLL};
    }
    if (dynamic_cast<TProgressBar*>(&control)) return {"msctls_progress32", 0, WS_TABSTOP};
    if (dynamic_cast<TShellTreeView*>(&control)) return {"systreeview32", 0, 0};
    return {"", 0, 0};  // panels: the program's own class
}

struct FontRole {
    const char* Face;
    int Height;
    bool Bold;
    bool Underline;
};

FontRole ExpectedFont(const std::string& name) {
    static const std::map<std::string, FontRole> special = {
        {"Label1", {"Times New Roman", 13, true, true}},    {"Label19", {"Times New Roman", 13, true, true}},
        {"Label6", {"Times New Roman", 13, true, true}},    {"Label4", {"Times New Roman", 13, true, true}},
        {"Label9", {"Times New Roman", 13, true, true}},    {"Label2", {"Times New Roman", 12, false, false}},
        {"Label20", {"Times New Roman", 12, false, false}}, {"Label7", {"Times New Roman", 12, false, false}},
        {"Label5", {"Times New Roman", 12, false, false}},  {"Label10", {"Times New Roman", 12, false, false}},
        {"Label3", {"MS Sans Serif", 11, true, true}},      {"Label11", {"MS Sans Serif", 11, true, false}},
        {"Label13", {"MS Sans Serif", 11, false, true}},    {"Label16", {"MS Sans Serif", 11, false, true}},
    };
    const auto found = special.find(name);
    return found != special.end() ? found->second : FontRole{"MS Sans Serif", 11, false, false};
}

TEST_F(WizardWine, EveryControlHasItsWindowWithTheStateOfTheTables) {
    TfInstall& w = *window;
    HWND frame = HandleOf(w);
    ASSERT_NE(frame, nullptr);
    RECT client{};
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 424);
    EXPECT_EQ(client.bottom, 367);
    EXPECT_EQ(TextOf(frame), "Installation de Quorvane");
    const LONG frameStyle = GetWindowLongA(frame, GWL_STYLE);
    EXPECT_TRUE(frameStyle & WS_SYSMENU);
    EXPECT_FALSE(frameStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    std::vector<TControl*> controls;
    Walk(w, controls);
    ASSERT_EQ(controls.size(), std::size(kLayout));
    std::string panelClass;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        TControl& control = *controls[i];
        const Layout& expected = kLayout[i];
        SCOPED_TRACE(expected.Name);
        ASSERT_EQ(control.Name(), expected.Name);
        HWND handle = HandleOf(control);
        if (&control == &w.BtnClose) {
            EXPECT_EQ(handle, nullptr);  // painted by its panel, no window of its own
            continue;
        }
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(GetParent(handle), HandleOf(*control.Parent()));

        const Role role = RoleOf(control, w);
        const std::string windowClass = LowerClassOf(handle);
        if (role.Class.empty()) {
            if (panelClass.empty()) panelClass = windowClass;
            EXPECT_EQ(windowClass, panelClass);
        } else {
            EXPECT_EQ(windowClass.substr(0, role.Class.size()), role.Class);
        }
        const auto style = static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE));
        EXPECT_EQ(style & role.StyleMask, role.Style) << std::hex << style;

        const TBounds actual = BoundsOf(handle);
        EXPECT_EQ(actual, control.Bounds());
        ExpectLayoutBounds(actual, expected);

        EXPECT_EQ(IsWindowVisible(handle) != FALSE, control.Showing());
        EXPECT_EQ(IsWindowEnabled(handle) != FALSE, control.Enabled());
        const bool captioned = dynamic_cast<TLabel*>(&control) || dynamic_cast<TButton*>(&control) ||
                               dynamic_cast<TRadioButton*>(&control) || dynamic_cast<TCheckBox*>(&control);
        if (captioned || dynamic_cast<TEdit*>(&control)) {
            EXPECT_EQ(TextOf(handle), control.Caption());
        }
        if (auto* radio = dynamic_cast<TRadioButton*>(&control)) {
            EXPECT_EQ(SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED, radio->Checked());
        }
        if (auto* check = dynamic_cast<TCheckBox*>(&control)) {
            EXPECT_EQ(SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED, check->Checked());
        }

        if (captioned) {
            const FontRole font = ExpectedFont(expected.Name);
            const LOGFONTA actualFont = FontOf(handle);
            EXPECT_STREQ(actualFont.lfFaceName, font.Face);
            EXPECT_EQ(std::abs(actualFont.lfHeight), font.Height);
            EXPECT_EQ(actualFont.lfWeight >= FW_BOLD, font.Bold);
            EXPECT_EQ(actualFont.lfUnderline != 0, font.Underline);
            EXPECT_EQ(actualFont.lfCharSet,
                      std::string(font.Face) == "Times New Roman" ? ANSI_CHARSET : DEFAULT_CHARSET);
        }
    }
    // French is in force: only its agreement box can be seen once page 2 is shown.
    EXPECT_EQ(TextOf(HandleOf(w.rdoagree)), "J' accepte");
    EXPECT_EQ(TextOf(HandleOf(w.btnBack)), "&Précédent");
    EXPECT_TRUE(GetWindowLongA(HandleOf(w.memLicenseEntreFr), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(HandleOf(w.memLicenceEn), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(TextOf(HandleOf(w.TxtDir)), "C:\\Program Files\\Quorvane\\Entreprise\\");
    EXPECT_EQ(GetFocus(), HandleOf(w.BtnNext));
}

// Later elements paint over earlier ones: the title, subtitle, logo and separator of each
// page lie above its white band in the z-order, so the band does not hide them.
TEST_F(WizardWine, HeaderElementsLieAboveTheBand) {
    TfInstall& w = *window;
    const struct {
        TPanel& Page;
        TShape& Band;
        std::vector<TControl*> Above;
    } headers[] = {
        {w.PnlStep1, w.Shape1, {&w.Bevel2, &w.Label1, &w.Label2, &w.Image2}},
        {w.PnlStep2, w.Shape4, {&w.Bevel1, &w.Label19, &w.Label20, &w.Image1}},
        {w.PnlStep3, w.Shape3, {&w.Bevel4, &w.Label6, &w.Label7, &w.Image4}},
        {w.PnlStep4, w.Shape2, {&w.Bevel3, &w.Label4, &w.Label5, &w.Image3}},
        {w.Pnlstep5, w.Shape5, {&w.Bevel5, &w.Label9, &w.Label10, &w.Image5}},
    };
    for (const auto& header : headers) {
        std::map<HWND, int> depth;  // 0 is the top
        int next = 0;
        for (HWND child = GetWindow(HandleOf(header.Page), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            depth[child] = next++;
        for (TControl* element : header.Above)
            EXPECT_LT(depth.at(HandleOf(*element)), depth.at(HandleOf(header.Band))) << element->Name();
    }
}

// The box wraps a line wider than itself; the agreements are laid out so that none is.
TEST_F(WizardWine, EveryAgreementLineFitsItsBox) {
    TfInstall& w = *window;
    for (TMemo* box : {&w.memLicenceEn, &w.memLicenseEntreFr, &w.memLicenseProFr, &w.memLicenseDeBaseFr}) {
        HWND handle = HandleOf(*box);
        RECT format{};
        SendMessageA(handle, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const platform::win32::WindowDC dc(handle);
        const platform::win32::SelectedObject font(dc.Get(),
                                                   reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0)));
        const std::string& text = box->Text();
        for (std::size_t start = 0, end; start <= text.size(); start = end + 2) {
            end = std::min(text.find("\r\n", start), text.size());
            const std::string line = text.substr(start, end - start);
            const DWORD extent =
                GetTabbedTextExtentA(dc.Get(), line.c_str(), static_cast<int>(line.size()), 0, nullptr);
            EXPECT_LE(LOWORD(extent), format.right - format.left) << box->Name() << ": " << line;
            if (end == text.size()) break;
        }
    }
}

TEST_F(WizardWine, PagesOneToThreeAndBackByClicksAndKeys) {
    TfInstall& w = *window;
    ASSERT_EQ(GetFocus(), HandleOf(w.BtnNext));
    ExpectButtons(w.PnlStep1, false, true, "&Suivant");
    EXPECT_EQ(TabCycle(2), (std::vector<HWND>{HandleOf(w.rdoFrench), HandleOf(w.BtnNext)}));

    Key(VK_RETURN);
    ExpectButtons(w.PnlStep2, true, false, "&Suivant");
    EXPECT_FALSE(IsWindowVisible(HandleOf(w.PnlStep1)));
    EXPECT_EQ(StoredLanguage(), "francais");
    Key(VK_RETURN);  // Next disabled: nothing
    EXPECT_TRUE(IsWindowVisible(HandleOf(w.PnlStep2)));

    Click(w.rdoagree);
    EXPECT_EQ(SendMessageA(HandleOf(w.rdoagree), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(HandleOf(w.rdoDeny), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ExpectButtons(w.PnlStep2, true, true, "&Suivant");
    SetFocus(HandleOf(w.BtnNext));
    Pump();
    EXPECT_EQ(TabCycle(4), (std::vector<HWND>{HandleOf(w.btnBack), HandleOf(w.rdoagree), HandleOf(w.memLicenseEntreFr),
                                              HandleOf(w.BtnNext)}));
    Key(VK_TAB);
    Key(VK_TAB);
    Key(VK_TAB);
    ASSERT_EQ(GetFocus(), HandleOf(w.memLicenseEntreFr));
    Key(VK_RETURN);  // the agreement box keeps Enter
    EXPECT_TRUE(IsWindowVisible(HandleOf(w.PnlStep2)));

    Click(w.BtnNext);
    ExpectButtons(w.PnlStep3, true, true, "&Installer");
    EXPECT_EQ(TextOf(HandleOf(w.TxtDir)), "C:\\Program Files\\Quorvane\\Entreprise\\");
    ASSERT_EQ(GetFocus(), HandleOf(w.BtnNext));
    EXPECT_EQ(TabCycle(4),
              (std::vector<HWND>{HandleOf(w.btnBack), HandleOf(w.TxtDir), HandleOf(w.Directory), HandleOf(w.BtnNext)}));
    Key(VK_ESCAPE);  // presses no button
    ExpectButtons(w.PnlStep3, true, true, "&Installer");

    Click(w.btnBack);
    ExpectButtons(w.PnlStep2, true, false, "&Suivant");
    EXPECT_EQ(SendMessageA(HandleOf(w.rdoDeny), BM_GETCHECK, 0, 0), BST_CHECKED);

    Click(w.btnBack);
    ExpectButtons(w.PnlStep1, false, true, "&Suivant");
    Click(w.RdoEnglish);
    EXPECT_EQ(TextOf(HandleOf(w)), "Quorvane installation");
    ExpectButtons(w.PnlStep1, false, true, "&Next");
    EXPECT_EQ(TextOf(HandleOf(w.TxtDir)), "C:\\Program Files\\Quorvane\\Enterprise\\");

    SetFocus(HandleOf(w.RdoEnglish));
    Pump();
    Key(VK_RETURN);  // a radio button has the focus: Enter presses Next
    ExpectButtons(w.PnlStep2, true, false, "&Next");
    EXPECT_EQ(StoredLanguage(), "anglais");
    EXPECT_TRUE(IsWindowVisible(HandleOf(w.memLicenceEn)));
    EXPECT_FALSE(IsWindowVisible(HandleOf(w.memLicenseEntreFr)));
}

struct GroupStep {
    WPARAM Key;
    TRadioButton* Reached;
    TRadioButton* Other;
};

void ExpectReached(const GroupStep& step) {
    EXPECT_EQ(GetFocus(), HandleOf(*step.Reached)) << step.Reached->Name();
    EXPECT_EQ(SendMessageA(HandleOf(*step.Reached), BM_GETCHECK, 0, 0), BST_CHECKED) << step.Reached->Name();
    EXPECT_EQ(SendMessageA(HandleOf(*step.Other), BM_GETCHECK, 0, 0), BST_UNCHECKED) << step.Other->Name();
}

// The arrows check the other language and the agreement, Enter goes on, and the default
// frame follows the focused push button.
TEST_F(WizardWine, TheKeyboardAloneChoosesTheLanguageAndTheAgreement) {
    TfInstall& w = *window;
    for (int i = 0; i < 4 && !IsWindowVisible(HandleOf(w.PnlStep1)); ++i) Click(w.btnBack);
    ASSERT_TRUE(IsWindowVisible(HandleOf(w.PnlStep1)));
    Click(w.rdoFrench);
    SetFocus(HandleOf(w.BtnNext));
    Pump();
    EXPECT_TRUE(Framed(HandleOf(w.BtnNext)));
    EXPECT_FALSE(Framed(HandleOf(w.btnBack)));

    Key(VK_TAB);  // Back is disabled on page 1
    ASSERT_EQ(GetFocus(), HandleOf(w.rdoFrench));
    const struct {
        GroupStep Step;
        const char* Title;
        const char* Next;
    } languages[] = {
        {{VK_DOWN, &w.RdoEnglish, &w.rdoFrench}, "Quorvane installation", "&Next"},
        {{VK_RIGHT, &w.rdoFrench, &w.RdoEnglish}, "Installation de Quorvane", "&Suivant"},
        {{VK_UP, &w.RdoEnglish, &w.rdoFrench}, "Quorvane installation", "&Next"},
        {{VK_LEFT, &w.rdoFrench, &w.RdoEnglish}, "Installation de Quorvane", "&Suivant"},
    };
    for (const auto& language : languages) {
        Key(language.Step.Key);
        ExpectReached(language.Step);
        EXPECT_EQ(TextOf(HandleOf(w)), language.Title);
        EXPECT_EQ(TextOf(HandleOf(w.BtnNext)), language.Next);
        EXPECT_TRUE(Framed(HandleOf(w.BtnNext)));
    }

    Key(VK_RETURN);
    ExpectButtons(w.PnlStep2, true, false, "&Suivant");
    EXPECT_EQ(StoredLanguage(), "francais");
    Key(VK_TAB);  // from the window, whose page 1 took the focus with it
    ASSERT_EQ(GetFocus(), HandleOf(w.rdoDeny));
    const struct {
        GroupStep Step;
        bool NextEnabled;
    } agreement[] = {
        {{VK_LEFT, &w.rdoagree, &w.rdoDeny}, true},
        {{VK_RIGHT, &w.rdoDeny, &w.rdoagree}, false},
        {{VK_DOWN, &w.rdoagree, &w.rdoDeny}, true},
    };
    for (const auto& choice : agreement) {
        Key(choice.Step.Key);
        ExpectReached(choice.Step);
        EXPECT_EQ(IsWindowEnabled(HandleOf(w.BtnNext)) != FALSE, choice.NextEnabled);
    }

    Key(VK_RETURN);
    ExpectButtons(w.PnlStep3, true, true, "&Installer");
    EXPECT_EQ(TabCycle(2), (std::vector<HWND>{HandleOf(w.BtnNext), HandleOf(w.btnBack)}));
    EXPECT_TRUE(Framed(HandleOf(w.btnBack)));
    EXPECT_FALSE(Framed(HandleOf(w.BtnNext)));
    Key(VK_RETURN);  // Back has the focus
    ExpectButtons(w.PnlStep2, true, false, "&Suivant");
    EXPECT_EQ(GetFocus(), HandleOf(w.btnBack));
    EXPECT_TRUE(Framed(HandleOf(w.btnBack)));
    Key(VK_RETURN);  // page 1, where Back is disabled: the frame goes back to Next
    ExpectButtons(w.PnlStep1, false, true, "&Suivant");
    EXPECT_TRUE(Framed(HandleOf(w.BtnNext)));
    EXPECT_FALSE(Framed(HandleOf(w.btnBack)));
}

// Ink on a bitmap: the pixels other than its most frequent colour, the background.
struct Ink {
    int Pixels = 0;
    int Right = 0;  // one past the rightmost column with ink
};

Ink InkOf(HDC dc, int width, int height) {
    std::map<COLORREF, int> colours;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ++colours[GetPixel(dc, x, y)];
    COLORREF background = 0;
    int most = 0;
    for (const auto& [colour, count] : colours)
        if (count > most) std::tie(background, most) = std::tie(colour, count);
    Ink ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (GetPixel(dc, x, y) != background) {
                ++ink.Pixels;
                ink.Right = std::max(ink.Right, x + 1);
            }
    return ink;
}

// A bitmap to draw on, selected into a memory DC for its lifetime.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        const HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return dc_; }
    Ink Ink() const { return InkOf(dc_, width_, height_); }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// The label's text drawn unclipped in the label's font: its advance and its ink.
struct FreeText {
    int Width;
    ::Ink Ink;
};

FreeText DrawFree(HWND label) {
    const std::wstring text = platform::win32::Widen(TextOf(label).empty() ? " " : TextOf(label));
    const UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    Canvas canvas(BoundsOf(label).Width + 64, BoundsOf(label).Height + 16);
    const HGDIOBJ previous = SelectObject(canvas.Dc(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, 0, 0};
    DrawTextW(canvas.Dc(), text.c_str(), -1, &extent, format | DT_CALCRECT);
    RECT room{0, 0, extent.right + 64, extent.bottom + 16};
    SetBkMode(canvas.Dc(), TRANSPARENT);
    DrawTextW(canvas.Dc(), text.c_str(), -1, &room, format);
    SelectObject(canvas.Dc(), previous);
    return {static_cast<int>(extent.right), canvas.Ink()};
}

// The label as its window paints itself.
Ink InkShown(HWND label) {
    const TBounds bounds = BoundsOf(label);
    Canvas canvas(bounds.Width, bounds.Height);
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    return canvas.Ink();
}

void ChangeDpi(HWND frame, int dpi) {
    RECT outer{};
    GetWindowRect(frame, &outer);
    RECT suggested{outer.left, outer.top, outer.left + MulDiv(430, dpi, 96), outer.top + MulDiv(390, dpi, 96)};
    SendMessageA(frame, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Every label that sizes itself is as wide as its text drawn in its font, the ink of a
// last glyph that reaches past its advance included, and shows every pixel of that ink.
TEST_F(WizardWine, EveryAutoSizedLabelIsAsWideAsItsDrawnTextAndClipsNoGlyph) {
    TfInstall& w = *window;
    w.LblStatus.SetCaption("Downloading quorvane.exe");
    w.LblBytes.SetCaption("0.38 / 0.95 Megs");
    w.LblFN.SetCaption("quorvane.exe (40 %)");
    std::vector<TControl*> controls;
    Walk(w, controls);
    for (const int dpi : {96, 144})
        for (const bool english : {false, true}) {
            ChangeDpi(HandleOf(w), dpi);
            english ? w.RdoEnglishClick(nullptr) : w.rdoFrenchClick(nullptr);
            int checked = 0;
            for (TControl* control : controls) {
                auto* label = dynamic_cast<TLabel*>(control);
                if (!label || !label->SizesItself()) continue;
                const HWND handle = HandleOf(*label);
                SCOPED_TRACE(label->Name() + " at " + std::to_string(dpi) +
                             (english ? " dpi, English" : " dpi, French"));
                const FreeText free = DrawFree(handle);
                EXPECT_EQ(BoundsOf(handle).Width, std::max(free.Width, free.Ink.Right)) << TextOf(handle);
                EXPECT_EQ(InkShown(handle).Pixels, free.Ink.Pixels) << "a glyph is clipped: " << TextOf(handle);
                if (label->LabelStyle().Alignment == TAlignment::RightJustify) {
                    EXPECT_EQ(BoundsOf(handle).Right(), MulDiv(label->Bounds().Right(), dpi, 96));
                }
                ++checked;
            }
            EXPECT_EQ(checked, 16);
        }
    ChangeDpi(HandleOf(w), 96);
    w.LblStatus.SetCaption("");
    w.LblBytes.SetCaption("");
    w.LblFN.SetCaption("");
}

}  // namespace
