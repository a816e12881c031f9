// The toolkit's real windows under Wine: frame and classes at 96 dpi, keyboard rules driven
// by key messages (arrows in a radio group, the default frame following the focus), the
// mouse-only button driven by mouse messages, the progress bar's range and colour, and the
// folder tree over the real shell.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/win32/handle.h"
#include "platform/win32/peer_window.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/memo.h"
#include "ui/panel.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/shape.h"
#include "ui/shelltreeview.h"
#include "ui/speedbutton.h"
#include "window_query.h"

namespace {

using namespace window_query;

void Pump() {
    for (int i = 0; i < 3; ++i) platform::ProcessMessages();
}

// A key pressed and released at the focused window, with the modifiers held in the
// thread's key state while the messages are handled.
void Key(WPARAM key, TShiftState shift = 0) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    const auto held = [shift](TShiftState which) { return static_cast<BYTE>((shift & which) ? 0x80 : 0); };
    state[VK_SHIFT] = held(ssShift);
    state[VK_CONTROL] = held(ssCtrl);
    state[VK_MENU] = held(ssAlt);
    SetKeyboardState(state);
    const HWND focus = GetFocus();
    const UINT down = (shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM context = (shift & ssAlt) ? (1 << 29) : 0;
    PostMessageA(focus, down, key, 1 | context);
    PostMessageA(focus, down == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, key, 1 | context | 0xC0000000);
    Pump();
    state[VK_SHIFT] = state[VK_CONTROL] = state[VK_MENU] = 0;
    SetKeyboardState(state);
}

struct Window : TForm {
    Window() : TForm("Window", 424, 367) {
        SetCaption("Installation de Quorvane");
        Page.SetTabOrder(2);
        Title.SetFont({"Times New Roman", 13, true, true, clWindowText, ANSI_CHARSET});
        Title.SetCaption("Bienvenue");
        Bytes.SetCaption("");
        Memo.SetTabOrder(0);
        Memo.SetText("First line\r\nSecond line");
        Agree.SetTabOrder(1);
        Agree.SetCaption("J'accepte");
        Deny.SetTabOrder(2);
        Deny.SetCaption("Je refuse");
        Deny.SetChecked(true);
        Edit.SetTabOrder(3);
        Rich.SetTabOrder(4);
        Link.SetCaption("http://www.quorvane.com");
        Link.OnClick = [this](TComponent*) { pressed.push_back("Link"); };
        Bottom.SetTabOrder(1);
        Close.SetCaption("Annuler");
        Next.SetCaption("&Suivant");
        Next.SetTabOrder(0);
        Back.SetCaption("&Précedent");
        Back.SetTabOrder(1);
        SetDefaultButton(&Next);
        for (TControl* button : std::initializer_list<TControl*>{&Next, &Back, &Close})
            button->OnClick = [this](TComponent* sender) { pressed.push_back(static_cast<TControl*>(sender)->Name()); };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TShape Band{&Page, "Band", {1, 1, 422, 65}, clWhite};
    TBevel Line{&Page, "Line", {0, 66, 483, 2}};
    TLabel Title{&Page, "Title", {8, 8, 0, 0}, {.Transparent = true}};
    TLabel Bytes{&Page, "Bytes", {390, 270, 3, 13}, {.Alignment = TAlignment::RightJustify}};
    TMemo Memo{&Page, "Memo", {15, 96, 190, 100}};
    TRadioButton Agree{&Page, "Agree", {126, 210, 78, 17}};
    TRadioButton Deny{&Page, "Deny", {222, 210, 78, 17}};
    TEdit Edit{&Page, "Edit", {16, 240, 393, 21}};
    TMemo Rich{&Page, "Rich", {215, 96, 190, 100}, true};
    TProgressBar Bar{&Page, "Bar", {14, 300, 398, 16}};
    TLabel Link{&Page, "Link", {282, 320, 0, 0}, {.Transparent = true, .HandCursor = true}};
    TPanel Bottom{this, "Bottom", {0, 337, 424, 32}};
    TSpeedButton Close{&Bottom, "Close", {317, 5, 93, 22}};
    TButton Next{&Bottom, "Next", {200, 5, 93, 22}};
    TButton Back{&Bottom, "Back", {96, 5, 93, 22}};
    std::vector<std::string> pressed;
};

// One window for the suite: under Xvfb without a window manager, Wine takes two seconds
// to destroy a top-level window-> Each test starts from the same state.
class ToolkitWine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        window = new Window;
        Application.CreateForm(*window);
        window->Show();
    }
    static void TearDownTestSuite() { delete window; }

    void SetUp() override {
        Window& w = *window;
        w.Agree.OnClick = nullptr;
        w.Edit.OnChange = nullptr;
        w.Deny.SetChecked(true);
        w.Edit.SetText("");
        for (TControl* control : std::initializer_list<TControl*>{&w.Next, &w.Back, &w.Close})
            control->SetEnabled(true);
        w.SetActiveControl(&w.Next);
        Pump();
        w.pressed.clear();
    }
    static inline Window* window = nullptr;
};

TEST_F(ToolkitWine, TheFrameIsAFixedDialogCentredWithItsClientArea) {
    const HWND frame = HandleOf(*window);
    EXPECT_EQ(ClassOf(frame), "QuorvaneForm");
    EXPECT_EQ(TextOf(frame), "Installation de Quorvane");
    RECT client{};
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 424);
    EXPECT_EQ(client.bottom, 367);
    const LONG style = GetWindowLongA(frame, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    // On the screen, not on a work area that a task bar makes smaller.
    RECT work{}, smaller{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    smaller = {work.left + 200, work.top + 100, work.right, work.bottom};
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0));
    window->SetBounds({0, 0, 425, 368});
    window->SetBounds({0, 0, 424, 367});
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0);
    RECT outer{};
    GetWindowRect(frame, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_TRUE(IsWindowVisible(frame));
}

struct Expected {
    const char* name;
    const char* className;
    DWORD style, styleMask;
    DWORD exStyle;
};

TEST_F(ToolkitWine, EveryKindHasItsSystemClassStyleGeometryAndFont) {
    const std::vector<std::pair<TControl*, Expected>> table = {
        {&window->Page, {"Page", "QuorvanePanel", WS_CHILD | WS_VISIBLE, WS_CHILD | WS_VISIBLE, 0}},
        {&window->Band, {"Band", "Static", 0, 0, 0}},
        {&window->Line, {"Line", "Static", SS_ETCHEDHORZ, SS_TYPEMASK, 0}},
        {&window->Title, {"Title", "Static", SS_LEFTNOWORDWRAP | SS_NOPREFIX, SS_TYPEMASK | SS_NOPREFIX, 0}},
        // As wide as its text: drawn from its left, which DT_RIGHT would cut off an overhang.
        {&window->Bytes, {"Bytes", "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 0}},
        {&window->Memo,
         {"Memo", "Edit", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
          ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | WS_TABSTOP, 0}},
        {&window->Rich,
         {"Rich", "RichEdit20W", ES_MULTILINE | ES_READONLY | WS_VSCROLL,
          ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL, 0}},
        {&window->Agree, {"Agree", "Button", BS_RADIOBUTTON, BS_TYPEMASK | WS_TABSTOP, 0}},
        {&window->Deny, {"Deny", "Button", BS_RADIOBUTTON | WS_TABSTOP, BS_TYPEMASK | WS_TABSTOP, 0}},
        {&window->Edit, {"Edit", "Edit", ES_AUTOHSCROLL, ES_MULTILINE | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE}},
        {&window->Bar, {"Bar", "msctls_progress32", 0, WS_TABSTOP, 0}},
        {&window->Next, {"Next", "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, BS_TYPEMASK | WS_TABSTOP, 0}},
        {&window->Back, {"Back", "Button", BS_PUSHBUTTON | WS_TABSTOP, BS_TYPEMASK | WS_TABSTOP, 0}},
    };
    for (const auto& [control, expected] : table) {
        SCOPED_TRACE(expected.name);
        const HWND handle = HandleOf(*control);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(ClassOf(handle), expected.className);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)) & expected.styleMask, expected.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(handle, GWL_EXSTYLE)) & expected.exStyle, expected.exStyle);
        if (control != &window->Title && control != &window->Bytes) {
            EXPECT_EQ(BoundsOf(handle), control->Bounds());
        }
        if (control == &window->Page || control == &window->Band || control == &window->Line) continue;  // no text
        LOGFONTA font{};
        if (control == &window->Rich) {
            // A rich-text box keeps the font as its default character format.
            CHARFORMATA format{};
            format.cbSize = sizeof format;
            SendMessageA(handle, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
            lstrcpynA(font.lfFaceName, format.szFaceName, LF_FACESIZE);
            font.lfHeight = -MulDiv(format.yHeight, 96, 1440);
            font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        } else {
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0)), sizeof font, &font);
        }
        if (control == &window->Title) {
            EXPECT_STREQ(font.lfFaceName, "Times New Roman");
            EXPECT_EQ(font.lfHeight, -13);
            EXPECT_EQ(font.lfWeight, FW_BOLD);
            EXPECT_TRUE(font.lfUnderline);
        } else {
            EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
            EXPECT_EQ(font.lfHeight, -11);
            EXPECT_EQ(font.lfWeight, FW_NORMAL);
        }
    }
    // Only the mouse-only button has no window; its caption is the bar's accessible name.
    EXPECT_NE(window->Close.Peer(), nullptr);
    EXPECT_EQ(HandleOf(window->Close), nullptr);
    EXPECT_EQ(TextOf(HandleOf(window->Bottom)), "Annuler");
}

COLORREF PixelOf(HWND window, int x, int y) {
    const platform::win32::WindowDC dc(window);
    return GetPixel(dc.Get(), x, y);
}

TEST_F(ToolkitWine, LaterControlsPaintOverTheBandAndTransparentLabelsShowIt) {
    const HWND page = HandleOf(window->Page);
    HWND last = GetWindow(page, GW_CHILD);
    while (GetWindow(last, GW_HWNDNEXT)) last = GetWindow(last, GW_HWNDNEXT);
    EXPECT_EQ(last, HandleOf(window->Band)) << "the band lies under all its siblings";
    EXPECT_EQ(GetWindow(page, GW_CHILD), HandleOf(window->Line)) << "the others keep their creation order";

    const HWND title = HandleOf(window->Title);
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const TBounds b = BoundsOf(title);
    int ink = 0, white = 0;
    for (int y = 0; y < b.Height; ++y)
        for (int x = 0; x < b.Width; ++x) {
            const COLORREF colour = PixelOf(title, x, y);
            white += colour == RGB(255, 255, 255);
            ink += colour == GetSysColor(COLOR_WINDOWTEXT);
        }
    EXPECT_GT(ink, 20) << "the title is drawn";
    EXPECT_GT(white, ink) << "on the white of the band";
}

TEST_F(ToolkitWine, RightAlignedLabelsKeepTheirRightEdgeWithRealMetrics) {
    const HWND bytes = HandleOf(window->Bytes);
    EXPECT_EQ(BoundsOf(bytes).Right(), 393);
    window->Bytes.SetCaption("1 048 576 octets sur 2 097 152");
    EXPECT_EQ(BoundsOf(bytes).Right(), 393);
    EXPECT_GT(BoundsOf(bytes).Width, 100);
    EXPECT_EQ(BoundsOf(bytes), window->Bytes.Bounds());
    window->Bytes.SetCaption("12");
    EXPECT_EQ(BoundsOf(bytes).Right(), 393);
    EXPECT_LT(BoundsOf(bytes).Width, 20);
    EXPECT_EQ(TextOf(bytes), "12");
}

TEST_F(ToolkitWine, TheFirstFocusIsTheDefaultButtonAndTabFollowsTheOrder) {
    EXPECT_EQ(GetFocus(), HandleOf(window->Next));
    std::vector<std::string> visited;
    for (int i = 0; i < 6; ++i) {
        Key(VK_TAB);
        visited.push_back(window->ActiveControl() ? window->ActiveControl()->Name() : "none");
        EXPECT_EQ(GetFocus(), HandleOf(*window->ActiveControl()));
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Back", "Memo", "Deny", "Edit", "Rich", "Next"}));
    Key(VK_TAB, ssShift);
    EXPECT_EQ(window->ActiveControl(), &window->Rich);
}

struct KeyCase {
    const char* name;
    TWinControl* focus;
    WPARAM key;
    TShiftState shift;
    bool nextEnabled;
    std::vector<std::string> pressed;
};

TEST_F(ToolkitWine, KeysPressTheButtonsTheRulesName) {
    Window& w = *window;
    const std::vector<KeyCase> cases = {
        {"EnterOnARadioButton", &w.Deny, VK_RETURN, 0, true, {"Next"}},
        {"EnterInTheAgreementBox", &w.Memo, VK_RETURN, 0, true, {}},
        {"ShiftEnter", &w.Deny, VK_RETURN, ssShift, true, {}},
        {"EnterWithNextDisabled", &w.Deny, VK_RETURN, 0, false, {}},
        {"EnterOnBack", &w.Back, VK_RETURN, 0, true, {"Back"}},
        {"Escape", &w.Deny, VK_ESCAPE, 0, true, {}},
        {"AltSInTheEditBox", &w.Edit, 'S', ssAlt, true, {"Next"}},
        {"SAloneOnARadioButton", &w.Deny, 'S', 0, true, {"Next"}},
        {"SAloneInTheEditBox", &w.Edit, 'S', 0, true, {}},
        {"SpaceOnBack", &w.Back, VK_SPACE, 0, true, {"Back"}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        w.pressed.clear();
        w.Next.SetEnabled(c.nextEnabled);
        w.SetActiveControl(c.focus);
        Pump();
        ASSERT_EQ(GetFocus(), HandleOf(*c.focus));
        Key(c.key, c.shift);
        EXPECT_EQ(w.pressed, c.pressed);
    }
    EXPECT_EQ(TextOf(HandleOf(w.Edit)), "s") << "only the key the form did not use reached the box";
}

TEST_F(ToolkitWine, TheEditBoxReportsTypingAndSelectsAllWhenTabbedInto) {
    std::vector<std::string> changes;
    window->Edit.OnChange = [&](TComponent*) { changes.push_back(window->Edit.Text()); };
    window->Edit.SetText("C:\\Program Files");
    window->SetActiveControl(&window->Edit);
    Pump();
    DWORD start = 1, end = 0;
    SendMessageA(HandleOf(window->Edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 16u);
    for (char typed : std::string("D:\\Q"))
        PostMessageA(HandleOf(window->Edit), WM_CHAR, static_cast<WPARAM>(typed), 1);
    Pump();
    // Typed over the selection, each character after the one before.
    EXPECT_EQ(changes, (std::vector<std::string>{"C:\\Program Files", "D", "D:", "D:\\", "D:\\Q"}));
    EXPECT_EQ(window->Edit.Text(), "D:\\Q");
}

TEST_F(ToolkitWine, ARadioClickChecksItsGroupThroughTheModel) {
    int clicks = 0;
    window->Agree.OnClick = [&](TComponent*) { ++clicks; };
    SendMessageA(HandleOf(window->Agree), BM_CLICK, 0, 0);
    SendMessageA(HandleOf(window->Agree), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageA(HandleOf(window->Agree), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(HandleOf(window->Deny), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(GetWindowLongA(HandleOf(window->Deny), GWL_STYLE) & WS_TABSTOP);
}

// Real arrow keys at the focused radio button; the arrows in the edit box stay its own.
TEST_F(ToolkitWine, ArrowsMoveTheFocusAndTheCheckWithinTheGroup) {
    Window& w = *window;
    int clicks = 0;
    w.Agree.OnClick = [&](TComponent*) { ++clicks; };
    w.SetActiveControl(&w.Deny);
    Pump();
    const std::vector<std::pair<WPARAM, TRadioButton*>> table = {
        {VK_LEFT, &w.Agree}, {VK_LEFT, &w.Deny}, {VK_DOWN, &w.Agree}, {VK_UP, &w.Deny}, {VK_RIGHT, &w.Agree}};
    for (const auto& [key, reached] : table) {
        SCOPED_TRACE(reached->Name());
        Key(key);
        EXPECT_EQ(GetFocus(), HandleOf(*reached));
        for (TRadioButton* radio : {&w.Agree, &w.Deny}) {
            const HWND handle = HandleOf(*radio);
            EXPECT_EQ(SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED, radio == reached) << radio->Name();
            EXPECT_EQ((GetWindowLongA(handle, GWL_STYLE) & WS_TABSTOP) != 0, radio == reached) << radio->Name();
        }
        EXPECT_TRUE(Framed(HandleOf(w.Next)));
    }
    EXPECT_EQ(clicks, 3);

    w.Edit.SetText("abc");
    w.SetActiveControl(&w.Edit);
    Pump();
    Key(VK_LEFT);
    DWORD start = 1, end = 1;
    SendMessageA(HandleOf(w.Edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(GetFocus(), HandleOf(w.Edit));
    // The box took the key: the caret, at the end of the selected text, moved one to the left.
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
    EXPECT_TRUE(w.Agree.Checked());
}

// As in a dialog: the focused push button is drawn as the default, otherwise Next is.
TEST_F(ToolkitWine, TheDefaultFrameFollowsTheFocusedPushButton) {
    Window& w = *window;
    ASSERT_EQ(GetFocus(), HandleOf(w.Next));
    const std::vector<std::pair<const char*, TButton*>> table = {
        {"Back", &w.Back}, {"Memo", &w.Next}, {"Deny", &w.Next},
        {"Edit", &w.Next}, {"Rich", &w.Next}, {"Next", &w.Next},
    };
    for (const auto& [reached, framed] : table) {
        Key(VK_TAB);
        ASSERT_EQ(w.ActiveControl()->Name(), reached);
        EXPECT_EQ(Framed(HandleOf(w.Next)), framed == &w.Next) << reached;
        EXPECT_EQ(Framed(HandleOf(w.Back)), framed == &w.Back) << reached;
    }
    // Focus given by the mouse, and taken away by disabling the button.
    PostClick(HandleOf(w.Back));
    Pump();
    EXPECT_EQ(w.pressed, std::vector<std::string>{"Back"});
    EXPECT_TRUE(Framed(HandleOf(w.Back)));
    EXPECT_FALSE(Framed(HandleOf(w.Next)));
    w.Back.SetEnabled(false);
    EXPECT_TRUE(Framed(HandleOf(w.Next)));
    EXPECT_FALSE(Framed(HandleOf(w.Back)));
}

struct MouseCase {
    const char* name;
    bool enabled;
    POINT down, up;
    int clicks;
};

TEST_F(ToolkitWine, TheMouseOnlyButtonPressesOnAPressAndReleaseOverIt) {
    const HWND bar = HandleOf(window->Bottom);
    const std::vector<MouseCase> cases = {
        {"PressAndRelease", true, {360, 15}, {370, 20}, 1},
        {"ReleaseElsewhere", true, {360, 15}, {150, 15}, 0},
        {"Disabled", false, {360, 15}, {360, 15}, 0},
    };
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        window->pressed.clear();
        window->Close.SetEnabled(c.enabled);
        SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.down.x, c.down.y));
        EXPECT_EQ(window->Close.Down(), c.enabled);
        EXPECT_EQ(GetCapture() == bar, c.enabled) << "held while the mouse is away";
        SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(c.up.x, c.up.y));
        EXPECT_FALSE(window->Close.Down());
        EXPECT_EQ(window->pressed.size(), static_cast<std::size_t>(c.clicks));
    }
    EXPECT_NE(GetFocus(), bar) << "it never takes the focus";
}

TEST_F(ToolkitWine, ALinkLabelShowsTheHandAndRunsItsHandlerOnAClick) {
    const HWND link = HandleOf(window->Link);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(window->pressed, std::vector<std::string>{"Link"});
}

// Moved to a monitor of another dpi: positions, sizes and fonts follow in proportion.
TEST_F(ToolkitWine, ADpiChangeScalesTheLayoutFrom96Dpi) {
    const HWND frame = HandleOf(*window);
    const auto changeTo = [frame](int dpi) {
        RECT outer{};
        GetWindowRect(frame, &outer);
        RECT suggested{outer.left, outer.top, outer.left + MulDiv(430, dpi, 96), outer.top + MulDiv(390, dpi, 96)};
        SendMessageA(frame, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    changeTo(144);
    EXPECT_EQ(BoundsOf(HandleOf(window->Edit)), (TBounds{24, 360, 590, 32}));
    EXPECT_EQ(BoundsOf(HandleOf(window->Bottom)), (TBounds{0, 506, 636, 48}));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(HandleOf(window->Edit), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -17);
    EXPECT_EQ(BoundsOf(HandleOf(window->Bytes)).Right(), 590) << "the right edge follows";
    EXPECT_EQ(window->Edit.Bounds(), (TBounds{16, 240, 393, 21})) << "the model stays at 96 dpi";
    // Edges, not sizes, are scaled: at 120 dpi rounding the two apart would part them.
    changeTo(120);
    for (TControl* control : std::initializer_list<TControl*>{&window->Memo, &window->Rich, &window->Edit}) {
        const TBounds shown = BoundsOf(HandleOf(*control)), laid = control->Bounds();
        EXPECT_EQ(shown.Right(), MulDiv(laid.Right(), 120, 96)) << control->Name();
        EXPECT_EQ(shown.Bottom(), MulDiv(laid.Bottom(), 120, 96)) << control->Name();
    }
    changeTo(96);
    EXPECT_EQ(BoundsOf(HandleOf(window->Edit)), window->Edit.Bounds());
}

// What the bar shows of the button: its top-left corner and the dark pixels of its caption.
struct ButtonLook {
    COLORREF Corner;
    int Dark;
};

ButtonLook LookOfClose(HWND bar) {
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ButtonLook look{PixelOf(bar, 317, 5), 0};
    for (int y = 8; y < 25; ++y)
        for (int x = 330; x < 400; ++x) look.Dark += PixelOf(bar, x, y) == GetSysColor(COLOR_BTNTEXT);
    return look;
}

TEST_F(ToolkitWine, TheMouseOnlyButtonIsDrawnRaisedSunkenWhileHeldAndGreyedWhenDisabled) {
    const HWND bar = HandleOf(window->Bottom);
    const ButtonLook raised = LookOfClose(bar);
    EXPECT_GT(raised.Dark, 20) << "its caption";
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(360, 15));
    const ButtonLook held = LookOfClose(bar);
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(150, 15));
    EXPECT_NE(held.Corner, raised.Corner) << "sunken while held";
    EXPECT_EQ(LookOfClose(bar).Corner, raised.Corner) << "raised again once released";
    window->Close.SetEnabled(false);
    EXPECT_EQ(LookOfClose(bar).Dark, 0) << "greyed";
}

TEST_F(ToolkitWine, TheProgressBarKeepsItsRangeOnErrorAndDrawsThePostedColour) {
    const HWND bar = HandleOf(window->Bar);
    window->Bar.SetMax(2000000000);
    window->Bar.SetPosition(1500000000);
    EXPECT_THROW(window->Bar.SetMax(-5), Exception);
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 2000000000);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 1500000000);

    window->Bar.PostBarColor(0xFF8000);
    EXPECT_NE(window->Bar.BarColor(), 0xFF8000u) << "posted, not sent";
    Pump();
    EXPECT_EQ(window->Bar.BarColor(), 0xFF8000u);
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Somewhere in the filled three quarters the blocks show red 0, green 128, blue 255.
    int coloured = 0;
    for (int x = 2; x < 290; ++x) coloured += PixelOf(bar, x, 8) == RGB(0, 128, 255);
    EXPECT_GT(coloured, 100);
    int beyond = 0;
    for (int x = 320; x < 390; ++x) beyond += PixelOf(bar, x, 8) == RGB(0, 128, 255);
    EXPECT_EQ(beyond, 0);
}

// A label measures each text in the font it has now, however often the same text comes.
TEST_F(ToolkitWine, ALabelMeasuresItsTextInItsCurrentFont) {
    TLabel& label = window->Bytes;
    const TFont font = label.Font();
    const std::string text = "1234,56 / 134,22 Megs";
    const TSize first = label.Peer()->MeasureText(text);
    EXPECT_LT(label.Peer()->MeasureText("1 Megs").Width, first.Width) << "another text, another size";
    EXPECT_EQ(label.Peer()->MeasureText(text).Width, first.Width);
    TFont bigger = font;
    bigger.Height *= 2;
    label.SetFont(bigger);
    const TSize large = label.Peer()->MeasureText(text);
    EXPECT_GT(large.Width, first.Width) << "measured again in the new font";
    EXPECT_GT(large.Height, first.Height);
    label.SetFont(font);
    EXPECT_EQ(label.Peer()->MeasureText(text).Width, first.Width);
}

namespace subclassing {

// A plain window of a system class, with what a procedure of the test saw.
struct Seen {
    std::optional<platform::win32::WindowSubclass> subclass;
    int messages = 0;
};

LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!seen) return platform::win32::WindowSubclass::Orphaned(window, message, wParam, lParam);
    if (message == WM_SETTEXT) ++seen->messages;
    return CallWindowProcW(seen->subclass->Next(), window, message, wParam, lParam);
}

WNDPROC over = nullptr;  // what a procedure subclassed over ours passes on to
LRESULT CALLBACK Over(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(over, window, message, wParam, lParam);
}

platform::win32::WindowHandle Static() {
    return platform::win32::WindowHandle(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                         GetModuleHandleW(nullptr), nullptr));
}

}  // namespace subclassing

// The peers keep their link in the window's procedure and user data; a window whose user
// data points at a peer is no peer's unless its procedure is the peers'.
TEST_F(ToolkitWine, APeerIsFoundFromItsOwnWindowOnly) {
    for (TControl* control : std::initializer_list<TControl*>{window, &window->Page, &window->Bytes, &window->Bar,
                                                              &window->Edit, &window->Rich, &window->Next})
        EXPECT_EQ(platform::win32::WindowPeer::FromHandle(HandleOf(*control)), control->Peer()) << control->Name();
    const platform::win32::WindowHandle foreign = subclassing::Static();
    ASSERT_TRUE(foreign);
    SetWindowLongPtrW(foreign.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window->Bytes.Peer()));
    EXPECT_EQ(platform::win32::WindowPeer::FromHandle(foreign.Get()), nullptr);
    EXPECT_EQ(platform::win32::WindowPeer::FromHandle(nullptr), nullptr);
    EXPECT_EQ(platform::win32::WindowPeer::FromHandle(GetDesktopWindow()), nullptr);

    // A notification from the foreign window reaches no peer: nothing is pressed.
    SendMessageW(HandleOf(window->Bottom), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(foreign.Get()));
    EXPECT_TRUE(window->pressed.empty());
    SendMessageW(HandleOf(window->Bottom), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(HandleOf(window->Next)));
    EXPECT_EQ(window->pressed, std::vector<std::string>{"Next"});
}

TEST(WindowSubclass, RoutesEveryMessageThroughItsProcedureUntilItGoes) {
    using subclassing::Seen;
    const platform::win32::WindowHandle window = subclassing::Static();
    ASSERT_TRUE(window);
    const LONG_PTR own = GetWindowLongPtrW(window.Get(), GWLP_WNDPROC);
    Seen seen;
    seen.subclass.emplace(window.Get(), subclassing::Counting, &seen);
    EXPECT_EQ(platform::win32::WindowSubclass::Owner(window.Get(), subclassing::Counting), &seen);
    EXPECT_EQ(platform::win32::WindowSubclass::Owner(window.Get(), subclassing::Over), nullptr)
        << "another procedure's";
    SetWindowTextW(window.Get(), L"seen");
    EXPECT_EQ(seen.messages, 1);
    EXPECT_EQ(TextOf(window.Get()), "seen") << "the class's procedure still handles it";

    seen.subclass.reset();
    EXPECT_EQ(GetWindowLongPtrW(window.Get(), GWLP_WNDPROC), own);
    EXPECT_EQ(GetWindowLongPtrW(window.Get(), GWLP_USERDATA), 0);
    SetWindowTextW(window.Get(), L"after");
    EXPECT_EQ(seen.messages, 1);
    EXPECT_EQ(TextOf(window.Get()), "after");
}

// Another procedure subclassed over ours stays in place when ours goes, and the messages
// it passes on still reach the class's procedure.
TEST(WindowSubclass, LeavesAProcedureSubclassedOverItInPlace) {
    using subclassing::Seen;
    const platform::win32::WindowHandle window = subclassing::Static();
    ASSERT_TRUE(window);
    Seen seen;
    seen.subclass.emplace(window.Get(), subclassing::Counting, &seen);
    subclassing::over = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassing::Over)));
    SetWindowTextW(window.Get(), L"through both");
    EXPECT_EQ(seen.messages, 1);
    EXPECT_EQ(platform::win32::WindowSubclass::Owner(window.Get(), subclassing::Counting), nullptr)
        << "no longer on top";

    seen.subclass.reset();
    EXPECT_EQ(GetWindowLongPtrW(window.Get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclassing::Over));
    SetWindowTextW(window.Get(), L"past ours");
    EXPECT_EQ(seen.messages, 1);
    EXPECT_EQ(TextOf(window.Get()), "past ours");
}

}  // namespace
