// The demo and end-to-end build of the wizard downloads from a web server on loopback.
#include "wizard/downloadhost.h"

const char* const kDownloadHost = QUORVANE_DEMO_HOST;
