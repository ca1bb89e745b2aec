#pragma once

#include <optional>

/// The command line, decided before any application object exists. Arguments other
/// than Qt's own window options (-platform, -style and the like) ask for a mode that
/// runs without a window and without a display (--check, --export, --help, --version):
/// it runs here on a QCoreApplication, and its exit status is returned. None is
/// returned when there are no such arguments: the program then starts its windows.
std::optional<int> RunCommandLine(int argc, char** argv);
