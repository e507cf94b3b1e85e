#include "vcam/filter/JpegLayout.h"

#include <cstring>

namespace
{

constexpr BYTE Sof0 = 0xC0, Dht = 0xC4, Jpg = 0xC8, Dac = 0xCC, Soi = 0xD8, Eoi = 0xD9, Sos = 0xDA, Dri = 0xDD;

unsigned Big16(const BYTE* at)
{
    return static_cast<unsigned>(at[0]) << 8 | at[1];
}

// SOF0's components give the MCU's size: 8 pixels times the largest sampling factors.
bool ReadFrameHeader(const BYTE* segment, size_t length, JpegLayout* layout)
{
    if (length < 8 || segment[2] != 8)
        return false;
    const unsigned components = segment[7];
    if (components < 1 || components > 4 || length != 8 + 3 * components)
        return false;
    unsigned maxH = 1, maxV = 1;
    for (unsigned i = 0; i < components; ++i)
    {
        const BYTE factors = segment[8 + 3 * i + 1];
        maxH = (factors >> 4) > maxH ? (factors >> 4) : maxH;
        maxV = (factors & 15) > maxV ? (factors & 15) : maxV;
    }
    layout->mcuWidth = static_cast<LONG>(8 * maxH);
    layout->mcuHeight = static_cast<LONG>(8 * maxV);
    return true;
}

bool IsOtherFrameHeader(BYTE marker)
{
    return marker > Sof0 && marker <= 0xCF && marker != Dht && marker != Jpg && marker != Dac;
}

}  // namespace

bool ReadJpegLayout(const BYTE* jpeg, size_t bytes, JpegLayout* layout)
{
    if (bytes < 4 || jpeg[0] != 0xFF || jpeg[1] != Soi || jpeg[bytes - 2] != 0xFF || jpeg[bytes - 1] != Eoi)
        return false;
    JpegLayout found;
    size_t at = 2;
    while (at + 4 <= bytes && jpeg[at] == 0xFF)
    {
        const BYTE marker = jpeg[at + 1];
        const size_t length = Big16(jpeg + at + 2);  // counts itself, not the marker
        if (length < 2 || at + 2 + length > bytes || marker == Dri || IsOtherFrameHeader(marker))
            return false;
        if (marker == Sof0)
        {
            if (!ReadFrameHeader(jpeg + at + 2, length, &found))
                return false;
            found.heightAt = at + 5;
        }
        if (marker == Sos)
        {
            found.scanAt = at;
            found.dataAt = at + 2 + length;
            found.dataEnd = bytes - 2;
            if (found.mcuHeight == 0 || found.dataAt > found.dataEnd)
                return false;
            *layout = found;
            return true;
        }
        at += 2 + length;
    }
    return false;
}

bool SameJpegHeader(const BYTE* a, const JpegLayout& layoutA, const BYTE* b, const JpegLayout& layoutB)
{
    return layoutA.dataAt == layoutB.dataAt && layoutA.heightAt == layoutB.heightAt &&
           std::memcmp(a, b, layoutA.heightAt) == 0 &&
           std::memcmp(a + layoutA.heightAt + 2, b + layoutB.heightAt + 2, layoutA.dataAt - layoutA.heightAt - 2) == 0;
}

void AppendStitchedHeader(const BYTE* reference, const JpegLayout& layout, LONG height, unsigned mcusPerInterval,
                          std::vector<BYTE>* out)
{
    const size_t start = out->size();
    out->insert(out->end(), reference, reference + layout.scanAt);
    (*out)[start + layout.heightAt] = static_cast<BYTE>(height >> 8);
    (*out)[start + layout.heightAt + 1] = static_cast<BYTE>(height);
    const BYTE restart[] = {0xFF, Dri, 0, 4, static_cast<BYTE>(mcusPerInterval >> 8), static_cast<BYTE>(mcusPerInterval)};
    out->insert(out->end(), restart, restart + sizeof(restart));
    out->insert(out->end(), reference + layout.scanAt, reference + layout.dataAt);
}
