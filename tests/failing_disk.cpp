// Preloaded into a program under test (LD_PRELOAD), makes one system call of
// the safe-write path fail as a failing disk makes it fail, so that the real
// write path runs up to that call: SKYVANE_FAIL=fsync gives EIO from fsync,
// SKYVANE_FAIL=rename gives EACCES from rename (the folder turned read-only
// just before the temporary file replaces the old one), SKYVANE_FAIL=rename-dir
// gives EISDIR (a folder took the file's place). Anything else: no failure.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>

namespace {

bool failing(const char* call) {
    const char* which = std::getenv("SKYVANE_FAIL");
    return which && std::strncmp(which, call, std::strlen(call)) == 0;
}

int renameError() {
    const char* which = std::getenv("SKYVANE_FAIL");
    return std::strcmp(which, "rename-dir") == 0 ? EISDIR : EACCES;
}

template <class F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int fsync(int fd) {
    if (failing("fsync")) {
        errno = EIO;
        return -1;
    }
    static const auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

int fdatasync(int fd) {
    if (failing("fsync")) {
        errno = EIO;
        return -1;
    }
    static const auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}

int rename(const char* from, const char* to) {
    if (failing("rename")) {
        errno = renameError();
        return -1;
    }
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    if (failing("rename")) {
        errno = renameError();
        return -1;
    }
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if (failing("rename")) {
        errno = renameError();
        return -1;
    }
    static const auto real =
        next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return real(fromDir, from, toDir, to, flags);
}
}
