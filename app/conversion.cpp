#include "conversion.h"

#include <windows.h>

namespace vantrel {

void run_conversion(WindowLayer& window, Scheme scheme) {
    const Text link = window.read_box(Box::encoded);
    const ConversionResult result = convert_link(
        scheme, link, [&window](const Text& shown) { window.write_box(Box::plain, shown); });
    if (!result) {
        show_format_error();
        return;
    }
    window.write_box(Box::plain, *result);
}

void show_format_error() {
    MessageBoxW(nullptr, L"格式错误！请输入正确的地址！", L"错误",
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace vantrel
