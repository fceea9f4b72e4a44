#pragma once
// A small text file written beside its final name and renamed onto it.

#include <string>

namespace wowfix::batch {

bool writeWholeFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace wowfix::batch
