// A radio button's conversion: the link in 编辑框1 through its scheme's converter into
// 编辑框2, or the format error.
#pragma once

#include "vantrel/links.h"
#include "window_layer.h"

namespace vantrel {

// Reads 编辑框1, converts it by scheme and writes the result into 编辑框2; FlashGet shows
// its still encoded body there while it decodes. A link without the scheme's prefix gets
// the format error and leaves 编辑框2 alone.
void run_conversion(WindowLayer& window, Scheme scheme);

// "格式错误！请输入正确的地址！": task-modal, without owner, with the error icon.
void show_format_error();

}  // namespace vantrel
