// What vantrel.exe, tavik.dll and the programs that call them agree on, across processes: the
// main window's class and its hand-off messages, the context-menu key with the hand-off record,
// the record's value names and the files that lie beside the program. Nothing here needs
// windows.h; the numbers are written out and named after the Windows constants they come from.
//
// The component's class, interface and type library GUIDs are written once, in
// component/tavik.idl: widl makes the binary GUIDs of them (tavik.h, tavik_i.c) and the build
// makes the text forms (tavik_ids.h) and the registrar script (tavik.rgs) of them.
#pragma once

#include <cstdint>

// Literals that both the ANSI and the UTF-16 spelling are made of.
#define VANTREL_MAIN_WINDOW_CLASS "VantrelMainWindow"
#define VANTREL_MENU_EXT_PARENT_KEY "Software\\Microsoft\\Internet Explorer\\MenuExt"
// "&Q 下载地址转换" in code page 936 bytes: the menu text, Q its access key. The program and the
// component name the key by these bytes whatever the system's ANSI code page.
#define VANTREL_MENU_TEXT "&Q \xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xD7\xAA\xBB\xBB"

namespace vantrel {

// The main program's main window class. The component sends only to a window of this class.
inline constexpr char kMainWindowClassA[] = VANTREL_MAIN_WINDOW_CLASS;
inline constexpr wchar_t kMainWindowClass[] = L"" VANTREL_MAIN_WINDOW_CLASS;

// Sent to the main window when the clipboard holds a link for it: WM_USER + 83 (1107),
// wParam 0, lParam 0. The payload is the clipboard's CF_TEXT; the result is 0.
inline constexpr unsigned kMsgLinkHandoff = 0x0400 + 83;

// A link handed over by WM_COPYDATA (vantrel.exe LINK, as a browser starts it while the program
// runs): dwData is this tag, lpData the link's bytes in the ANSI code page, cbData their number
// (no terminating zero), at most kCopyDataLinkLimit. The main window ignores anything else.
inline constexpr std::uintptr_t kCopyDataLinkTag = 0x4B4E4C56;  // "VLNK"
inline constexpr std::uint32_t kCopyDataLinkLimit = 64 * 1024;  // bytes

// The context-menu keys under HKEY_CURRENT_USER, without a trailing backslash: the browser's
// MenuExt key, and the program's entry below it, which holds the hand-off record.
inline constexpr char kMenuExtParentKey[] = VANTREL_MENU_EXT_PARENT_KEY;
inline constexpr char kMenuExtKey[] = VANTREL_MENU_EXT_PARENT_KEY "\\" VANTREL_MENU_TEXT;

// The values of the entry: the default value names the page that the browser runs for it;
// "contexts" holds the browser's context flags, links (0x20) and images (0x02); the hand-off
// record is the program's full path and its main window handle as signed decimal text of the
// 32-bit number.
inline constexpr char kContextsValue[] = "contexts";
inline constexpr std::int32_t kMenuContexts = 0x22;
inline constexpr char kFilePathValue[] = "FilePath";
inline constexpr char kMainWindowHandleValue[] = "MainWindowHandle";

// The files beside vantrel.exe: the component, which the program registers at every start,
// and the page of the context-menu entry.
inline constexpr wchar_t kComponentFile[] = L"tavik.dll";
inline constexpr char kPageFile[] = "tavik_link.htm";

// The exit code of a start that cannot write the context-menu key (-1 is the fatal error
// report's).
inline constexpr unsigned kExitRegistryWriteFailed = 1;

}  // namespace vantrel
