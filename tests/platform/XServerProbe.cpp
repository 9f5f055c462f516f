#include "XServerProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

template <typename T> using XPtr = std::unique_ptr<T, void (*)(T*)>;

std::optional<XServerState> ReadXServerState() {
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display)
        return std::nullopt;
    Display* dpy = display.get();
    const XPtr<XRRScreenResources> resources(XRRGetScreenResources(dpy, DefaultRootWindow(dpy)),
                                             XRRFreeScreenResources);
    for (int i = 0; resources && i < resources->noutput; ++i) {
        const XPtr<XRROutputInfo> output(
            XRRGetOutputInfo(dpy, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (!output || output->connection != RR_Connected || output->crtc == None)
            continue;
        const XPtr<XRRCrtcInfo> crtc(XRRGetCrtcInfo(dpy, resources.get(), output->crtc),
                                     XRRFreeCrtcInfo);
        // The root window follows the screen size; the connection's screen record not.
        XWindowAttributes root{};
        if (!crtc || !XGetWindowAttributes(dpy, DefaultRootWindow(dpy), &root))
            return std::nullopt;
        XServerState state{
            {}, QSize(int(crtc->width), int(crtc->height)), {root.width, root.height}};
        for (int m = 0; m < resources->nmode; ++m)
            if (resources->modes[m].id == crtc->mode)
                state.ModeName = QString::fromLatin1(resources->modes[m].name,
                                                     int(resources->modes[m].nameLength));
        return state;
    }
    return std::nullopt;
}
