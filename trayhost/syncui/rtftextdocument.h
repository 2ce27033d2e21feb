#pragma once

#include "trayhost/syncui/rtfreader.h"

class QTextDocument;

namespace trayhost {

// Replaces the content of target with the document: one block per paragraph, one fragment of its
// own character format (weight, slant, underline, point size) per run.
void FillTextDocument(QTextDocument& target, const RtfDocument& document);

}  // namespace trayhost
