#pragma once
// The vendor's web server ("name" or "name:port"), fixed when the program is built.
extern const char* const kDownloadHost;
