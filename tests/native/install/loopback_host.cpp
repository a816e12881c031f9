// The vendor host these test programs are built with: the loopback server, on the port it
// got from the system (set by each download test).
#include "download_fixture.h"

char gLoopbackHost[64] = "127.0.0.1";
const char* const kDownloadHost = gLoopbackHost;
