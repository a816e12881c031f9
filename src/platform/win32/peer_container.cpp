#include "platform/win32/peer_container.h"

#include "platform/exception.h"
#include "platform/scoped_value.h"
#include "platform/win32/wide_text.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/speedbutton.h"

namespace platform::win32 {
namespace {

const wchar_t* const kFormClass = L"QuorvaneForm";
const wchar_t* const kPanelClass = L"QuorvanePanel";
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr UINT kDpiChanged = 0x02E0;

// Both classes leave every message to the peer's subclass procedure.
void RegisterClassOnce(const wchar_t* name, HBRUSH background, HICON icon) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &windowClass)) return;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();

// Per-monitor dpi where the system knows it (Windows 10), else the screen's.
int DpiOf(HWND window) {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    if (window) {
        if (auto forWindow =
                reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow"))))
            if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    if (auto forSystem =
            reinterpret_cast<DpiForSystem>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem"))))
        if (const UINT dpi = forSystem()) return static_cast<int>(dpi);
    const WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

POINT Unscaled(const WindowPeer& peer, LPARAM lParam) {
    const int dpi = peer.Dpi();
    return {MulDiv(static_cast<short>(LOWORD(lParam)), 96, dpi), MulDiv(static_cast<short>(HIWORD(lParam)), 96, dpi)};
}

}  // namespace

HFONT CreateControlFont(const TFont& font, int dpi) {
    LOGFONTW description = {};
    description.lfHeight = -MulDiv(font.Height, dpi, 96);
    description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    description.lfUnderline = font.Underline ? TRUE : FALSE;
    description.lfCharSet = static_cast<BYTE>(font.Charset);
    lstrcpynW(description.lfFaceName, Widen(font.Name).c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&description);
}

LRESULT ContainerPeer::Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
        case WM_COMMAND:
            if (WindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                handled = true;
                child->Command(HIWORD(wParam));
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (WindowPeer* child = FromHandle(header->hwndFrom)) {
                handled = true;
                return child->Notify(*header);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            if (WindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
                    handled = true;
                    return reinterpret_cast<LRESULT>(brush);
                }
            return 0;
        default:
            return 0;
    }
}

FormPeer::FormPeer(TForm& form) : ContainerPeer(form), form_(form), dpi_(DpiOf(nullptr)) {
    RegisterClassOnce(kFormClass, GetSysColorBrush(COLOR_BTNFACE),
                      LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    Create(kFormClass, kFormStyle, kFormExStyle);
    // The monitor it lands on may differ from the system's.
    dpi_ = DpiOf(Handle());
    Rescale();
}

// The bounds are the client area; the window is centred on the screen.
void FormPeer::ApplyBounds() {
    if (!Handle()) return;
    RECT frame = {0, 0, Scale(form_.Bounds().Width), Scale(form_.Bounds().Height)};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::Changed(PeerChange what) {
    if (what != PeerChange::Visible) return WindowPeer::Changed(what);
    if (form_.Visible() && form_.Shown()) {
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
    } else {
        ShowWindow(Handle(), SW_HIDE);
    }
}

void FormPeer::RescaleAll(TWinControl& container) {
    for (TControl* child : container.Children()) {
        if (auto* peer = dynamic_cast<WindowPeer*>(child->Peer())) peer->Rescale();
        if (auto* nested = dynamic_cast<TWinControl*>(child)) RescaleAll(*nested);
    }
}

LRESULT FormPeer::Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
        case WM_CLOSE:
            // Never the system's default, which would destroy the window: an error from
            // OnClose keeps it open.
            handled = true;
            form_.Close();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && form_.ActiveControl())
                if (auto* peer = dynamic_cast<WindowPeer*>(form_.ActiveControl()->Peer())) {
                    handled = true;
                    SetFocus(peer->Handle());
                }
            return 0;
        case kDpiChanged: {
            handled = true;
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            RescaleAll(form_);
            return 0;
        }
        default:
            return ContainerPeer::Intercept(message, wParam, lParam, handled);
    }
}

PanelPeer::PanelPeer(TPanel& panel) : ContainerPeer(panel), panel_(panel) {
    RegisterClassOnce(kPanelClass, GetSysColorBrush(COLOR_BTNFACE), nullptr);
    Create(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    SetWindowTextW(Handle(), L"");
}

TSpeedButton* PanelPeer::ButtonAt(int x, int y) {
    for (TControl* child : panel_.Children())
        if (auto* button = dynamic_cast<TSpeedButton*>(child)) {
            const TBounds& b = button->Bounds();
            if (x >= b.Left && x < b.Right() && y >= b.Top && y < b.Bottom()) return button;
        }
    return nullptr;
}

TSpeedButton* PanelPeer::HeldButton() {
    for (TControl* child : panel_.Children())
        if (auto* button = dynamic_cast<TSpeedButton*>(child); button && button->Down()) return button;
    return nullptr;
}

void PanelPeer::ButtonChanged() {
    // The whole panel: the button may have moved.
    InvalidateRect(Handle(), nullptr, TRUE);
    RefreshAccessibleName();
}

// The painted buttons have no window: screen readers find their captions as the panel's name.
void PanelPeer::RefreshAccessibleName() {
    std::string name;
    for (TControl* child : panel_.Children())
        if (auto* button = dynamic_cast<TSpeedButton*>(child); button && button->Visible()) {
            if (!name.empty()) name += ' ';
            name += button->Caption();
        }
    SetWindowTextW(Handle(), Widen(name).c_str());
}

void PanelPeer::PaintButton(HDC dc, TSpeedButton& button) {
    const TBounds& b = button.Bounds();
    RECT area = {Scale(b.Left), Scale(b.Top), Scale(b.Right()), Scale(b.Bottom())};
    UINT state = DFCS_BUTTONPUSH;
    if (button.Down()) state |= DFCS_PUSHED;
    if (!button.Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &area, DFC_BUTTON, state);
    if (button.Down()) OffsetRect(&area, 1, 1);

    const FontHandle font(CreateControlFont(button.Font(), Dpi()));
    const SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring caption = Widen(button.Caption());
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (button.Enabled()) {
        SetTextColor(dc, ColorOf(button.Font().Color));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, format);
    } else {
        // Greyed: the highlight etched under the shadow.
        RECT etched = area;
        OffsetRect(&etched, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &etched, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, format);
    }
}

void PanelPeer::Paint() {
    const PaintScope paint(Handle());
    RECT client;
    GetClientRect(Handle(), &client);
    DrawEdge(paint.Get(), &client, BDR_RAISEDINNER, BF_RECT);
    for (TControl* child : panel_.Children())
        if (auto* button = dynamic_cast<TSpeedButton*>(child); button && button->Visible())
            PaintButton(paint.Get(), *button);
}

LRESULT PanelPeer::Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
        case WM_PAINT:
            handled = true;
            Paint();
            return 0;
        case WM_LBUTTONDOWN: {
            handled = true;
            const POINT at = Unscaled(*this, lParam);
            if (TSpeedButton* button = ButtonAt(at.x, at.y)) {
                button->MouseDown(at.x, at.y);
                if (button->Down()) SetCapture(Handle());
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            handled = true;
            const POINT at = Unscaled(*this, lParam);
            TSpeedButton* held = HeldButton();
            if (GetCapture() == Handle()) {
                // Our own release of the capture is no release elsewhere.
                const ScopedValue releasing(releasingCapture_, true);
                ReleaseCapture();
            }
            if (held) held->MouseUp(at.x, at.y);
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Capture taken away while held (a message box, another window): no press.
            if (TSpeedButton* held = HeldButton(); held && !releasingCapture_) held->MouseUp(-1, -1);
            return 0;
        default:
            return ContainerPeer::Intercept(message, wParam, lParam, handled);
    }
}

SpeedButtonPeer::SpeedButtonPeer(TSpeedButton& button) : button_(button) { Panel().ButtonChanged(); }

PanelPeer& SpeedButtonPeer::Panel() const {
    auto* panel = button_.Parent() ? dynamic_cast<PanelPeer*>(button_.Parent()->Peer()) : nullptr;
    if (!panel) throw Exception("A mouse-only button needs a panel: " + button_.Name());
    return *panel;
}

void SpeedButtonPeer::Changed(PeerChange) { Panel().ButtonChanged(); }

TSize SpeedButtonPeer::MeasureText(const std::string& text) const { return Panel().MeasureText(text); }

}  // namespace platform::win32
