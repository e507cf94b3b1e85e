// Without a display nobody sees the program, so this shows what a first run does:
// starts tarnview.exe, waits for the live preview, takes one snapshot, saves a
// screenshot of the screen and closes the program. It prints the status line it saw.
// Usage: tarnview-demo <png path> [tarnview.exe path, by default the one beside it]
#include <windows.h>
#include <cstdio>
#include <string>

#include "driver/TarnviewProcess.h"
#include "unixtools/UnixTools.h"
#include "driver/Waiting.h"
#include "ui/resource.h"

using namespace e2e;
using namespace support;

namespace
{

int Fail(TarnviewProcess& app, const char* what)
{
    fprintf(stderr, "tarnview-demo: %s\n", what);
    if (HWND box = FindProcessDialog(app.Id(), kErrorCaption))
        fprintf(stderr, "  the program says: %s\n", MessageBoxText(box).c_str());
    app.Kill();
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
    {
        fprintf(stderr, "usage: tarnview-demo <screenshot.png> [tarnview.exe]\n");
        return 2;
    }
    TarnviewProcess app;
    if (!app.Start(argc == 3 ? argv[2] : ""))
        return Fail(app, "tarnview.exe could not be started");
    AppWindow window = app.WaitForMainWindow();
    if (!window)
        return Fail(app, "the main window did not appear");
    if (!WaitUntil([&] { return window.Text(IDC_STATUS).rfind("Preview: ", 0) == 0; }))
        return Fail(app, "the live preview did not start");
    printf("Status: %s\n", window.Text(IDC_STATUS).c_str());
    window.ClickAndSettle(IDC_ACTION);
    if (!WaitUntil([&] { return !window.Text(IDC_LAST_FILE).empty(); }))
        return Fail(app, "the snapshot was not written");
    printf("Snapshot written: %s%s\n", DocumentsFolder().c_str(), window.Text(IDC_LAST_FILE).c_str());
    UnixResult shot = RunUnix("import -window root " + ShellQuote(argv[1]));
    if (shot.exitCode != 0)
        return Fail(app, ("the screenshot failed: " + shot.output).c_str());
    app.CloseAndWait();
    return 0;
}
