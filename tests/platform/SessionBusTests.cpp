// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionBus.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A listening Unix socket at path, closed with this.
class CSocketFile {
public:
    explicit CSocketFile(const std::string& path) : Fd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        Bound = ::bind(Fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~CSocketFile() { ::close(Fd); }
    CSocketFile(const CSocketFile&) = delete;
    CSocketFile& operator=(const CSocketFile&) = delete;
    bool Bound = false;

private:
    int Fd;
};

// The global menu bar is asked for only where a bus answers; elsewhere asking would
// start one while the window waits.
TEST(SessionBus, Reachable_OnlyByAnAddressOrTheRuntimeFoldersSocket) {
    CTempFolder withSocket;
    const CSocketFile socket(withSocket.Path("bus"));
    ASSERT_TRUE(socket.Bound);
    CTempFolder withFile;
    WriteBytes(withFile.Path("bus"), "not a socket");
    const std::string socketFolder = withSocket.Folder();
    const std::string fileFolder = withFile.Folder();
    const struct {
        const char* Name;
        const char* Address;
        const char* Runtime;
        bool Reachable;
    } rows[] = {
        {"an address", "unix:path=/nowhere", nullptr, true},
        {"the runtime folder's socket", nullptr, socketFolder.c_str(), true},
        {"an empty address, no runtime folder", "", nullptr, false},
        {"a file named bus", nullptr, fileFolder.c_str(), false},
        {"a relative runtime folder", nullptr, "run/user", false},
        {"a runtime folder without bus", "", "/nonexistent-skimmet-folder", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(SessionBusReachable(row.Address, row.Runtime), row.Reachable);
    }
}

} // namespace
