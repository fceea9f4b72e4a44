#include "hostsim/cli/TemporaryFolder.h"

#include "tools/soundio/PathLimit.h"
#include "tools/soundio/SystemMessage.h"

#include <windows.h>

#include <cstdlib>
#include <random>

namespace wowfix::hostsim {

namespace {

std::string temporaryBase() {
    const char* temp = std::getenv("TEMP");
    if (temp != nullptr && *temp != '\0') return temp;
    char buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string(".");
}

}  // namespace

bool makeTemporaryFolder(const std::string& prefix, std::string& folder, std::string& error) {
    std::string base = temporaryBase();
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<int> letter(0, static_cast<int>(sizeof kLetters) - 2);
    // A name another process took in the meantime is tried again with new letters.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = base + prefix;
        for (int i = 0; i < 6; ++i) candidate += kLetters[letter(pick)];
        std::string why;
        if (!soundio::pathFits(candidate, why)) {
            error = "cannot make a folder for the files: " + why;
            return false;
        }
        if (CreateDirectoryA(candidate.c_str(), nullptr) != 0) {
            folder = candidate;
            return true;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_ALREADY_EXISTS) {
            error = "cannot make a folder for the files (" + candidate + "): " + soundio::systemMessage(code);
            return false;
        }
    }
    error = "cannot make a folder for the files in " + base + ": every name tried was taken";
    return false;
}

}  // namespace wowfix::hostsim
