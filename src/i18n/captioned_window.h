#pragma once
// What SetLanguage re-captions: the wizard window, which alone knows its controls. The
// catalogue sees only this, so it depends on nothing of the wizard.
enum class TCaptionSet { French, English };

class TCaptionedWindow {
public:
    // Assigns every caption of the set, in the set's order.
    virtual void ApplyCaptions(TCaptionSet set) = 0;

protected:
    ~TCaptionedWindow() = default;
};

// The one wizard window, set while it exists.
extern TCaptionedWindow* fInstall;
