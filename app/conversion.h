// A radio button's conversion: the link in the encoded link box through its scheme's converter into
// the plain address box, or the format error.
#pragma once

#include "vantrel/links.h"
#include "window_layer.h"

namespace vantrel {

// Reads the encoded link box, converts it by scheme and writes the result into the plain address
// box; FlashGet shows its still encoded body there while it decodes. A link without the scheme's
// prefix gets the format error and leaves the plain address box alone.
void run_conversion(WindowLayer& window, Scheme scheme);

// "格式错误！请输入正确的地址！": task-modal, without owner, with the error icon.
void show_format_error();

}  // namespace vantrel
