#include "outside_commands.h"

#include <vector>

namespace vantrel {

void start_download(WindowLayer& window, LibraryFunctions& functions) {
    open_download_dialog(window, functions);
    window.set_visible(false);
    window.set_shown_in_tray(true);
    window.write_box(Box::encoded, Text());
    window.write_box(Box::plain, Text());
}

void open_download_dialog(const WindowLayer& window, LibraryFunctions& functions) {
    const Text address = window.read_box(Box::plain);
    const auto convert = functions.multi_byte_to_wide_char();

    // The buffer is sized to the converted address, so an address of any length reaches
    // the dialog whole. The box holds ANSI text; no flags, so composed characters such as
    // a pinyin letter with its tone mark stay one code unit. An empty box gives the empty
    // string, which the dialog is shown for like any other address.
    const int length = convert(CP_ACP, 0, address.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
    if (length > 0) convert(CP_ACP, 0, address.c_str(), -1, wide.data(), length);

    functions.do_file_download()(wide.data());
}

void run_alarm(LibraryFunctions& functions) {
    functions.alarm()();
}

}  // namespace vantrel
