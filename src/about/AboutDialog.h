// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

class IUrlOpener;

namespace Ui {
class AboutDialog;
}

// The program's name, version and icon with links to the home page and to a new
// mail to the author. Each opening builds a new box, so both links start unvisited.
class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(IUrlOpener& opener, QWidget* parent = nullptr);
    ~CAboutDialog() override;

private:
    std::unique_ptr<Ui::AboutDialog> Form;
};
