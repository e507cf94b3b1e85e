#include "afxstr.h"

#include "afxapp.h"

BOOL CString::LoadString(UINT nID)
{
    // A zero buffer size asks for a pointer into the resource itself: the length is
    // known before anything is copied, so no buffer has to be guessed.
    LPCWSTR image = nullptr;
    const int wideLength = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&image), 0);
    if (wideLength <= 0 || image == nullptr)
        return FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, 0, image, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return FALSE;
    std::string text(static_cast<size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_ACP, 0, image, wideLength, &text[0], length, nullptr, nullptr) != length)
        return FALSE;
    m_text.swap(text);
    return TRUE;
}
