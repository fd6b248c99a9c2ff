// Binds one entry of the library function table, named on the command line, and ends with
// exit code 0 when it was found. Run from a directory without the library, it shows the
// fatal error report instead.
#include <string>

#include "library_functions.h"

int main(int argc, char** argv) {
    const std::string entry = argc > 1 ? argv[1] : "";
    vantrel::LibraryFunctions functions;
    if (entry == "alarm") return functions.alarm() ? 0 : 1;
    if (entry == "register") return functions.dll_register_server() ? 0 : 1;
    if (entry == "download") return functions.do_file_download() ? 0 : 1;
    return 2;
}
