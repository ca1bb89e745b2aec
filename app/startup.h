#pragma once

#include <QStringList>
#include <functional>

/// The program: start-up, main window, event loop. Returns the exit status: 0 when the
/// main window was closed, 1 when start-up broke off (no settings, an exception).
/// `beforeMainWindow` runs just before the main window is made (tests inject failures).
int RunKorvaneSetup(int argc, char** argv, const std::function<void()>& beforeMainWindow = {});

/// Text of the box shown when no settings file names a host.
QString NoSettingsMessage();
