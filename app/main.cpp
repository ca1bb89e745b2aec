#include "commandline.h"
#include "startup.h"

#include <csignal>

int main(int argc, char** argv)
{
    // A file that reaches the size limit fails its write and is reported, rather than
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The command line needs no display: it is decided before any window exists.
    if (const auto status = RunCommandLine(argc, argv))
        return *status;
    return RunKorvaneSetup(argc, argv);
}
