#include "vcam/tool/ConsoleText.h"

#include <cwchar>
#include <vector>

namespace
{

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    return utf8;
}

class LocalText
{
public:
    ~LocalText() { LocalFree(m_text); }
    wchar_t** Put() { return &m_text; }
    const wchar_t* Get() const { return m_text; }

private:
    wchar_t* m_text = nullptr;
};

}  // namespace

void WriteText(DWORD stdHandle, const std::wstring& text)
{
    const HANDLE out = GetStdHandle(stdHandle);
    if (out == INVALID_HANDLE_VALUE || out == nullptr)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode))
    {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = ToUtf8(text);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring DescribeHresult(HRESULT hr)
{
    wchar_t code[16];
    swprintf(code, sizeof code / sizeof code[0], L"0x%08lX", static_cast<unsigned long>(hr));
    LocalText message;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(message.Put()), 0, nullptr);
    std::wstring text(code);
    if (length == 0 || !message.Get())
        return text;
    std::wstring reason(message.Get(), length);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return text + L" (" + reason + L")";
}
