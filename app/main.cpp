#include "commandline.h"
#include "startup.h"

int main(int argc, char** argv)
{
    // The command line needs no display: it is decided before any window exists.
    if (const auto status = RunCommandLine(argc, argv))
        return *status;
    return RunKorvaneSetup(argc, argv);
}
