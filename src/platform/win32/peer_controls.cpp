#include "platform/win32/peer_controls.h"

#include <richedit.h>
#include <uxtheme.h>

#include <cstring>

#include "platform/exception.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/checkbox.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/memo.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/shape.h"

namespace platform::win32 {
namespace {

DWORD TabStopStyle(const TWinControl& control) { return control.TabStop() ? WS_TABSTOP : 0; }

// The rich-text box's class lives in its own library, loaded once for the process.
const wchar_t* RichEditClass() {
    static const HMODULE library = LoadLibraryW(L"riched20.dll");
    return library ? RICHEDIT_CLASSW : L"EDIT";
}

// A device-dependent bitmap from a complete .bmp file image; null for anything malformed.
HBITMAP LoadBitmapImage(std::span<const std::uint8_t> file) {
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    if (file.size() < sizeof header + sizeof info) return nullptr;
    std::memcpy(&header, file.data(), sizeof header);
    std::memcpy(&info, file.data() + sizeof header, sizeof info);
    if (header.bfType != 0x4D42 || info.biSize < sizeof info || info.biCompression != BI_RGB || info.biBitCount != 24 ||
        info.biWidth <= 0 || info.biWidth > 4096 || info.biHeight == 0 || info.biHeight > 4096 || info.biHeight < -4096)
        return nullptr;
    const std::size_t stride = (static_cast<std::size_t>(info.biWidth) * 3 + 3) & ~std::size_t{3};
    const std::size_t rows = static_cast<std::size_t>(info.biHeight < 0 ? -info.biHeight : info.biHeight);
    if (header.bfOffBits > file.size() || file.size() - header.bfOffBits < stride * rows) return nullptr;
    BITMAPINFO format = {};
    format.bmiHeader = info;
    format.bmiHeader.biSize = sizeof info;
    const WindowDC screen(nullptr);
    return CreateDIBitmap(screen.Get(), &format.bmiHeader, CBM_INIT, file.data() + header.bfOffBits, &format,
                          DIB_RGB_COLORS);
}

// Panels and the window have the button-face colour.
constexpr TColor kParentColor = clBtnFace;

}  // namespace

LabelPeer::LabelPeer(TLabel& label) : WindowPeer(label), label_(label) {
    const TLabel::Style& style = label.LabelStyle();
    DWORD kind = SS_LEFTNOWORDWRAP;
    if (style.WordWrap)
        kind = SS_LEFT;
    else if (style.Alignment == TAlignment::RightJustify && !label.SizesItself())
        kind = SS_RIGHT;  // one as wide as its text is drawn from its left: DT_RIGHT would cut an overhang
    // Transparency is the colour of what lies under it (ColorBehind): a transparent window
    // style would let the band paint over the text.
    Create(L"STATIC", kind | SS_NOPREFIX | (style.HandCursor ? SS_NOTIFY : 0));
}

void LabelPeer::Rescale() {
    WindowPeer::Rescale();
    label_.AdjustSize();
}

// A label that sizes itself gets the device size of its text: the model's 96-dpi width,
// rounded up, would leave a pixel or two over at other dpis.
void LabelPeer::ApplyBounds() {
    if (!label_.SizesItself()) return WindowPeer::ApplyBounds();
    const TBounds& b = label_.Bounds();
    const TSize extent = DrawnExtent(label_.SizingText());
    const bool right = label_.LabelStyle().Alignment == TAlignment::RightJustify;
    const int left = right ? Scale(b.Right()) - extent.Width : Scale(b.Left);
    SetWindowPos(Handle(), nullptr, left, Scale(b.Top), extent.Width, extent.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LabelPeer::Command(WORD code) {
    if (code == STN_CLICKED) label_.Click();
}

// A transparent label shows what lies under it: the filled shape it sits on, if any.
TColor LabelPeer::ColorBehind() const {
    TColor color = kParentColor;
    if (!label_.LabelStyle().Transparent || !label_.Parent()) return color;
    const TBounds& own = label_.Bounds();
    for (TControl* sibling : label_.Parent()->Children()) {
        if (sibling == &label_) break;
        const TBounds& b = sibling->Bounds();
        if (auto* shape = dynamic_cast<TShape*>(sibling); shape && shape->Visible() && own.Left >= b.Left &&
                                                          own.Top >= b.Top && own.Right() <= b.Right() &&
                                                          own.Bottom() <= b.Bottom())
            color = shape->Fill();
    }
    return color;
}

HBRUSH LabelPeer::ControlColor(HDC dc) {
    SetTextColor(dc, ColorOf(label_.Font().Color));
    SetBkMode(dc, TRANSPARENT);
    return BrushOf(ColorBehind());
}

LRESULT LabelPeer::Intercept(UINT message, WPARAM, LPARAM, bool& handled) {
    if (message == WM_SETCURSOR && label_.LabelStyle().HandCursor) {
        handled = true;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
    }
    return 0;
}

ButtonPeer::ButtonPeer(TButton& button) : WindowPeer(button), button_(button) {
    Create(L"BUTTON", Kind() | TabStopStyle(button));
}

DWORD ButtonPeer::Kind() const {
    TForm* form = button_.Form();
    return form && form->CurrentDefaultButton() == &button_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void ButtonPeer::Changed(PeerChange what) {
    if (what != PeerChange::Default) return WindowPeer::Changed(what);
    SendMessageW(Handle(), BM_SETSTYLE, Kind(), TRUE);
}

void ButtonPeer::Command(WORD code) {
    if (code == BN_CLICKED) button_.Click();
}

CheckPeer::CheckPeer(TRadioButton& radio) : WindowPeer(radio), radio_(&radio) {
    Create(L"BUTTON", BS_RADIOBUTTON | TabStopStyle(radio));
    Changed(PeerChange::Checked);
}

CheckPeer::CheckPeer(TCheckBox& check) : WindowPeer(check), check_(&check) {
    Create(L"BUTTON", BS_CHECKBOX | TabStopStyle(check));
    Changed(PeerChange::Checked);
}

bool CheckPeer::Checked() const { return radio_ ? radio_->Checked() : check_->Checked(); }

void CheckPeer::Changed(PeerChange what) {
    if (what != PeerChange::Checked) return WindowPeer::Changed(what);
    SendMessageW(Handle(), BM_SETCHECK, Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    // A radio group's only tab stop is its checked button.
    const auto& control = static_cast<const TWinControl&>(Control());
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, control.TabStop() ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void CheckPeer::Command(WORD code) {
    if (code != BN_CLICKED) return;
    if (radio_)
        radio_->Click();
    else
        check_->Click();
}

HBRUSH CheckPeer::ControlColor(HDC dc) {
    SetTextColor(dc, ColorOf(Control().Font().Color));
    SetBkMode(dc, TRANSPARENT);
    return BrushOf(kParentColor);
}

EditPeer::EditPeer(TEdit& edit) : WindowPeer(edit), edit_(edit) {
    Create(L"EDIT", ES_AUTOHSCROLL | ES_LEFT | TabStopStyle(edit), WS_EX_CLIENTEDGE);
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

void EditPeer::Changed(PeerChange what) {
    WindowPeer::Changed(what);
    // Entered with the keyboard (not the mouse): the whole text is selected.
    if (what == PeerChange::Focus && !reportingFocus_) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void EditPeer::Command(WORD code) {
    // Our own assignments come back here with the text the control already holds.
    if (code == EN_CHANGE) edit_.TextEdited(WindowText());
}

MemoPeer::MemoPeer(TMemo& memo) : WindowPeer(memo) {
    const DWORD style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | TabStopStyle(memo);
    if (memo.Rich()) {
        // The bar stays even while the text fits.
        Create(RichEditClass(), style | ES_SAVESEL | ES_DISABLENOSCROLL, WS_EX_CLIENTEDGE);
        SendMessageW(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    } else {
        Create(L"EDIT", style, WS_EX_CLIENTEDGE);
    }
}

// A read-only edit asks for the static colour; it keeps the white of a text box.
HBRUSH MemoPeer::ControlColor(HDC dc) {
    SetTextColor(dc, ColorOf(Control().Font().Color));
    SetBkColor(dc, ColorOf(clWindow));
    return BrushOf(clWindow);
}

ProgressPeer::ProgressPeer(TProgressBar& bar) : WindowPeer(bar), bar_(bar) {
    Create(PROGRESS_CLASSW, 0);
    // Themed bars ignore the bar colour.
    SetWindowTheme(Handle(), L" ", L" ");
    Changed(PeerChange::Range);
}

void ProgressPeer::Changed(PeerChange what) {
    switch (what) {
        case PeerChange::Range:
            SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()), static_cast<LPARAM>(bar_.Max()));
            [[fallthrough]];
        case PeerChange::Position:
            SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
            break;
        default:
            WindowPeer::Changed(what);
    }
}

// This peer's own bar: a message to its window, as the system takes the colour.
void ProgressPeer::PostBarColor(TProgressBar&, TColor color) {
    PostMessageW(Handle(), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT ProgressPeer::Intercept(UINT message, WPARAM, LPARAM lParam, bool&) {
    // The system draws it; the model learns the colour too.
    if (message == PBM_SETBARCOLOR) bar_.BarColorArrived(static_cast<TColor>(lParam));
    return 0;
}

ShapePeer::ShapePeer(TShape& shape) : WindowPeer(shape), shape_(shape) { Create(L"STATIC", SS_LEFT); }

HBRUSH ShapePeer::ControlColor(HDC) { return BrushOf(shape_.Fill()); }

// The etched line: its upper row in the shadow colour, the lower in the highlight.
BevelPeer::BevelPeer(TBevel& bevel) : WindowPeer(bevel) { Create(L"STATIC", SS_ETCHEDHORZ); }

ImagePeer::ImagePeer(TImage& image) : WindowPeer(image), bitmap_(LoadBitmapImage(image.Bitmap())) {
    Create(L"STATIC", SS_BITMAP);
    if (bitmap_) SendMessageW(Handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.Get()));
    // SS_BITMAP fits the control to the picture; the picture is shown at its natural size.
    ApplyBounds();
}

// The window lets go of the picture before the picture goes.
ImagePeer::~ImagePeer() { SendMessageW(Handle(), STM_SETIMAGE, IMAGE_BITMAP, 0); }

}  // namespace platform::win32
