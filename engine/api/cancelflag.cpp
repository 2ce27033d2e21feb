#include "engine/api/cancelflag.h"

namespace engine {

std::atomic<int32_t>& CancelFlag()
{
    static std::atomic<int32_t> flag{0};
    return flag;
}

}  // namespace engine
