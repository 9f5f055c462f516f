#include "XServerProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

template <typename T> using XPtr = std::unique_ptr<T, void (*)(T*)>;

std::string ReadXServerState() {
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    Display* dpy = display.get();
    const XPtr<XRRScreenResources> resources(
        dpy ? XRRGetScreenResources(dpy, DefaultRootWindow(dpy)) : nullptr, XRRFreeScreenResources);
    for (int i = 0; resources && i < resources->noutput; ++i) {
        const XPtr<XRROutputInfo> output(
            XRRGetOutputInfo(dpy, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (!output || output->connection != RR_Connected || output->crtc == None)
            continue;
        const XPtr<XRRCrtcInfo> crtc(XRRGetCrtcInfo(dpy, resources.get(), output->crtc),
                                     XRRFreeCrtcInfo);
        XWindowAttributes root{}; // the root window follows the screen size
        if (!crtc || !XGetWindowAttributes(dpy, DefaultRootWindow(dpy), &root))
            return {};
        std::string state;
        for (int m = 0; m < resources->nmode; ++m)
            if (resources->modes[m].id == crtc->mode)
                state.assign(resources->modes[m].name, resources->modes[m].nameLength);
        return state + ' ' + std::to_string(crtc->width) + 'x' + std::to_string(crtc->height) +
               ' ' + std::to_string(root.width) + 'x' + std::to_string(root.height);
    }
    return {};
}
