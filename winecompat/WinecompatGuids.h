// Class identifiers of the Wine gap fillers.
#pragma once

#include <windows.h>

// The capture graph builder that CLSID_CaptureGraphBuilder2 is treated as in the prefix.
// {55DBFE39-9EE3-45AD-BE11-9EC9F4056905}
static const CLSID CLSID_TarnviewCaptureGraphBuilder = {
    0x55dbfe39, 0x9ee3, 0x45ad, {0xbe, 0x11, 0x9e, 0xc9, 0xf4, 0x05, 0x69, 0x05}};

// The filter graph that CLSID_FilterGraph is treated as in the prefix.
// {AC15D270-F63A-4AAD-9EE1-73491AD3348D}
static const CLSID CLSID_TarnviewFilterGraph = {
    0xac15d270, 0xf63a, 0x4aad, {0x9e, 0xe1, 0x73, 0x49, 0x1a, 0xd3, 0x34, 0x8d}};

// The file writer used when the platform's writer offers no IStream on its pin.
// Created in process only, never registered.
// {3D9C0ECC-9E11-4775-97EA-CA6D4BC44301}
static const CLSID CLSID_TarnviewStreamFileWriter = {
    0x3d9c0ecc, 0x9e11, 0x4775, {0x97, 0xea, 0xca, 0x6d, 0x4b, 0xc4, 0x43, 0x01}};

// The AVI mux that CLSID_AviDest is treated as in the prefix.
// {0B4C1E6D-5A0F-4F37-9C55-2D8E7A61B3F2}
static const CLSID CLSID_TarnviewAviMux = {
    0x0b4c1e6d, 0x5a0f, 0x4f37, {0x9c, 0x55, 0x2d, 0x8e, 0x7a, 0x61, 0xb3, 0xf2}};
