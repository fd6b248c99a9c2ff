// The link decoder's own Base64 reading: never fails, skips spaces, full-width spaces and
// CR LF pairs, decodes every group of four characters into three bytes and trims the end
// by where the last group stopped.
#pragma once

#include "vantrel/text.h"

namespace vantrel {

Bytes decode_base64(std::string_view encoded);

// The window layer lets queued window messages through while a long text is decoded.
// The decoder calls the installed pump once after every group of four characters;
// with none installed (nullptr) it does nothing extra.
using MessagePump = void (*)();
void install_message_pump(MessagePump pump);

}  // namespace vantrel
