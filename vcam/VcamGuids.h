// Class and interface identifiers of the virtual camera.
#pragma once

#include <windows.h>

// The source filter (one class shared by every registered device).
// {6F2B1C7E-4A8D-4E35-9C1B-7D3E5A0F9B21}
static const CLSID CLSID_TarnviewVirtualCamera = {
    0x6f2b1c7e, 0x4a8d, 0x4e35, {0x9c, 0x1b, 0x7d, 0x3e, 0x5a, 0x0f, 0x9b, 0x21}};

// The settings page shown by OleCreatePropertyFrame.
// {0B7E6C42-91D3-4F8A-A6E2-3C5D8B1F7A64}
static const CLSID CLSID_TarnviewVcamScenePage = {
    0x0b7e6c42, 0x91d3, 0x4f8a, {0xa6, 0xe2, 0x3c, 0x5d, 0x8b, 0x1f, 0x7a, 0x64}};

// A class id with no server behind it: a device registered with it cannot be bound,
// as an unplugged or broken camera.
// {D4A3E9F1-5B6C-4D7E-8F90-A1B2C3D4E5F6}
static const CLSID CLSID_TarnviewUnpluggedCamera = {
    0xd4a3e9f1, 0x5b6c, 0x4d7e, {0x8f, 0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6}};

// Private interface of the filter through which the settings page reads and changes
// the picture. Declared in vcam/frame/SceneSettings.h.
// {8C1D2E3F-4A5B-4C6D-9E7F-0A1B2C3D4E5F}
static const IID IID_IVcamScene = {
    0x8c1d2e3f, 0x4a5b, 0x4c6d, {0x9e, 0x7f, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}};
