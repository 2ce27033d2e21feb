#pragma once

#include <optional>
#include <string>

namespace cli {

// Turns a command's TARGET into a drive letter: "E:" (or "E:\", any case) names a mapped drive;
// anything else is a directory, which is mapped to the first free letter for this run.
// Empty optional, the reason told on standard error, when neither works.
std::optional<char> ResolveTarget(const std::string& target);

}  // namespace cli
