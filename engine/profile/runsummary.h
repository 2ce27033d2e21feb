#pragma once

#include "engine/kovahddprofiler.h"

namespace engine {

// The summary of the last profile run (KOVAHDDProfilerGetRunSummary); all zero before the first.
KovaRunSummary& LastRunSummary();

}  // namespace engine
