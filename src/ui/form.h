#pragma once
// The one top-level window: fixed client area, title, the control that has the focus and
// the keyboard rules of a dialog (default button, access keys, Tab order, arrow keys in a
// radio group).
#include <cstdint>

#include "ui/control.h"

class TButton;

class TForm : public TWinControl {
public:
    // Bounds are the client area; the caption is the title.
    TForm(std::string name, int clientWidth, int clientHeight);

    TNotifyEvent OnCreate;
    TNotifyEvent OnClose;

    // The window appears on screen only once the application runs; until then its
    // controls count as showing, so code can work on them while the window is built.
    void Show();
    bool Shown() const { return shown_; }

    TWinControl* ActiveControl() const { return activeControl_; }
    // Moves the focus (null: to the window itself); the peer reports focus changes made by
    // the user through it too.
    void SetActiveControl(TWinControl* control);

    // The button that Enter presses while no push button has the focus.
    void SetDefaultButton(TButton* button);
    TButton* DefaultButton() const { return defaultButton_; }
    // The button drawn with the default frame, the one Enter presses: the focused push
    // button, otherwise the default button.
    TButton* CurrentDefaultButton() const;

    // Runs OnClose; when it raises, the window stays open and the error goes on to the
    // caller. Otherwise the application is asked to end, and later closes (a double click
    // on the last page's button) do nothing.
    void Close();
    bool CloseRequested() const { return closeRequested_; }

    // A key pressed while the window is active. True when the form used it (a button was
    // pressed or the focus moved); the peer then drops the key.
    bool KeyDown(std::uint16_t key, TShiftState shift);
    // A typed character: the access keys of the push buttons.
    bool CharTyped(char character, TShiftState shift);
    // Tab and Shift+Tab: the next control in tab order, panel by panel.
    void SelectNext(bool forward);

private:
    friend class TControl;
    // A control on its way out: the form keeps no pointer to it. Its window goes after
    // this, and the focus moves the system makes then must not reach it.
    void Forget(const TControl& control);

    // Redraws the frames after the current default button may have changed from before.
    void DefaultFrameMoved(TButton* before);
    // Arrow keys on a radio button: the focus and the check go to its neighbour.
    bool MoveInGroup(bool forward);

    TWinControl* activeControl_ = nullptr;
    TButton* defaultButton_ = nullptr;
    bool closeRequested_ = false;
    bool shown_ = false;
};
