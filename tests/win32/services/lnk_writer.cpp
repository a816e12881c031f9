// Writes shell links through the services into the folder given as the argument, for the
// host-side lnkinfo check (lnkinfo_check.sh).
#include <cstdio>
#include <string>

#include "platform/services.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: services_lnk_writer FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    platform::ComScope com;
    const std::string dir = "C:\\Program Files\\Quorvane\\Entreprise\\";
    bool saved = platform::CreateShellLink(dir + "quorvane.exe", "", dir, folder + "\\Quorvane.Lnk");
    saved = platform::CreateShellLink(dir + "uninstall.exe", "", dir, folder + "\\\\Désinstaller.Lnk") && saved;
    if (!saved) std::fprintf(stderr, "link not saved: %s\n", platform::SystemErrorText().c_str());
    return saved ? 0 : 1;
}
