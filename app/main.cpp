#include "startup.h"

int main(int argc, char** argv)
{
    return RunKorvaneSetup(argc, argv);
}
