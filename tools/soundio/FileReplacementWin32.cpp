#include "tools/soundio/FileReplacement.h"

#include "tools/soundio/SystemMessage.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <random>
#include <string>

namespace wowfix::soundio {

int createUniqueFile(std::string& pattern) {
    // Not the runtime's mkstemp: it opens the file denying every other
    // opening, and writers open the temporary file again by its name. This
    // one shares it, created exclusively and binary.
    const std::size_t letters = pattern.size() >= 6 ? pattern.size() - 6 : 0;
    if (pattern.compare(letters, std::string::npos, "XXXXXX") != 0) {
        errno = EINVAL;
        return -1;
    }
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<int> letter(0, static_cast<int>(sizeof kLetters) - 2);
    // A name another process took in the meantime is tried again with new letters.
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = letters; i < pattern.size(); ++i) pattern[i] = kLetters[letter(pick)];
        int fd = -1;
        const errno_t status = _sopen_s(&fd, pattern.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                                        _S_IREAD | _S_IWRITE);
        if (status == 0) return fd;
        if (status != EEXIST) {
            errno = status;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool replaceWith(const std::string& from, const std::string& to, std::string& error) {
    // rename() on Windows refuses a target that exists.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    error = systemMessage(GetLastError());
    return false;
}

std::size_t lastPathSeparator(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace wowfix::soundio
