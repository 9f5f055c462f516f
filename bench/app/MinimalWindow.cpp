// SPDX-License-Identifier: GPL-3.0-or-later
// The anchor of start_time: the least a Qt 6 Widgets program does to show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
