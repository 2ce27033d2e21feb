#pragma once

#include <string>

namespace testsupport {

// Writes a device's music tree below directory (which must exist): artist and album folders of MP3
// files with ID3 tags of every kind the player meets (full version 2 tags, version 2 with a version 1
// fallback, version 1 only, large tags, no tag, an empty file), album covers and notes, a hidden
// folder, and the device's own "kovahdd" folder. The same count always gives the same tree.
// Returns the number of MP3 files written, the empty one included.
int GenerateDevice(const std::string& directory, int audioFiles);

// A small library of real-looking songs for demonstrations.
void GenerateDemoDevice(const std::string& directory);

}  // namespace testsupport
