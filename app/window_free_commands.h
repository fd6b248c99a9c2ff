// The commands of vantrel.exe that run without a window: registering and unregistering the URL
// schemes, ending a running Vantrel, and the usage box. Each returns the process's exit code.
#pragma once

namespace vantrel {

// 0; or 1, with the refusing key on standard error and the registry as it was.
int register_schemes_command();
int unregister_schemes_command();
// 0 when no Vantrel runs (any more); kExitStillRunning when it did not end in time.
int exit_command();
// The usage message box; kExitUsage.
int usage_command();

}  // namespace vantrel
