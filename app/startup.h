#pragma once

#include <QStringList>

/// The program: start-up, main window, event loop. Returns the exit status.
/// `configLocations` are the settings files to read (the four standard places).
int RunKorvaneSetup(int argc, char** argv);

/// Text of the box shown when no settings file names a host.
QString NoSettingsMessage();
