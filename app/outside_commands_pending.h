// TEMPORARY until the outside commands (下载按钮, 定时按钮, 定时任务) land from their own
// branch with app/outside_commands.h: the two entry points that the event bindings call.
// Delete this file and its .cpp, and include outside_commands.h instead, when they land.
#pragma once

#include "window_layer.h"

namespace vantrel {

void start_download(WindowLayer& window);
void run_alarm();

}  // namespace vantrel
