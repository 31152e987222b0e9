// Start-up measurement: with RAVELGARD_EXIT_WHEN_SHOWN set, the program writes "shown" to
// standard output and ends as soon as the wizard window has been painted for the first time.
// The start-up benchmark uses it; without the variable nothing is installed.
#pragma once

namespace rg::app {

void InstallStartupProbeIfRequested();

}  // namespace rg::app
