// Switches the display to WIDTH x HEIGHT at HZ, says "switched" on stdout and runs
// until SIGINT or SIGTERM, the way the program does in full-screen mode.
//   platform_mode_switch_child WIDTH HEIGHT HZ
#include "platform/DisplayModes.h"
#include "platform/TerminationSignals.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const QGuiApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const CTerminationSignals termination;
    if (!termination.IsActive())
        return 3;
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int hz = std::atoi(argv[3]);
    for (const DisplayMode& mode : modes->Modes()) {
        if (mode.Width != width || mode.Height != height || mode.Frequency != hz)
            continue;
        if (!modes->SetMode(mode))
            return 5;
        std::puts("switched");
        std::fflush(stdout);
        return QGuiApplication::exec();
    }
    return 4;
}
