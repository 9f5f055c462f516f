#pragma once

#include <string>

// What the X server itself says about the first lit output, read on a connection of its
// own ($DISPLAY), so that the adapter under test is checked from the outside: the mode's
// name in the server's configuration, the CRTC's size and the screen's, as in
// "800x600_72 800x600 800x600"; empty when there is no such output.
std::string ReadXServerState();
