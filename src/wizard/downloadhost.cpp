#include "wizard/downloadhost.h"

const char* const kDownloadHost = QUORVANE_DOWNLOAD_HOST;
