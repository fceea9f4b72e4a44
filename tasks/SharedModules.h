#pragma once
// One loaded library object per path, shared by every plug-in instance of
// the process that uses it and freed when the last one lets it go. A failed
// load is not remembered: the next request tries again.

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace wowfix {

// `load` (path, error) makes the object, or answers null with `error` set.
template <typename Module, typename Load>
std::shared_ptr<Module> acquireShared(const std::string& path, std::string& error, Load load) {
    static std::mutex lock;
    static std::map<std::string, std::weak_ptr<Module>> loaded;
    std::lock_guard<std::mutex> guard(lock);
    if (std::shared_ptr<Module> module = loaded[path].lock()) return module;
    std::shared_ptr<Module> module = load(path, error);
    if (module != nullptr) loaded[path] = module;
    return module;
}

}  // namespace wowfix
