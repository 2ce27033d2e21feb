#pragma once

namespace engine {

// Writes "pfr.bin" in the device's "kovahdd" folder: the volume's total free bytes as an unsigned
// 64-bit little-endian number, measured again after the file itself is on the device. Failures are
// quiet: the file is best effort and the run's result does not depend on it.
void WriteFreeSpaceFile(const char* root);

}  // namespace engine
