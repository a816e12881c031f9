// Placement and registration of the installed program (issue 5).
#include "wizard/finstall.h"
#include "platform/services.h"
#include "i18n/traducteur.h"
