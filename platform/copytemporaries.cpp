#include "platform/copytemporaries.h"

#include <cerrno>
#include <charconv>
#include <csignal>

namespace platform {

namespace {

constexpr std::string_view kPrefix = ".kovahdd-";
constexpr std::string_view kSuffix = ".tmp";

// The decimal number at the start of the text, which it then leaves; false when there is none.
template <typename Number>
bool TakeNumber(std::string_view& text, Number& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

}  // namespace

std::string CopyTemporaryName(pid_t process, uint32_t number)
{
    return std::string(kPrefix) + std::to_string(process) + "-" + std::to_string(number) + std::string(kSuffix);
}

pid_t CopyTemporaryProcess(std::string_view name)
{
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
    std::string_view middle = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    pid_t process = 0;
    uint32_t number = 0;
    if (!TakeNumber(middle, process) || process <= 0 || !middle.starts_with('-')) return 0;
    middle.remove_prefix(1);
    if (!TakeNumber(middle, number) || !middle.empty()) return 0;
    return process;
}

bool IsLeftoverCopyTemporary(std::string_view name)
{
    const pid_t process = CopyTemporaryProcess(name);
    return process > 0 && ::kill(process, 0) != 0 && errno == ESRCH;
}

}  // namespace platform
