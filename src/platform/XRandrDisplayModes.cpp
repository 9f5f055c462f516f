// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/XRandrDisplayModes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

static_assert(std::is_same_v<RROutput, unsigned long> && std::is_same_v<RRMode, unsigned long> &&
              std::is_same_v<Window, unsigned long>);

namespace {

// Xlib reports errors through one process-wide handler, whose default ends the
// program. While a trap is alive, errors of our own requests are only recorded.
int TrappedErrorCode = 0;

int RecordError(Display*, XErrorEvent* event) {
    TrappedErrorCode = event->error_code;
    return 0;
}

class CXErrorTrap {
public:
    explicit CXErrorTrap(Display* display) : Dpy(display) {
        XSync(Dpy, False);
        TrappedErrorCode = 0;
        Previous = XSetErrorHandler(RecordError);
    }
    ~CXErrorTrap() {
        XSync(Dpy, False);
        XSetErrorHandler(Previous);
    }
    CXErrorTrap(const CXErrorTrap&) = delete;
    CXErrorTrap& operator=(const CXErrorTrap&) = delete;

private:
    Display* Dpy;
    XErrorHandler Previous = nullptr;
};

// Whether any request sent so far under the trap failed.
bool ErrorsSeen(Display* display) {
    XSync(display, False);
    return TrappedErrorCode != 0;
}

struct OutputFree {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
using OutputPtr = std::unique_ptr<XRROutputInfo, OutputFree>;

struct CrtcFree {
    void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
using CrtcPtr = std::unique_ptr<XRRCrtcInfo, CrtcFree>;

const XRRModeInfo* FindModeInfo(const XRRScreenResources& resources, RRMode id) {
    const auto* begin = resources.modes;
    const auto* end = resources.modes + resources.nmode;
    const auto* found =
        std::find_if(begin, end, [id](const XRRModeInfo& info) { return info.id == id; });
    return found == end ? nullptr : found;
}

// Vertical refresh in whole hertz from the mode's timings; 0 when they are unknown.
int RefreshRate(const XRRModeInfo& info) {
    double lines = info.vTotal;
    if ((info.modeFlags & RR_DoubleScan) != 0)
        lines *= 2;
    if ((info.modeFlags & RR_Interlace) != 0)
        lines /= 2;
    if (info.dotClock == 0 || info.hTotal == 0 || lines <= 0)
        return 0;
    return static_cast<int>(
        std::lround(static_cast<double>(info.dotClock) / (info.hTotal * lines)));
}

DisplayMode ToDisplayMode(const XRRModeInfo& info, int bitsPerPixel) {
    return {static_cast<int>(info.width), static_cast<int>(info.height), bitsPerPixel,
            RefreshRate(info)};
}

bool IsSideways(Rotation rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

// The bits per pixel of the server's pixmap format for the screen's depth (24 -> 32).
int BitsPerPixelOfDepth(Display* display, int depth) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = depth;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats != nullptr)
        XFree(formats);
    return bits;
}

double MmPerPixel(int pixels, int mm) {
    if (pixels <= 0 || mm <= 0)
        return 25.4 / 96;
    return static_cast<double>(mm) / pixels;
}

} // namespace

void CXRandrDisplayModes::DisplayCloser::operator()(_XDisplay* display) const {
    XCloseDisplay(display);
}

void CXRandrDisplayModes::ResourcesFree::operator()(XRRScreenResources* resources) const {
    XRRFreeScreenResources(resources);
}

std::unique_ptr<CXRandrDisplayModes> CXRandrDisplayModes::Open(const char* displayName) {
    DisplayPtr display(XOpenDisplay(displayName));
    if (!display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display.get(), &eventBase, &errorBase) ||
        !XRRQueryVersion(display.get(), &major, &minor))
        return nullptr;
    if (major < 1 || (major == 1 && minor < 2))
        return nullptr;
    const bool hasCurrentResources = major > 1 || minor >= 3;
    std::unique_ptr<CXRandrDisplayModes> modes(
        new CXRandrDisplayModes(std::move(display), hasCurrentResources));
    if (!modes->PickOutput())
        return nullptr;
    return modes;
}

CXRandrDisplayModes::CXRandrDisplayModes(DisplayPtr display, bool hasCurrentResources)
    : Dpy(std::move(display)), HasCurrentResources(hasCurrentResources) {
    Display* dpy = Dpy.get();
    ScreenNumber = DefaultScreen(dpy);
    Root = RootWindow(dpy, ScreenNumber);
    BitsPerPixel = BitsPerPixelOfDepth(dpy, DefaultDepth(dpy, ScreenNumber));
    MmPerPixelX = MmPerPixel(DisplayWidth(dpy, ScreenNumber), DisplayWidthMM(dpy, ScreenNumber));
    MmPerPixelY = MmPerPixel(DisplayHeight(dpy, ScreenNumber), DisplayHeightMM(dpy, ScreenNumber));
}

CXRandrDisplayModes::~CXRandrDisplayModes() {
    Restore();
}

CXRandrDisplayModes::ResourcesPtr CXRandrDisplayModes::Resources() const {
    if (HasCurrentResources) {
        // The cheap query does not probe the outputs; it is empty only if nobody has
        // probed them yet.
        ResourcesPtr current(XRRGetScreenResourcesCurrent(Dpy.get(), Root));
        if (current && current->noutput > 0)
            return current;
    }
    return ResourcesPtr(XRRGetScreenResources(Dpy.get(), Root));
}

bool CXRandrDisplayModes::PickOutput() {
    const CXErrorTrap trap(Dpy.get());
    const ResourcesPtr resources = Resources();
    if (!resources)
        return false;
    const auto take = [&](RROutput candidate) {
        if (candidate == None)
            return false;
        const OutputPtr info(XRRGetOutputInfo(Dpy.get(), resources.get(), candidate));
        if (!info || info->connection != RR_Connected || info->crtc == None || info->nmode == 0)
            return false;
        Output = candidate;
        return true;
    };
    bool found = HasCurrentResources && take(XRRGetOutputPrimary(Dpy.get(), Root));
    for (int i = 0; !found && i < resources->noutput; ++i)
        found = take(resources->outputs[i]);
    return found && !ErrorsSeen(Dpy.get());
}

std::vector<DisplayMode> CXRandrDisplayModes::Modes() {
    const CXErrorTrap trap(Dpy.get());
    std::vector<DisplayMode> modes;
    const ResourcesPtr resources = Resources();
    const OutputPtr output(resources ? XRRGetOutputInfo(Dpy.get(), resources.get(), Output)
                                     : nullptr);
    for (int i = 0; output && i < output->nmode; ++i) {
        const XRRModeInfo* info = FindModeInfo(*resources, output->modes[i]);
        if (info == nullptr)
            continue;
        // Timings that differ only in what the list cannot show would be two
        // identical entries, of which only the first could ever be chosen.
        const DisplayMode mode = ToDisplayMode(*info, BitsPerPixel);
        if (std::find(modes.begin(), modes.end(), mode) == modes.end())
            modes.push_back(mode);
    }
    if (modes.empty()) {
        // The output went away: the screen as it is, so that the list is never empty.
        const QSize size = ScreenSize();
        modes.push_back({size.width(), size.height(), BitsPerPixel, 0});
    }
    return modes;
}

bool CXRandrDisplayModes::SetMode(const DisplayMode& mode) {
    if (mode.BitsPerPixel != BitsPerPixel)
        return false; // RandR switches resolutions, not depths
    const CXErrorTrap trap(Dpy.get());
    const ResourcesPtr resources = Resources();
    if (!resources)
        return false;
    const OutputPtr output(XRRGetOutputInfo(Dpy.get(), resources.get(), Output));
    if (!output || output->crtc == None)
        return false;
    RRMode wanted = None;
    for (int i = 0; i < output->nmode && wanted == None; ++i) {
        const XRRModeInfo* info = FindModeInfo(*resources, output->modes[i]);
        if (info != nullptr && ToDisplayMode(*info, BitsPerPixel) == mode)
            wanted = info->id;
    }
    if (wanted == None)
        return false;
    const CrtcPtr crtc(XRRGetCrtcInfo(Dpy.get(), resources.get(), output->crtc));
    if (!crtc || ErrorsSeen(Dpy.get()))
        return false;
    CrtcConfig config{
        output->crtc,   crtc->mode,
        crtc->x,        crtc->y,
        crtc->rotation, std::vector<RROutput>(crtc->outputs, crtc->outputs + crtc->noutput)};
    if (!Saved)
        Saved = SavedConfig{config, ScreenSize()};
    if (config.Mode == wanted)
        return true;
    config.Mode = wanted;
    return Apply(*resources, config, QSize(0, 0));
}

void CXRandrDisplayModes::Restore() {
    if (!Saved)
        return;
    const CXErrorTrap trap(Dpy.get());
    const ResourcesPtr resources = Resources();
    if (resources && Apply(*resources, Saved->Crtc, Saved->ScreenSize))
        Saved.reset();
}

bool CXRandrDisplayModes::Apply(const XRRScreenResources& resources, const CrtcConfig& config,
                                const QSize& minimumScreen) {
    const XRRModeInfo* info = FindModeInfo(resources, config.Mode);
    if (info == nullptr)
        return false;
    Display* dpy = Dpy.get();
    // The screen has to hold every lit CRTC at every moment: grow it before a larger
    // mode is set, shrink it after a smaller one.
    const bool sideways = IsSideways(config.Rotate);
    const int width = static_cast<int>(sideways ? info->height : info->width);
    const int height = static_cast<int>(sideways ? info->width : info->height);
    QSize target = QSize(config.X + width, config.Y + height).expandedTo(minimumScreen);
    for (int i = 0; i < resources.ncrtc; ++i) {
        if (resources.crtcs[i] == config.Crtc)
            continue;
        const CrtcPtr other(
            XRRGetCrtcInfo(dpy, const_cast<XRRScreenResources*>(&resources), resources.crtcs[i]));
        if (other && other->mode != None)
            target = target.expandedTo(QSize(other->x + static_cast<int>(other->width),
                                             other->y + static_cast<int>(other->height)));
    }
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    if (XRRGetScreenSizeRange(dpy, Root, &minWidth, &minHeight, &maxWidth, &maxHeight)) {
        target = target.expandedTo(QSize(minWidth, minHeight));
        if (target.width() > maxWidth || target.height() > maxHeight)
            return false;
    }

    const QSize before = ScreenSize();
    const QSize grown = before.expandedTo(target);
    if (grown != before)
        SetScreenSize(grown);
    std::vector<RROutput> outputs = config.Outputs;
    const Status status = XRRSetCrtcConfig(
        dpy, const_cast<XRRScreenResources*>(&resources), config.Crtc, CurrentTime, config.X,
        config.Y, config.Mode, config.Rotate, outputs.data(), static_cast<int>(outputs.size()));
    if (status != RRSetConfigSuccess || ErrorsSeen(dpy)) {
        if (grown != before)
            SetScreenSize(before);
        return false;
    }
    if (target != grown)
        SetScreenSize(target);
    return !ErrorsSeen(dpy);
}

QSize CXRandrDisplayModes::ScreenSize() const {
    // The root window follows the screen size; this connection's cached screen record
    // does not (it would need the change events).
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (!XGetGeometry(Dpy.get(), Root, &root, &x, &y, &width, &height, &border, &depth))
        return {DisplayWidth(Dpy.get(), ScreenNumber), DisplayHeight(Dpy.get(), ScreenNumber)};
    return {static_cast<int>(width), static_cast<int>(height)};
}

void CXRandrDisplayModes::SetScreenSize(const QSize& size) {
    // Keep the physical size per pixel, so that the reported resolution stays the same.
    const int mmWidth = static_cast<int>(std::lround(size.width() * MmPerPixelX));
    const int mmHeight = static_cast<int>(std::lround(size.height() * MmPerPixelY));
    XRRSetScreenSize(Dpy.get(), Root, size.width(), size.height(), mmWidth, mmHeight);
}
