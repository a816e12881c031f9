#pragma once
// The composition root: the frame, the catalogue and the wizard window put together.
#include <string>

// Runs the wizard, downloading from the given vendor host ("name" or "name:port").
// Returns the process exit code.
int RunInstaller(const std::string& downloadHost);
