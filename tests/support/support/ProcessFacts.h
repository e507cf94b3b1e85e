// What tests and benchmarks measure about their own process: its threads (none may be
// left behind by a graph) and elapsed time on the performance counter.
#pragma once

#include <windows.h>

namespace support
{

long ThreadsOfThisProcess();  // -1 when they cannot be counted

LARGE_INTEGER Now();
double SecondsSince(const LARGE_INTEGER& start);

}  // namespace support
