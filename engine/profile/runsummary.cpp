#include "engine/profile/runsummary.h"

namespace engine {

KovaRunSummary& LastRunSummary()
{
    static KovaRunSummary summary{};
    return summary;
}

}  // namespace engine
