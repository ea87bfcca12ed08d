// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-bare-window: the least a Qt Widgets program does before its first
// window is on the screen: an application object and one empty window. The
// start-up of qv300.exe under Wine is measured against it
// (tools/windows/measure-startup.sh), so the figure says what the program
// itself adds to what Qt and Wine cost anyway.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("qv300-bare-window");
    window.resize(800, 500);
    window.show();
    return app.exec();
}
