#include "XServerProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

std::optional<XServerState> ReadXServerState() {
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display)
        return std::nullopt;
    Display* dpy = display.get();
    const Window root = DefaultRootWindow(dpy);
    const std::unique_ptr<XRRScreenResources, void (*)(XRRScreenResources*)> resources(
        XRRGetScreenResources(dpy, root), XRRFreeScreenResources);
    if (!resources)
        return std::nullopt;
    for (int i = 0; i < resources->noutput; ++i) {
        const std::unique_ptr<XRROutputInfo, void (*)(XRROutputInfo*)> output(
            XRRGetOutputInfo(dpy, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (!output || output->connection != RR_Connected || output->crtc == None)
            continue;
        const std::unique_ptr<XRRCrtcInfo, void (*)(XRRCrtcInfo*)> crtc(
            XRRGetCrtcInfo(dpy, resources.get(), output->crtc), XRRFreeCrtcInfo);
        if (!crtc)
            return std::nullopt;
        XServerState state;
        for (int m = 0; m < resources->nmode; ++m) {
            if (resources->modes[m].id == crtc->mode)
                state.ModeName =
                    QString::fromLatin1(resources->modes[m].name, resources->modes[m].nameLength);
        }
        state.CrtcWidth = static_cast<int>(crtc->width);
        state.CrtcHeight = static_cast<int>(crtc->height);
        Window rootReturn = 0;
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        unsigned border = 0;
        unsigned depth = 0;
        XGetGeometry(dpy, root, &rootReturn, &x, &y, &width, &height, &border, &depth);
        state.ScreenWidth = static_cast<int>(width);
        state.ScreenHeight = static_cast<int>(height);
        return state;
    }
    return std::nullopt;
}
