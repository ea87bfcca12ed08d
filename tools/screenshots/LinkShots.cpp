// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-link-screenshots: pictures of the read and the write window at work
// against a radio (the simulator), over the main window: the write while it
// backs the radio up, its preview of the changes and its result line.
//
//   qv300-link-screenshots OUTDIR --device PATH | --port COMn [--app-path DIR]
//                          [--fleet-devices PATH,PATH,...]
//
// --port takes the radio on a port of the machine as it is (a Windows COM
// port) instead of COM1 mapped to PATH. After the read it prints how many
// rows of the channel grid show a channel, and fails when none does.
// Last the Check Connection window after its line test; it prints each
// finding as "doctor: ID SEVERITY".
// With --fleet-devices the fleet write window is taken too, mid-run, with
// those devices as COM2, COM3, ... beside COM1.
// DIR is the folder the settings and language files are read from (default:
// this executable's folder), as for qv300-screenshots.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "ShotSupport.h"
#include "app/ui/MainFrm.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "image/SettingFields.h"
#include "link/PortNames.h"
#include "link/qt/PlatformPorts.h"
#include "link/ui/ChangePreview.h"
#include "link/ui/Doctor.h"
#include "link/ui/FleetWrite.h"
#include "link/ui/WriteRadio.h"
#include "settings/MsgBox.h"

namespace {

// The main window with the dialog drawn centred over it, as the user sees it.
bool SaveOver(QWidget& window, QWidget& dialog, const QString& file)
{
    QPixmap picture = window.grab();
    QPixmap front = dialog.grab();
    QPainter painter(&picture);
    // No window manager draws the frame here: a plain title bar stands in.
    const int titleHeight = 24;
    // The painter works in the window's own pixels, whatever the screen's scale.
    const QSize whole = picture.deviceIndependentSize().toSize(), size = front.deviceIndependentSize().toSize();
    QPoint at((whole.width() - size.width()) / 2, (whole.height() - size.height() + titleHeight) / 2);
    QRect title(at.x(), at.y() - titleHeight, size.width(), titleHeight);
    painter.fillRect(title.adjusted(-2, -2, 2, size.height() + 2), QColor(0x3b, 0x6e, 0xa5));
    painter.setPen(Qt::white);
    painter.drawText(title.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
    painter.drawPixmap(at, front);
    painter.end();
    return SavePicture(picture, file);
}

// Runs the command's window, presses Ok, takes the picture `afterMs` later
// and closes the window once the exchange is over.
bool Shoot(TfMainFrm& window, Command command, const QString& file, int afterMs)
{
    bool ok = false;
    QTimer::singleShot(200, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        QTimer::singleShot(afterMs, [&, dialog] { ok = SaveOver(window, *dialog, file); });
        QTimer::singleShot(afterMs + 6000, dialog, [dialog] { dialog->close(); });
        if (auto* btnOk = dialog->findChild<QPushButton*>("btnOk"))
            btnOk->click();
    });
    window.RunCommand(command);
    return ok;
}

// The write of an edited document: the window while it backs the radio up,
// the preview of the changes, and the window with the radio's result line.
bool ShootWrite(TfMainFrm& window, const QString& out)
{
    EncodeChannelField(2, 6, "1"); // TX Power High
    StoreFieldItem(*FindSettingField("fOptFun", "cxSQL"), 3);
    bool ok = true;
    SetChangePreview([&](QWidget*, const std::vector<ContentChange>& changes) {
        TfChangePreview preview(changes, &window);
        preview.show();
        QApplication::processEvents();
        ok = SaveOver(window, preview, out + "/write-preview.png") && ok;
        return true;
    });
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<TfWriteRadio*>(QApplication::activeModalWidget());
        if (!dialog) {
            ok = false;
            return;
        }
        QTimer::singleShot(1800, dialog,
                           [&, dialog] { ok = SaveOver(window, *dialog, out + "/write-window.png") && ok; });
        auto* poll = new QTimer(dialog);
        QObject::connect(poll, &QTimer::timeout, dialog, [&, dialog, poll] {
            if (dialog->mResults->toPlainText().isEmpty())
                return;
            poll->stop();
            ok = SaveOver(window, *dialog, out + "/write-result.png") && ok;
            dialog->close();
        });
        poll->start(200);
        dialog->btnOk->click();
    });
    window.RunCommand(Command::WriteToRadio);
    SetChangePreview(nullptr);
    return ok;
}

// The fleet write window while its radios are being written, and then left
// to finish before it closes.
bool ShootFleet(TfMainFrm& window, const QString& out)
{
    bool ok = false;
    SetChangePreview([](QWidget*, const std::vector<ContentChange>&) { return true; });
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<TfFleetWrite*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->btnStart->click();
        QTimer::singleShot(6500, dialog, [&, dialog] { ok = SavePicture(dialog->grab(), out + "/fleet-write.png"); });
        auto* poll = new QTimer(dialog);
        QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll] {
            if (dialog->Fleet() && dialog->Fleet()->Running())
                return;
            poll->stop();
            dialog->close();
        });
        QTimer::singleShot(7000, dialog, [poll] { poll->start(200); });
    });
    window.RunCommand(Command::FleetWrite);
    SetChangePreview(nullptr);
    return ok;
}

// Setup > Check Connection once it has tested the line of the chosen port.
bool ShootDoctor(TfMainFrm& window, const QString& out)
{
    TfDoctor doctor(&window);
    doctor.resize(900, 420);
    doctor.show();
    QApplication::processEvents();
    doctor.TestLine();
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!doctor.Testing() || waited.elapsed() > 10000)
            loop.quit();
    });
    poll.start(100);
    loop.exec();
    for (const Finding& f : doctor.Report().findings)
        std::printf("doctor: %s %s\n", f.id.c_str(), SeverityName(f.severity));
    return !doctor.Testing() && SaveOver(window, doctor, out + "/doctor.png");
}

// The rows of the channel grid that show a channel: an RX frequency.
int FilledGridRows(TfMainFrm& window)
{
    const QTableWidget* grid = window.ChannelEditor()->gvChs;
    int filled = 0;
    for (int row = 0; row < grid->rowCount(); ++row)
        if (const QTableWidgetItem* cell = grid->item(row, 1); cell && !cell->text().isEmpty())
            ++filled;
    return filled;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetUpShotApplication();
    const QStringList args = app.arguments();
    const qsizetype device = args.indexOf("--device"), port = args.indexOf("--port");
    const auto given = [&args](qsizetype at) { return at >= 2 && at + 1 < args.size(); };
    if (args.size() < 4 || (!given(device) && !given(port))) {
        std::fprintf(stderr, "usage: qv300-link-screenshots OUTDIR --device PATH | --port COMn [--app-path DIR]\n");
        return 1;
    }
    const QString out = args[1];
    QDir().mkpath(out);
    StartForShots(ShotAppPath(args, argv[0]), kMsgOk);
    TPlatformPorts devices;
    SetPortSystem(&devices);
    if (given(port)) {
        ChooseComPortForRun(ALL.ComPort, args[port + 1].toStdString());
    } else {
        ChooseComPortForRun(ALL.ComPort, "COM1");
        MapPortForRun(1, args[device + 1].toStdString());
    }

    TfMainFrm window;
    window.resize(1100, 640);
    window.show();
    QApplication::processEvents();

    bool ok = Shoot(window, Command::ReadFromRadio, out + "/read-window.png", 2500);
    const int filled = FilledGridRows(window);
    std::printf("the read filled %d rows of the grid\n", filled);
    ok = filled > 0 && ok;
    ok = ShootWrite(window, out) && ok;
    ok = ShootDoctor(window, out) && ok;
    const qsizetype fleet = args.indexOf("--fleet-devices");
    if (fleet > 0 && fleet + 1 < args.size()) {
        int number = 2;
        for (const QString& path : args[fleet + 1].split(','))
            MapPortForRun(number++, path.toStdString());
        ok = ShootFleet(window, out) && ok;
    }
    return ok ? 0 : 1;
}
