// Creating a capture file under its number: exclusively while the counter increments,
// so that two windows, or another program, never share or replace one file.
#pragma once

#include <windows.h>

#include <functional>

#include "snapshot/StillFile.h"

enum class NumberedFileOutcome
{
    Created,       // the file exists now, made by `create`
    NameTooLong,   // the name does not fit in MAX_PATH - 1 characters; nothing tried
    NoFreeNumber,  // the folder could not be counted, or no number is left above it
    NotCreated,    // `create` failed; failure says why
};

struct NumberedFile
{
    long number;
    char fullPath[MAX_PATH];
    char shortName[MAX_PATH];
    HRESULT failure;
};

// Makes the file with `create`, which must fail with ERROR_FILE_EXISTS for a name
// that is taken. With `increment` the number is the next free one (see
// NextFreeCounter), and a name taken meanwhile moves it on, a few times at most;
// without, it is `counter`. The names are filled for every outcome but NameTooLong
// and NoFreeNumber.
NumberedFileOutcome CreateNumberedFile(const char* directory, const char* baseName, const char* extension,
                                       long counter, bool increment,
                                       const std::function<HRESULT(const char* path)>& create,
                                       NumberedFile& file);

// An empty file, closed again: a clip's name held for the recording graph's file
// writer. With ExistingFile::Keep only this call made it (CREATE_NEW).
HRESULT CreateEmptyFile(const char* path, ExistingFile existing);

// Removes the file if it is still empty: a held name that nothing was written under.
void DeleteEmptyFile(const char* path);
