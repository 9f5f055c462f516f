// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplayModes.h"

#include <QSize>

#include <optional>

// Xlib's types, declared rather than included: its macros (None, Status, Bool...)
// clash with Qt's names in every file that would include this header.
struct _XDisplay;
struct _XRRScreenResources;

// The modes of one RandR output (the primary one, else the first connected one that
// shows a picture), listed in the output's own order, and switching its CRTC between
// them. Works on its own connection to the X server, so that it can put back the mode
// in force before the first switch whatever happened to the toolkit's connection; the
// destructor restores.
class CXRandrDisplayModes final : public IDisplayModes {
public:
    // Nullptr when the display cannot be opened, lacks RandR 1.2 or has no usable
    // output. A null name means $DISPLAY.
    static std::unique_ptr<CXRandrDisplayModes> Open(const char* displayName);
    ~CXRandrDisplayModes() override;
    CXRandrDisplayModes(const CXRandrDisplayModes&) = delete;
    CXRandrDisplayModes& operator=(const CXRandrDisplayModes&) = delete;

    std::vector<DisplayMode> Modes() override;
    bool SetMode(const DisplayMode& mode) override;
    void Restore() override;

private:
    using XId = unsigned long; // Window, RROutput, RRCrtc, RRMode

    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };
    using DisplayPtr = std::unique_ptr<_XDisplay, DisplayCloser>;

    // What a CRTC shows and where.
    struct CrtcConfig {
        XId Crtc = 0;
        XId Mode = 0;
        int X = 0;
        int Y = 0;
        unsigned short Rotate = 1; // RR_Rotate_0
        std::vector<XId> Outputs;
    };
    // How the CRTC and the screen were before the first switch.
    struct SavedConfig {
        CrtcConfig Crtc;
        QSize ScreenSize;
    };

    struct ResourcesFree {
        void operator()(_XRRScreenResources* resources) const;
    };
    using ResourcesPtr = std::unique_ptr<_XRRScreenResources, ResourcesFree>;

    CXRandrDisplayModes(DisplayPtr display, bool hasCurrentResources);

    ResourcesPtr Resources() const;
    bool PickOutput();
    bool Apply(const _XRRScreenResources& resources, const CrtcConfig& config,
               const QSize& minimumScreen);
    QSize ScreenSize() const;
    void SetScreenSize(const QSize& size);

    DisplayPtr Dpy;
    int ScreenNumber = 0;
    XId Root = 0;
    bool HasCurrentResources = false; // RandR 1.3: read the configuration without probing
    XId Output = 0;
    int BitsPerPixel = 0;
    double MmPerPixelX = 25.4 / 96;
    double MmPerPixelY = 25.4 / 96;
    std::optional<SavedConfig> Saved;
};
