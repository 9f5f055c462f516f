#pragma once

#include <QSize>
#include <QString>

#include <optional>
#include <ostream>

// What the X server itself says about the first lit output, read on a connection of
// its own ($DISPLAY), so that the adapter under test is checked from the outside.
struct XServerState {
    QString ModeName; // as in the server's configuration, e.g. "800x600_72"
    QSize Crtc;
    QSize Screen;
    bool operator==(const XServerState&) const = default;
};

std::optional<XServerState> ReadXServerState();

inline void PrintTo(const XServerState& state, std::ostream* out) {
    *out << state.ModeName.toStdString() << " on a CRTC of " << state.Crtc.width() << "x"
         << state.Crtc.height() << ", screen " << state.Screen.width() << "x"
         << state.Screen.height();
}
