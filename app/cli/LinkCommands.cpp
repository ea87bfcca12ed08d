#include "app/cli/LinkCommands.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <optional>

#include "core/NumberText.h"
#include "core/State.h"
#include "core/DocumentFiles.h"
#include "link/qt/DevicePorts.h"
#include "link/PortNames.h"
#include "link/qt/QtLinkClock.h"
#include "link/qt/QtSerialPort.h"
#include "link/RadioLink.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

const char* kLinkUsage =
    "       qv300-cli read OUT.dat [--port COMn] [--device PATH]\n"
    "       qv300-cli write IN.dat [--port COMn] [--device PATH] [--count N] [--yes]\n"
    "       qv300-cli ports [--port COMn --device PATH]\n";

namespace {
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

struct LinkOptions {
    std::string file;
    std::optional<std::string> port;
    std::optional<std::string> device;
    int count = 1;
    bool yes = false;
};

// False on a usage error. `takesFile` and `writeOptions` say what the
// command accepts.
bool ParseOptions(const std::vector<std::string>& args, bool takesFile, bool writeOptions, LinkOptions& o)
{
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            o.port = args[++i];
            if (!PortNumberOf(*o.port) || UpperAscii(o.port->substr(0, 3)) != "COM")
                return false;
        } else if (a == "--device" && hasValue) {
            o.device = args[++i];
        } else if (writeOptions && a == "--count" && hasValue) {
            std::optional<int> n = ParseInteger(args[++i]);
            if (!n || *n < 1)
                return false;
            o.count = *n;
        } else if (writeOptions && a == "--yes") {
            o.yes = true;
        } else if (takesFile && !haveFile && !a.empty() && a[0] != '-') {
            o.file = a;
            haveFile = true;
        } else {
            return false;
        }
    }
    return haveFile == takesFile;
}

// The port of this run: --port names it (otherwise the settings' port,
// checked as at start-up), --device stands behind it.
void ApplyPortOptions(const LinkOptions& o)
{
    if (o.port)
        ChooseComPortForRun(*o.port);
    if (o.device) {
        std::optional<int> n = PortNumberOf(UpperAscii(ALL.ComPort));
        MapPortForRun(n.value_or(1), *o.device);
        if (!n)
            ChooseComPortForRun(PortName(1));
    }
    if (!o.port && !o.device)
        ValidateComPort(EnumeratePorts());
    ALL.ComPort = UpperAscii(ALL.ComPort);
}

// Drives the engine the way the window does and stops its event loop as
// soon as the outcome is known: the operation succeeded, an error was
// shown, or the "window" closed.
class CliLink : public TLinkView {
public:
    explicit CliLink(const LinkJob& job) : link_(job, port_, clock_, *this)
    {
        previous_ = SetMsgBoxHandler([this, &job](const std::string&, const std::string& text, int kind) {
            if (text == Language.*job.successMessage)
                succeeded_ = true;
            else
                std::cerr << text << '\n';
            Check();
            return kind == kMsgQuestion ? static_cast<int>(kMsgNo) : static_cast<int>(kMsgOk);
        });
    }
    ~CliLink() override
    {
        link_.FormClose();
        SetMsgBoxHandler(previous_);
    }

    TRadioLink& Link() { return link_; }
    bool Closed() const { return closed_; }

    // Opens the port; false when it cannot.
    bool Open()
    {
        link_.FormShow();
        return !link_.ErrorShown();
    }
    // One operation: true when it succeeded. With `untilReady` a write also
    // waits until the window would take the next start.
    bool Run(bool untilReady)
    {
        succeeded_ = false;
        untilReady_ = untilReady;
        link_.btnOkClick();
        if (!Done())
            loop_.exec();
        return succeeded_ && !link_.ErrorShown();
    }

    void EnableOk(bool) override { Check(); }
    void CloseWindow() override
    {
        closed_ = true;
        Check();
    }

private:
    bool Done() const
    {
        if (closed_ || link_.ErrorShown())
            return true;
        return succeeded_ && (!untilReady_ || link_.OkEnabled());
    }
    // Decides after the engine's handler has returned, so a time-out that
    // enables OK and then reports is seen as the failure it is.
    void Check()
    {
        QTimer::singleShot(0, &loop_, [this] {
            if (Done())
                loop_.quit();
        });
    }

    TQtSerialPort port_;
    TQtLinkClock clock_;
    TRadioLink link_;
    QEventLoop loop_;
    MsgBoxHandler previous_;
    bool succeeded_ = false;
    bool untilReady_ = false;
    bool closed_ = false;
};

struct QtRun {
    int argc = 1;
    char name[10] = "qv300-cli";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    TDevicePorts devices;
    QtRun() { SetPortSystem(&devices); }
    ~QtRun() { SetPortSystem(nullptr); }
};

} // namespace

int CommandRead(const std::vector<std::string>& args)
{
    LinkOptions o;
    if (!ParseOptions(args, true, false, o))
        return kExitUsage;
    QtRun qt;
    ApplyPortOptions(o);
    StartFirstDocument();

    CliLink link(kReadJob);
    if (!link.Open())
        return kExitFailed;
    // The read is complete once its document is in place; the data file is
    // written as Save writes it.
    if (!link.Run(false) || !link.Link().ReadSucceeded())
        return kExitFailed;
    if (!SaveDocumentFile(o.file))
        return kExitFailed;
    std::cout << Language.ReadOk << '\n';
    return 0;
}

int CommandWrite(const std::vector<std::string>& args)
{
    LinkOptions o;
    if (!ParseOptions(args, true, true, o))
        return kExitUsage;
    QtRun qt;
    ApplyPortOptions(o);
    StartFirstDocument();
    std::string fileName = o.file;
    if (OpenDocumentFile(fileName) != ReadResult::Ok)
        return kExitFailed;

    CliLink link(kWriteJob);
    if (!link.Open())
        return kExitFailed;
    for (int radio = 1; radio <= o.count; ++radio) {
        if (radio > 1 && !o.yes) {
            std::cerr << "Connect radio " << radio << " of " << o.count << " and press Enter (Ctrl+D stops)."
                      << std::endl;
            std::string line;
            if (!std::getline(std::cin, line))
                return kExitFailed;
        }
        bool ok = link.Run(radio < o.count);
        std::cout << "radio " << radio << ": " << (ok ? Language.WriteOk : std::string("failed")) << std::endl;
        if (!ok)
            return kExitFailed;
    }
    return 0;
}

int CommandPorts(const std::vector<std::string>& args)
{
    LinkOptions o;
    if (!ParseOptions(args, false, false, o))
        return kExitUsage;
    QtRun qt;
    if (o.device)
        MapPortForRun(PortNumberOf(UpperAscii(o.port.value_or("COM1"))).value_or(1), *o.device);
    for (const PortDevice& p : EnumeratePorts())
        std::cout << PortName(p.number) << ' ' << p.device << '\n';
    return std::cout ? 0 : kExitFailed;
}
