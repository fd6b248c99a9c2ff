// What the tests and the stand-in main window agree on beyond the program's own contract
// (vantrel/contract.h, whose window class, message and record the stand-in plays): the foreign
// window. The stand-in logs one record per message of interest in the stand-ins' log
// (support/stand_in_log.h): "<message> <wParam> <clipboard>", numbers in decimal; the
// clipboard's CF_TEXT in hex within brackets, "-" when it holds no text, "closed" when it
// cannot be opened. WM_SYSCOMMAND's wParam is logged without its four low bits.
#pragma once

#include "vantrel/contract.h"

namespace standin {

using vantrel::kMainWindowClassA;
using vantrel::kMenuExtKey;
using vantrel::kMsgLinkHandoff;

// The stand-in started with kForeignOption registers kForeignClass instead of the main
// program's class and leaves the record alone.
constexpr char kForeignClass[] = "SomeOtherProgramWindow";
constexpr char kForeignOption[] = "--foreign";

}  // namespace standin
