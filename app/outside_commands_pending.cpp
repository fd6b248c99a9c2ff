// TEMPORARY: see outside_commands_pending.h. These do nothing until the real commands land.
#include "outside_commands_pending.h"

namespace vantrel {

void start_download(WindowLayer&) {}
void run_alarm() {}

}  // namespace vantrel
