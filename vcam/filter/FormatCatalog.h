// The formats one pin offers and the one it currently produces. Not thread-safe:
// the pin guards it with the filter's lock.
#pragma once

#include <vector>

#include "vcam/filter/SceneStore.h"
#include "vcam/filter/VideoMode.h"

class FormatCatalog
{
public:
    FormatCatalog();

    // An empty list falls back to the default formats.
    void Configure(const std::vector<VideoFormat>& formats, unsigned fps, bool videoInfo2);

    // Types then carry the scene's exposure as their frame interval when it is longer
    // than the set one; the store outlives the catalog.
    void UseScene(const SceneStore* scene) { m_scene = scene; }

    size_t Count() const { return m_formats.size(); }
    VideoMode Current() const { return m_current; }
    VideoFormat FormatAt(size_t index) const { return m_formats[index]; }
    // A format chosen with SetFormat: from now on the only one offered.
    void SetCurrent(const VideoMode& mode);
    // The format a connection settled on, without narrowing what is offered.
    void Follow(const VideoMode& mode) { m_current = mode; }

    // The type delivered in a mode: its interval lengthened by the exposure.
    HRESULT TypeFor(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out) const;
    // The mode's interval as the stream runs it: an exposure longer than it lengthens it.
    REFERENCE_TIME ExposedInterval(const VideoMode& mode) const;
    // The current format with the device's preferred header.
    HRESULT CurrentType(comkit::MediaType* out) const;
    // A capability: always a VIDEOINFOHEADER, at the current frame rate.
    HRESULT CapabilityType(size_t index, comkit::MediaType* out) const;
    // What EnumMediaTypes lists: the current format first, then, until a format has
    // been chosen with SetFormat, every other capability. A VIDEOINFOHEADER2 device
    // lists each format twice, as drivers that offer both headers do: VIDEOINFOHEADER2
    // first, then the same format with a VIDEOINFOHEADER.
    HRESULT OfferedTypes(std::vector<comkit::MediaType>* out) const;
    // The order in which Connect tries the offered types: the same formats, each with
    // the VIDEOINFOHEADER first. A peer that takes anything (the Smart Tee) passes the
    // type on to filters that may know only VIDEOINFOHEADER (Wine's AVI mux); a peer
    // that wants VIDEOINFOHEADER2 refuses the first and takes the second.
    HRESULT ConnectionTypes(std::vector<comkit::MediaType>* out) const;

    // Whether the type names one of the offered sizes; resolves its frame interval
    // (0 or the current one as offered keeps the current one, others are clamped to
    // 1..30 frames per second).
    bool Accept(const AM_MEDIA_TYPE& mt, VideoMode* resolved) const;

private:
    bool Offers(const VideoFormat& format) const;
    // The formats offered, the current one first.
    std::vector<VideoMode> OfferedModes() const;
    HRESULT TypesOfOfferedModes(bool videoInfo2First, std::vector<comkit::MediaType>* out) const;
    HRESULT AppendTypes(const VideoMode& mode, bool videoInfo2First,
                        std::vector<comkit::MediaType>* out) const;

    std::vector<VideoFormat> m_formats;
    VideoMode m_current;
    bool m_videoInfo2 = false;
    bool m_chosen = false;
    const SceneStore* m_scene = nullptr;
};
