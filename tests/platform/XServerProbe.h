#pragma once

#include <QString>

#include <optional>
#include <ostream>

// What the X server itself says about the first lit output, read on a connection of
// its own ($DISPLAY), so that the adapter under test is checked from the outside.
struct XServerState {
    QString ModeName; // as in the server's configuration, e.g. "800x600_72"
    int CrtcWidth = 0;
    int CrtcHeight = 0;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    bool operator==(const XServerState&) const = default;
};

std::optional<XServerState> ReadXServerState();

inline void PrintTo(const XServerState& state, std::ostream* out) {
    *out << state.ModeName.toStdString() << " on a CRTC of " << state.CrtcWidth << "x"
         << state.CrtcHeight << ", screen " << state.ScreenWidth << "x" << state.ScreenHeight;
}
