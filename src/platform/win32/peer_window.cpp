#include "platform/win32/peer_window.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "platform/exception.h"
#include "platform/guard.h"
#include "platform/scoped_value.h"
#include "platform/win32/peer_container.h"
#include "platform/win32/wide_text.h"
#include "ui/form.h"

namespace platform::win32 {
namespace {

class BrushCache {
public:
    HBRUSH Get(TColor color) {
        if (color & clSystemColor) return GetSysColorBrush(static_cast<int>(color & 0xFF));
        auto found = brushes_.find(color);
        if (found == brushes_.end()) found = brushes_.emplace(color, BrushHandle(CreateSolidBrush(color))).first;
        return found->second.Get();
    }

private:
    std::map<TColor, BrushHandle> brushes_;
};

// How a label's window draws its text.
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS;

// Where text is measured as a label's window draws it: one memory canvas for the whole
// program, grown as needed. A caption that changes at every look would otherwise cost a
// window DC and a new bitmap each time, both round trips to the system.
class InkCanvas {
public:
    static InkCanvas& Instance() {
        static InkCanvas canvas;
        return canvas;
    }

    // The advance of the text and, as its width, one past the rightmost column of its ink
    // when that lies further: hinted glyphs of some faces reach past the advances that
    // DT_CALCRECT adds up (by a column, or more in an underlined face), and the window
    // would clip them.
    TSize Extent(HFONT font, const std::wstring& text) {
        if (!dc_) return {0, 0};
        const SelectedObject selected(dc_.Get(), font);
        RECT advance = {0, 0, 0, 0};
        DrawTextW(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &advance, kTextFormat | DT_CALCRECT);
        return {std::max(static_cast<int>(advance.right), InkRight(text, advance)), advance.bottom};
    }

private:
    InkCanvas() : dc_(CreateCompatibleDC(nullptr)) {
        if (!dc_) return;
        SetTextColor(dc_.Get(), RGB(255, 255, 255));
        SetBkMode(dc_.Get(), TRANSPARENT);
    }

    int InkRight(const std::wstring& text, const RECT& advance) {
        const int height = std::max(1, static_cast<int>(advance.bottom));
        const int width = static_cast<int>(advance.right) + 2 * height;  // room for any overhang
        if (!Reserve(width, height)) return 0;
        auto* pixels = static_cast<std::uint32_t*>(bits_);
        const auto stride = static_cast<std::size_t>(width_);
        std::fill_n(pixels, stride * static_cast<std::size_t>(height), 0u);  // black but for the ink
        RECT room = {0, 0, width, height};
        DrawTextW(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &room, kTextFormat);
        GdiFlush();
        int right = 0;
        for (int y = 0; y < height; ++y)
            for (int x = width - 1; x >= right; --x)
                if (pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)]) {
                    right = x + 1;
                    break;
                }
        return right;
    }

    bool Reserve(int width, int height) {
        if (width <= width_ && height <= height_) return true;
        width = std::max(width, width_);
        height = std::max(height, height_);
        BITMAPINFO format = {};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        BitmapHandle bitmap(CreateDIBSection(dc_.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap) return false;
        SelectObject(dc_.Get(), bitmap.Get());
        bitmap_ = std::move(bitmap);  // the old one is out of the DC: it can go
        bits_ = bits;
        width_ = width;
        height_ = height;
        return true;
    }

    BitmapHandle bitmap_;  // after the DC, which holds it, is gone
    MemoryDc dc_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

COLORREF ColorOf(TColor color) {
    return (color & clSystemColor) ? GetSysColor(static_cast<int>(color & 0xFF)) : static_cast<COLORREF>(color);
}

HBRUSH BrushOf(TColor color) {
    static BrushCache cache;
    return cache.Get(color);
}

TShiftState CurrentShift() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

WindowPeer::WindowPeer(TControl& control) : control_(control) {}

WindowPeer::~WindowPeer() = default;

WindowPeer* WindowPeer::FromHandle(HWND window) {
    return static_cast<WindowPeer*>(WindowSubclass::Owner(window, WindowProc));
}

int WindowPeer::Dpi() const {
    // The form's own peer asks itself: the form does not hold it yet while it is built.
    const auto* peer = dynamic_cast<const FormPeer*>(this);
    if (!peer)
        if (TForm* form = control_.Form()) peer = dynamic_cast<const FormPeer*>(form->Peer());
    return peer ? peer->WindowDpi() : 96;
}

HWND WindowPeer::ParentHandle() const {
    TWinControl* parent = control_.Parent();
    auto* peer = parent ? dynamic_cast<WindowPeer*>(parent->Peer()) : nullptr;
    return peer ? peer->Handle() : nullptr;
}

void WindowPeer::Create(const wchar_t* className, DWORD style, DWORD exStyle) {
    const HWND parent = ParentHandle();
    if (parent) style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (!control_.Enabled()) style |= WS_DISABLED;
    window_.Reset(CreateWindowExW(exStyle, className, Widen(control_.Caption()).c_str(), style, 0, 0, 0, 0, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_) throw Exception("Error creating window: " + control_.Name());
    subclass_.emplace(window_.Get(), WindowProc, this);
    ApplyFont();
    ApplyBounds();
    if (parent) KeepBackgroundsUnder();
    if (parent && control_.Visible()) ShowWindow(Handle(), SW_SHOWNA);
}

// A new child window goes under its earlier siblings; the filled shapes go back under it,
// so that later controls paint over them and the rest keep the creation order.
void WindowPeer::KeepBackgroundsUnder() {
    for (TControl* sibling : control_.Parent()->Children()) {
        if (sibling == &control_) break;
        if (auto* peer = dynamic_cast<WindowPeer*>(sibling->Peer()); peer && peer->Background())
            SetWindowPos(peer->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// The edges are scaled, not the sizes: controls that line up at 96 dpi still line up.
void WindowPeer::ApplyBounds() {
    const TBounds& b = control_.Bounds();
    const int left = Scale(b.Left), top = Scale(b.Top);
    SetWindowPos(Handle(), nullptr, left, top, Scale(b.Right()) - left, Scale(b.Bottom()) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::ApplyFont() {
    FontHandle font(CreateControlFont(control_.Font(), Dpi()));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);  // the window no longer uses the previous one
    measured_.reset();
}

void WindowPeer::Rescale() {
    // A coalesced control catches up first: its window is measured as it will be shown.
    control_.UpdatePeer();
    ApplyFont();
    ApplyBounds();
}

void WindowPeer::Changed(PeerChange what) {
    switch (what) {
        case PeerChange::Bounds:
            ApplyBounds();
            break;
        case PeerChange::Caption:
            // The user's own typing comes back here: setting it again would move the caret.
            if (WindowText() != control_.Caption()) SetWindowTextW(Handle(), Widen(control_.Caption()).c_str());
            break;
        case PeerChange::Visible:
            ShowWindow(Handle(), control_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case PeerChange::Enabled:
            EnableWindow(Handle(), control_.Enabled());
            break;
        case PeerChange::Font:
            ApplyFont();
            InvalidateRect(Handle(), nullptr, TRUE);
            break;
        case PeerChange::Focus:
            // A window not on screen yet gets it when activated (FormPeer, WM_ACTIVATE).
            if (!reportingFocus_ && GetFocus() != Handle() && IsWindowVisible(GetAncestor(Handle(), GA_ROOT)))
                SetFocus(Handle());
            break;
        default:
            break;
    }
}

std::string WindowPeer::WindowText() const {
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
    return Narrow(text);
}

TSize WindowPeer::DrawnExtent(const std::string& text) const {
    if (measured_ && measured_->text == text) return measured_->extent;
    measured_ = Measurement{text, InkCanvas::Instance().Extent(font_.Get(), Widen(text))};
    return measured_->extent;
}

TSize WindowPeer::MeasureText(const std::string& text) const {
    const TSize extent = DrawnExtent(text);
    // Back to 96 dpi, rounding up so that the text never gets clipped.
    const int dpi = Dpi();
    return {(extent.Width * 96 + dpi - 1) / dpi, (extent.Height * 96 + dpi - 1) / dpi};
}

LRESULT WindowPeer::Intercept(UINT, WPARAM, LPARAM, bool&) { return 0; }

// Enter, Tab, the arrows and typed characters go to the form's keyboard rules first.
LRESULT WindowPeer::ForwardKeys(UINT message, WPARAM wParam, bool& handled) {
    auto* control = dynamic_cast<TWinControl*>(&control_);
    TForm* form = control_.Form();
    if (!control || !form) return 0;
    switch (message) {
        // The form raises only from the handler of a control it pressed: the key was used.
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE ||
                (wParam >= VK_LEFT && wParam <= VK_DOWN)) {
                handled = swallowChar_ = true;
                handled = swallowChar_ = form->KeyDown(static_cast<std::uint16_t>(wParam), CurrentShift());
            }
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (swallowChar_ && (wParam == '\r' || wParam == '\t' || wParam == 0x1B)) {
                swallowChar_ = false;
                handled = true;
                break;
            }
            // A UTF-16 unit: the form's access keys are ASCII letters, so anything else
            // goes straight to the window (typed into an edit, ignored elsewhere).
            if (wParam >= 0x80) break;
            handled = true;
            handled = form->CharTyped(static_cast<char>(wParam), message == WM_SYSCHAR ? ssAlt : CurrentShift());
            break;
        case WM_SETFOCUS: {
            if (control == form) break;
            const ScopedValue reporting(reportingFocus_, true);
            form->SetActiveControl(control);
            break;
        }
        default:
            break;
    }
    return 0;
}

LRESULT CALLBACK WindowPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Our procedure runs: the user data is the peer's (or null once it went), even under a
    // procedure subclassed over ours.
    auto* peer = reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!peer) return WindowSubclass::Orphaned(window, message, wParam, lParam);
    // Read before the peer acts: a handler may destroy it.
    const WNDPROC next = peer->subclass_->Next();
    bool handled = false;
    LRESULT result = 0;
    Guarded([&] {
        result = peer->Intercept(message, wParam, lParam, handled);
        if (!handled) peer->ForwardKeys(message, wParam, handled);
    });
    if (handled) return result;
    return CallWindowProcW(next, window, message, wParam, lParam);
}

}  // namespace platform::win32
