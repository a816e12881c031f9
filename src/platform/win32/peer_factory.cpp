// One peer per control kind; the common controls are registered once.
#include <windows.h>
#include <commctrl.h>

#include "platform/exception.h"
#include "platform/peers.h"
#include "platform/win32/peer_container.h"
#include "platform/win32/peer_controls.h"
#include "platform/win32/peer_tree.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/checkbox.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/memo.h"
#include "ui/panel.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/shape.h"
#include "ui/speedbutton.h"

namespace platform {
namespace {

void InitialiseCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes = {sizeof classes,
                                        ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

}  // namespace

std::unique_ptr<ControlPeer> CreatePeer(TControl& control) {
    using namespace win32;
    InitialiseCommonControls();
    if (auto* form = dynamic_cast<TForm*>(&control)) return std::make_unique<FormPeer>(*form);
    if (auto* panel = dynamic_cast<TPanel*>(&control)) return std::make_unique<PanelPeer>(*panel);
    if (auto* speed = dynamic_cast<TSpeedButton*>(&control)) return std::make_unique<SpeedButtonPeer>(*speed);
    if (auto* label = dynamic_cast<TLabel*>(&control)) return std::make_unique<LabelPeer>(*label);
    if (auto* button = dynamic_cast<TButton*>(&control)) return std::make_unique<ButtonPeer>(*button);
    if (auto* radio = dynamic_cast<TRadioButton*>(&control)) return std::make_unique<CheckPeer>(*radio);
    if (auto* check = dynamic_cast<TCheckBox*>(&control)) return std::make_unique<CheckPeer>(*check);
    if (auto* edit = dynamic_cast<TEdit*>(&control)) return std::make_unique<EditPeer>(*edit);
    if (auto* memo = dynamic_cast<TMemo*>(&control)) return std::make_unique<MemoPeer>(*memo);
    if (auto* bar = dynamic_cast<TProgressBar*>(&control)) return std::make_unique<ProgressPeer>(*bar);
    if (auto* tree = dynamic_cast<TShellTreeView*>(&control)) return std::make_unique<TreePeer>(*tree);
    if (auto* shape = dynamic_cast<TShape*>(&control)) return std::make_unique<ShapePeer>(*shape);
    if (auto* bevel = dynamic_cast<TBevel*>(&control)) return std::make_unique<BevelPeer>(*bevel);
    if (auto* image = dynamic_cast<TImage*>(&control)) return std::make_unique<ImagePeer>(*image);
    throw Exception("No window for the control " + control.Name());
}

}  // namespace platform
