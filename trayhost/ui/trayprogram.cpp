#include "trayhost/ui/trayprogram.h"

#include "platform/sound.h"
#include "trayhost/detection/kovadetection.h"
#include "trayhost/displayenvironment.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/resources/strings.h"
#include "trayhost/singleinstance.h"
#include "trayhost/sync/syncconflictdialog.h"
#include "trayhost/ui/appicon.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/realclock.h"
#include "trayhost/ui/trayapplication.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace trayhost {

namespace {

// Prints what --help or --version asks for; false for any other command line, whose arguments are
// left to Qt.
bool AnswerInformationRequest(int argc, char** argv)
{
    const std::string_view request = argc > 1 ? argv[1] : "";
    if (request == "--version") {
        std::printf("KOVAHDDProfilerTrayApp %s\n", KOVAHDD_VERSION);
    } else if (request == "--help") {
        std::fputs(kHelpText, stdout);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int RunTrayProgram(int argc, char** argv)
{
    // Before anything else: the answer needs no display, and another instance does not stop it.
    if (AnswerInformationRequest(argc, argv)) return 0;
    // Before Qt starts: a second instance shows nothing and needs no display.
    if (IsAnotherInstanceRunning(kWindowName)) return 0;
    if (!HasDisplay(&std::getenv)) {
        std::fprintf(stderr, "KOVAHDDProfilerTrayApp: %s\n", kNoDisplayText);
        return 1;
    }

    QApplication application(argc, argv);
    // The program lives in the tray: closing its last dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon());
    // Beeps may come from any thread; the desktop's sound is played on the GUI thread.
    platform::SetBeepPlayer([](uint32_t) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
    });

    QtUserInterface userInterface([](QWidget* owner, const SyncConflictQuestion& question) {
        return SyncConflictDialog(question, owner).Ask();
    });
    SetDetectionUserInterface(&userInterface);
    LibraryProfilerEngine engine;
    RealClock clock;
    int exitCode = 0;
    {
        TrayApplication tray({&KOVAHDDDetectionEnumDevices, userInterface, std::cerr,
                              [](int code) { QCoreApplication::exit(code); }, engine, clock});
        tray.Start();
        exitCode = QApplication::exec();
        // A worker still running (an engine that did not stop after a cancel, or a run under way
        // when the program was closed) ends with the process, at once: waiting for it could take
        // forever, and it must not outlive the objects it uses.
        if (tray.profileWorkerRunning() || tray.verifyWorkerRunning() || tray.syncWorkerRunning()) {
            std::fflush(nullptr);
            std::_Exit(exitCode);
        }
    }
    SetDetectionUserInterface(nullptr);
    platform::SetBeepPlayer(nullptr);
    return exitCode;
}

}  // namespace trayhost
