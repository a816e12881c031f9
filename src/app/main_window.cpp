// The wizard's one window, reachable from the catalogue; set while it exists.
#include "wizard/finstall.h"

TfInstall* fInstall = nullptr;
