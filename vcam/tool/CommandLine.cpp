#include "vcam/tool/CommandLine.h"

#include <cwctype>

namespace
{

// A whole decimal number within [low, high].
bool ParseNumber(const std::wstring& text, unsigned long low, unsigned long high, unsigned long* value)
{
    if (text.empty() || text.size() > 9)
        return false;
    unsigned long result = 0;
    for (wchar_t c : text)
    {
        if (!std::iswdigit(c))
            return false;
        result = result * 10 + (c - L'0');
    }
    if (result < low || result > high)
        return false;
    *value = result;
    return true;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix, std::wstring* rest)
{
    const std::wstring head(prefix);
    if (text.compare(0, head.size(), head) != 0)
        return false;
    *rest = text.substr(head.size());
    return true;
}

bool ParseSwitch(const std::wstring& arg, DeviceSpec* entry)
{
    if (arg == L"--unbindable")
        entry->unbindable = true;
    else if (arg == L"--preview-pin")
        entry->settings.previewPin = true;
    else if (arg == L"--videoport-pin")
        entry->settings.videoPortPin = true;
    else if (arg == L"--videoinfo2")
        entry->settings.videoInfo2 = true;
    else if (arg == L"--no-frame-number")
        entry->settings.scene.showFrameNumber = false;
    else
        return false;
    return true;
}

// Options with a value: false with a reason when the option is unknown or its value bad.
bool ParseValueOption(const std::wstring& arg, DeviceSettings* settings, std::wstring* error)
{
    std::wstring value;
    unsigned long number = 0;
    bool good = false;
    if (StartsWith(arg, L"--formats=", &value))
    {
        good = ParseFormats(value, &settings->formats);
    }
    else if (StartsWith(arg, L"--profile=", &value))
    {
        good = ProfileFormats(value, &settings->formats);
    }
    else if (StartsWith(arg, L"--pattern=", &value))
    {
        good = value == L"bars" || value == L"sky";
        settings->scene.pattern = value == L"bars" ? ScenePattern::ColourBars : ScenePattern::NightSky;
    }
    else if (StartsWith(arg, L"--faults=", &value))
    {
        good = ParseFaults(value, &settings->faults);
    }
    else if (StartsWith(arg, L"--fps=", &value))
    {
        good = ParseNumber(value, MinFps, MaxFps, &number);
        settings->fps = good ? number : settings->fps;
    }
    else if (StartsWith(arg, L"--stop-after=", &value))
    {
        good = ParseNumber(value, 0, 100000000, &number);
        settings->stopAfterFrames = good ? number : settings->stopAfterFrames;
    }
    else if (StartsWith(arg, L"--exposure=", &value))
    {
        good = ParseSeconds(value, MaxExposure, &settings->scene.exposure);
    }
    else if (StartsWith(arg, L"--first-frame-delay=", &value))
    {
        good = ParseSeconds(value, MaxDelay, &settings->firstFrameDelay);
    }
    else if (StartsWith(arg, L"--jitter=", &value))
    {
        good = ParseSeconds(value, MaxDelay, &settings->jitter);
    }
    else if (StartsWith(arg, L"--drop-burst=", &value))
    {
        good = ParseDropBurst(value, &settings->dropFrom, &settings->dropCount);
    }
    else if (StartsWith(arg, L"--star-density=", &value))
    {
        good = ParseNumber(value, 0, 100, &number);
        settings->scene.starDensity = good ? static_cast<int>(number) : settings->scene.starDensity;
    }
    else if (StartsWith(arg, L"--brightness=", &value))
    {
        good = ParseNumber(value, 0, 100, &number);
        settings->scene.brightness = good ? static_cast<int>(number) : settings->scene.brightness;
    }
    else
    {
        *error = L"unknown option " + arg;
        return false;
    }
    if (!good)
        *error = L"bad value in " + arg;
    return good;
}

bool ParseAdd(const std::vector<std::wstring>& args, ToolCommand* command, std::wstring* error)
{
    if (args.size() < 3)
    {
        *error = L"add needs an instance name and a friendly name";
        return false;
    }
    command->device.instance = args[1];
    command->device.friendlyName = args[2];
    if (command->device.friendlyName.empty())
    {
        *error = L"the friendly name is empty";
        return false;
    }
    for (size_t i = 3; i < args.size(); ++i)
        if (!ParseSwitch(args[i], &command->device) &&
            !ParseValueOption(args[i], &command->device.settings, error))
            return false;
    return true;
}

bool ExpectArgs(const std::vector<std::wstring>& args, size_t count, std::wstring* error)
{
    if (args.size() == count)
        return true;
    *error = args[0] + (count == 1 ? L" takes no arguments" : L" takes exactly one instance name");
    return false;
}

}  // namespace

bool ParseToolCommand(const std::vector<std::wstring>& args, ToolCommand* command, std::wstring* error)
{
    ToolCommand parsed;
    bool good = false;
    if (args.empty())
    {
        *error = L"no command given";
    }
    else if (args[0] == L"add")
    {
        parsed.action = ToolAction::Add;
        good = ParseAdd(args, &parsed, error);
    }
    else if (args[0] == L"remove")
    {
        parsed.action = ToolAction::Remove;
        good = ExpectArgs(args, 2, error);
        if (good)
            parsed.device.instance = args[1];
    }
    else if (args[0] == L"remove-all" || args[0] == L"list" || args[0] == L"help")
    {
        parsed.action = args[0] == L"list"   ? ToolAction::List
                        : args[0] == L"help" ? ToolAction::Help
                                             : ToolAction::RemoveAll;
        good = ExpectArgs(args, 1, error);
    }
    else
    {
        *error = L"unknown command " + args[0];
    }
    if (good)
        *command = parsed;
    return good;
}

const wchar_t* ToolUsage()
{
    return L"Registers Tarnview's virtual cameras as video input devices.\n"
           L"\n"
           L"usage:\n"
           L"  vcamctl add <instance> \"<friendly name>\" [options]\n"
           L"  vcamctl remove <instance>\n"
           L"  vcamctl remove-all\n"
           L"  vcamctl list\n"
           L"\n"
           L"Devices are listed in the order of their instance names (e.g. 01, 02).\n"
           L"add replaces a device of ours with the same instance name. Options:\n"
           L"  --unbindable              registered without a working filter (an unplugged camera)\n"
           L"  --preview-pin             a preview pin beside the capture pin\n"
           L"  --videoport-pin           a video port pin\n"
           L"  --formats=640x480,...     offered formats in order, each [SUBTYPE:]WIDTHxHEIGHT with\n"
           L"                            SUBTYPE one of RGB24 (the default), YUY2, UYVY, I420, NV12,\n"
           L"                            MJPG; a negative height is a top-down RGB24 picture\n"
           L"                            (default 640x480,320x240,1280x960,642x480,640x-480)\n"
           L"  --profile=webcam          YUY2:640x480,YUY2:320x240,MJPG:1280x960,MJPG:1280x720\n"
           L"  --profile=night-sky       640x480,YUY2:640x480,1280x960,YUY2:1280x960\n"
           L"  --pattern=sky|bars        the night sky (default) or 75% colour bars\n"
           L"  --fps=N                   frames per second, 1..60 (default 30)\n"
           L"  --videoinfo2              offer VIDEOINFOHEADER2 formats\n"
           L"  --faults=a,b,...          no-stream-config, no-caps, caps-fail, format-fail, no-pages,\n"
           L"                            unplug (the end set by --stop-after unplugs the camera),\n"
           L"                            replug (an unplugged camera is back two seconds later)\n"
           L"  --stop-after=N            end the stream after N frames (default never)\n"
           L"  --exposure=S              seconds per frame, up to 60 (e.g. 4 or 0.5); the frame\n"
           L"                            interval is the longer of this and the stream's own\n"
           L"  --first-frame-delay=S     the first frame of each run comes S seconds late\n"
           L"  --jitter=S                each frame comes up to S seconds late, at random\n"
           L"  --drop-burst=N:K          frames N to N+K-1 are dropped (counted, never sent)\n"
           L"  --star-density=N          0..100 (default 50)\n"
           L"  --brightness=N            0..100 (default 70)\n"
           L"  --no-frame-number         hide the visible frame number\n"
           L"\n"
           L"remove and remove-all touch only devices added by vcamctl.\n"
           L"Exit code 0 on success, 1 when the operation fails, 2 on a usage error.\n";
}
