// Download stage (issue 7).
#include "wizard/finstall.h"
#include "platform/services.h"
#include "i18n/traducteur.h"
