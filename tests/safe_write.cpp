// Writes a file the way the program writes its data files, for the tests that
// make the disk fail under it: safe_write PATH TEXT prints "written" or the
// pilot's message for a "data" file, exit code 0 or 1.
#include "core/Files.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: safe_write PATH TEXT\n", stderr);
        return 2;
    }
    const auto status = core::writeFileSafely(argv[1], argv[2]);
    if (status == core::WriteStatus::Written) {
        std::puts("written");
        return 0;
    }
    std::puts(core::writeFailureText(status, "data").c_str());
    return 1;
}
