#include "tools/soundio/SystemMessage.h"

#include <windows.h>

namespace wowfix::soundio {

std::string systemMessage(unsigned long code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message;
    if (length != 0 && text != nullptr) message.assign(text, length);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "system error " + std::to_string(code);
    return message;
}

}  // namespace wowfix::soundio
