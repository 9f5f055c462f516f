// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Hands an address or a mail link to the desktop.
class IUrlOpener {
public:
    virtual ~IUrlOpener() = default;
    virtual bool Open(const QString& target) = 0;
};

class CDesktopUrlOpener final : public IUrlOpener {
public:
    bool Open(const QString& target) override;
};
