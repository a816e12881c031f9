#pragma once
// The peers of the simple controls: system classes STATIC, BUTTON, EDIT, RichEdit and
// msctls_progress32.
#include "platform/win32/peer_window.h"

class TLabel;
class TButton;
class TRadioButton;
class TCheckBox;
class TEdit;
class TMemo;
class TProgressBar;
class TShape;
class TBevel;
class TImage;

namespace platform::win32 {

class LabelPeer : public WindowPeer {
public:
    explicit LabelPeer(TLabel& label);
    void Command(WORD code) override;
    HBRUSH ControlColor(HDC dc) override;
    // The text measures differently in the new font.
    void Rescale() override;

protected:
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void ApplyBounds() override;

private:
    TColor ColorBehind() const;
    TLabel& label_;
};

class ButtonPeer : public WindowPeer {
public:
    explicit ButtonPeer(TButton& button);
    void Changed(PeerChange what) override;
    void Command(WORD code) override;

private:
    // BS_DEFPUSHBUTTON while the form draws it with the default frame.
    DWORD Kind() const;
    TButton& button_;
};

// Radio buttons and check boxes: drawn by the system, checked by the model.
class CheckPeer : public WindowPeer {
public:
    CheckPeer(TRadioButton& radio);
    CheckPeer(TCheckBox& check);
    void Changed(PeerChange what) override;
    void Command(WORD code) override;
    HBRUSH ControlColor(HDC dc) override;

private:
    bool Checked() const;
    TRadioButton* radio_ = nullptr;
    TCheckBox* check_ = nullptr;
};

class EditPeer : public WindowPeer {
public:
    explicit EditPeer(TEdit& edit);
    void Changed(PeerChange what) override;
    void Command(WORD code) override;

private:
    TEdit& edit_;
};

class MemoPeer : public WindowPeer {
public:
    explicit MemoPeer(TMemo& memo);
    HBRUSH ControlColor(HDC dc) override;
};

class ProgressPeer : public WindowPeer {
public:
    explicit ProgressPeer(TProgressBar& bar);
    void Changed(PeerChange what) override;
    void PostBarColor(TProgressBar& bar, TColor color) override;

protected:
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    TProgressBar& bar_;
};

class ShapePeer : public WindowPeer {
public:
    explicit ShapePeer(TShape& shape);
    HBRUSH ControlColor(HDC dc) override;
    bool Background() const override { return true; }

private:
    TShape& shape_;
};

class BevelPeer : public WindowPeer {
public:
    explicit BevelPeer(TBevel& bevel);
};

class ImagePeer : public WindowPeer {
public:
    explicit ImagePeer(TImage& image);
    ~ImagePeer() override;

private:
    BitmapHandle bitmap_;
};

}  // namespace platform::win32
