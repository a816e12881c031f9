#pragma once
// The win32 peers: each owns one window of a system or program class and turns its
// notifications into calls on the control. Layout is kept at 96 dpi in the controls and
// scaled here to the window's dpi.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "platform/win32/handle.h"
#include "platform/win32/window_subclass.h"
#include "ui/control.h"
#include "ui/peer.h"

class TForm;

namespace platform::win32 {

class FormPeer;

class WindowPeer : public ControlPeer {
public:
    explicit WindowPeer(TControl& control);
    ~WindowPeer() override;
    WindowPeer(const WindowPeer&) = delete;
    WindowPeer& operator=(const WindowPeer&) = delete;

    HWND Handle() const { return window_.Get(); }
    TControl& Control() const { return control_; }
    // The peer of one of our windows; null for any other window.
    static WindowPeer* FromHandle(HWND window);

    void Changed(PeerChange what) override;
    TSize MeasureText(const std::string& text) const override;

    // Notifications the parent window routes back to the control that sent them.
    virtual void Command(WORD) {}
    virtual LRESULT Notify(const NMHDR&) { return 0; }
    // WM_CTLCOLOR*: the brush to paint the background with, or null for the default.
    virtual HBRUSH ControlColor(HDC) { return nullptr; }
    // The dpi changed: geometry and font again.
    virtual void Rescale();
    // Stays under every later sibling (a filled shape the later controls lie on).
    virtual bool Background() const { return false; }

    int Dpi() const;
    int Scale(int value) const { return MulDiv(value, Dpi(), 96); }
    HFONT Font() const { return font_.Get(); }

protected:
    // Creates the window as a child of the parent's window (or top-level without one),
    // binds it to this peer and applies bounds, caption, font, visibility and enabled state.
    void Create(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // A message to the control's window before the system's procedure; set handled to
    // keep it from there.
    virtual LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual void ApplyBounds();
    void ApplyFont();
    // The text's size in device pixels as the window draws it in its font.
    TSize DrawnExtent(const std::string& text) const;
    HWND ParentHandle() const;
    std::string WindowText() const;
    void KeepBackgroundsUnder();

    // Whether the system procedure should see keys: a focus change made by the user is
    // reported to the form, not sent back to the window.
    bool reportingFocus_ = false;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT ForwardKeys(UINT message, WPARAM wParam, bool& handled);

    TControl& control_;
    // Nothing reaches this peer while its window is destroyed: the subclassing goes first,
    // then the window, then the font it was drawing with.
    FontHandle font_;
    WindowHandle window_;
    std::optional<WindowSubclass> subclass_;
    bool swallowChar_ = false;  // the key went to the form: drop its WM_CHAR too
    // The last text measured in the current font: a label that follows its text measures
    // it when it fits and again when it is placed, at every update.
    struct Measurement {
        std::string text;
        TSize extent;
    };
    mutable std::optional<Measurement> measured_;
};

// The colour value of a control colour (system colours resolved).
COLORREF ColorOf(TColor color);
// A solid brush of that colour, kept for the life of the process.
HBRUSH BrushOf(TColor color);
TShiftState CurrentShift();

}  // namespace platform::win32
