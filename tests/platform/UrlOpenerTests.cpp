#include "platform/UrlOpener.h"

#include <gtest/gtest.h>

namespace {
// Only refusals are tested: a valid address would start the desktop's browser.
TEST(DesktopUrlOpener, Open_NotACompleteAddress_RefusesWithoutAskingTheDesktop) {
    CDesktopUrlOpener opener;
    for (const char* target : {"", "skimmet.org", "relative/path.html", "http://exa mple.org/"})
        EXPECT_FALSE(opener.Open(QString::fromLatin1(target))) << target;
}
} // namespace
