#pragma once

#include <QString>

class QWidget;

namespace trayhost {

// Shows the window (offscreen, nowhere), lets it lay itself out and paint, and saves what it shows
// as a PNG file: the look of a dialog can be reviewed without a desktop. False when the image cannot
// be written.
bool SaveWindowImage(QWidget& window, const QString& path);

}  // namespace trayhost
