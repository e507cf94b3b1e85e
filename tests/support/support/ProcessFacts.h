// What tests and benchmarks measure about their own process: its threads (none may be
// left behind by a graph), elapsed time on the performance counter and CPU time.
#pragma once

#include <windows.h>

namespace support
{

long ThreadsOfThisProcess();  // -1 when they cannot be counted

LARGE_INTEGER Now();
double SecondsSince(const LARGE_INTEGER& start);

// Kernel and user time, in milliseconds, of the calling thread and of the process.
double ThreadCpuMs();
double ProcessCpuMs();

}  // namespace support
