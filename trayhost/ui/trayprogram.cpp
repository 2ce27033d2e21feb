#include "trayhost/ui/trayprogram.h"

#include "platform/sound.h"
#include "trayhost/detection/kovadetection.h"
#include "trayhost/resources/strings.h"
#include "trayhost/singleinstance.h"
#include "trayhost/ui/appicon.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/trayapplication.h"

#include <QApplication>

#include <iostream>

namespace trayhost {

int RunTrayProgram(int argc, char** argv)
{
    // Before Qt starts: a second instance shows nothing and needs no display.
    if (IsAnotherInstanceRunning(kWindowName)) return 0;

    QApplication application(argc, argv);
    // The program lives in the tray: closing its last dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon());
    // Beeps may come from any thread; the desktop's sound is played on the GUI thread.
    platform::SetBeepPlayer([](uint32_t) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
    });

    QtUserInterface userInterface;
    SetDetectionUserInterface(&userInterface);
    int exitCode = 0;
    {
        TrayApplication tray({&KOVAHDDDetectionEnumDevices, userInterface, std::cerr,
                              [](int code) { QCoreApplication::exit(code); }});
        tray.Start();
        exitCode = QApplication::exec();
    }
    SetDetectionUserInterface(nullptr);
    platform::SetBeepPlayer(nullptr);
    return exitCode;
}

}  // namespace trayhost
