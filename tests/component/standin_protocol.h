// What the tests and the stand-in main window agree on: the main program's window class, the
// context-menu key with the hand-off record, and the stand-in's log.
#pragma once

namespace standin {

// The main program's window class; the stand-in started with kForeignOption registers
// kForeignClass instead and leaves the record alone.
constexpr char kMainWindowClass[] = "VantrelMainWindow";
constexpr char kForeignClass[] = "SomeOtherProgramWindow";
constexpr char kForeignOption[] = "--foreign";

// HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\MenuExt\&Q 下载地址转换, in the
// code page 936 bytes that the main program uses whatever the ANSI code page.
constexpr char kMenuExtKey[] =
    "Software\\Microsoft\\Internet Explorer\\MenuExt\\"
    "&Q \xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xD7\xAA\xBB\xBB";

constexpr unsigned kLinkHandoff = 0x400 + 83;  // WM_USER + 83

// The stand-in appends one line per message of interest to the file named by this variable:
// "<message> <wParam> <clipboard>", numbers in decimal; the clipboard's CF_TEXT in hex within
// brackets, "-" when it holds no text, "closed" when it cannot be opened. WM_SYSCOMMAND's
// wParam is logged without its four low bits.
constexpr wchar_t kLogVariable[] = L"TAVIK_STANDIN_LOG";

}  // namespace standin
