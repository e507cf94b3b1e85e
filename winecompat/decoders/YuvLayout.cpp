#include "decoders/YuvLayout.h"

#include <mmsystem.h>

namespace decoders
{

bool LayoutOfFourcc(DWORD fourcc, YuvLayout* layout)
{
    struct Known
    {
        DWORD fourcc;
        YuvLayout layout;
    };
    static const Known known[] = {
        {mmioFOURCC('Y', 'U', 'Y', '2'), YuvLayout::Yuy2}, {mmioFOURCC('Y', 'U', 'Y', 'V'), YuvLayout::Yuy2},
        {mmioFOURCC('U', 'Y', 'V', 'Y'), YuvLayout::Uyvy}, {mmioFOURCC('Y', 'V', 'Y', 'U'), YuvLayout::Yvyu},
        {mmioFOURCC('I', '4', '2', '0'), YuvLayout::I420}, {mmioFOURCC('I', 'Y', 'U', 'V'), YuvLayout::I420},
        {mmioFOURCC('N', 'V', '1', '2'), YuvLayout::Nv12},
    };
    for (const Known& entry : known)
    {
        if (entry.fourcc == fourcc)
        {
            *layout = entry.layout;
            return true;
        }
    }
    return false;
}

bool IsPlanar(YuvLayout layout)
{
    return layout == YuvLayout::I420 || layout == YuvLayout::Nv12;
}

size_t YuvFrameBytes(YuvLayout layout, LONG width, LONG height)
{
    if (width <= 0 || height <= 0 || width % 2 != 0)
        return 0;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (!IsPlanar(layout))
        return pixels * 2;
    if (height % 2 != 0)
        return 0;
    return pixels + pixels / 2;
}

}  // namespace decoders
