// libFuzzer target for the registry file reader: any bytes either fail to parse or give a tree that
// is written and read back unchanged. Also run over mutated inputs by registryfiletest.cpp.

#include "platform/registryfile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::RegistryFileError error;
    const std::optional<platform::RegistryNode> tree = platform::ParseRegistryFile(text, error);
    if (!tree) return 0;
    const std::string written = platform::FormatRegistryFile(*tree);
    const std::optional<platform::RegistryNode> reread = platform::ParseRegistryFile(written, error);
    if (!reread || !(*reread == *tree)) __builtin_trap();
    return 0;
}
