#pragma once
// The window and its panels: windows of the program's own classes that route the
// notifications of their children back to the children's peers.
#include "platform/win32/peer_window.h"

class TForm;
class TPanel;
class TSpeedButton;

namespace platform::win32 {

class ContainerPeer : public WindowPeer {
public:
    using WindowPeer::WindowPeer;

protected:
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
};

// The top-level window: dialog frame, caption with the close box only, fixed client area
// centred on the screen, shown when the form is shown.
class FormPeer : public ContainerPeer {
public:
    explicit FormPeer(TForm& form);
    void Changed(PeerChange what) override;
    int WindowDpi() const { return dpi_; }

protected:
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void ApplyBounds() override;

private:
    void RescaleAll(TWinControl& container);
    TForm& form_;
    int dpi_;
};

// A panel: raised one-pixel bevel, and the painted mouse-only buttons it holds, whose
// captions are its accessible name.
class PanelPeer : public ContainerPeer {
public:
    explicit PanelPeer(TPanel& panel);
    // A mouse-only button of the panel changed: paint it again.
    void ButtonChanged();

protected:
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Paint();
    void PaintButton(HDC dc, TSpeedButton& button);
    TSpeedButton* ButtonAt(int x, int y);
    TSpeedButton* HeldButton();
    void RefreshAccessibleName();
    TPanel& panel_;
    bool releasingCapture_ = false;
};

// The mouse-only button: no window, a rectangle of its panel.
class SpeedButtonPeer : public ControlPeer {
public:
    explicit SpeedButtonPeer(TSpeedButton& button);
    void Changed(PeerChange what) override;
    TSize MeasureText(const std::string& text) const override;

private:
    PanelPeer& Panel() const;
    TSpeedButton& button_;
};

HFONT CreateControlFont(const TFont& font, int dpi);

}  // namespace platform::win32
