// Task memory (CoTaskMemAlloc) owned by a unique_ptr, and task-memory copies of strings,
// as COM out parameters hand them over.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <memory>

namespace comkit
{

struct TaskMemFree
{
    void operator()(void* block) const { CoTaskMemFree(block); }
};

template <class T>
using TaskMemory = std::unique_ptr<T, TaskMemFree>;

// A copy of `text` in task memory for the caller to free; E_OUTOFMEMORY leaves *copy null.
HRESULT CopyToTaskString(const wchar_t* text, LPWSTR* copy);

}  // namespace comkit
