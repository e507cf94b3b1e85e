// Whether a typed base name can name capture files at all. Windows opens a device
// for CON, PRN, AUX, NUL, COM1-9 and LPT1-9 (with any extension), and a colon names a
// stream or a drive: such files "exist" for every number or vanish where nobody looks.
#pragma once

// False for a base name with a device name as any of its components, or with one of
// : * ? " < > | or a control character. Backslash and slash separate folders.
bool IsSafeCaptureName(const char* baseName);
