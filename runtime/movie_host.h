// Hosting of the Flash Player control. Only the availability test is declared here so far; the
// host window itself joins this header with the screensaver window.
#pragma once

// True when the Flash Player control can be created on this machine.
bool IsFlashAvailable();
