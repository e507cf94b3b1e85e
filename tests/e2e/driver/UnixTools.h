// The Unix checkers, run from inside Wine (tests/support), under the driver's names.
#pragma once

#include "support/UnixCommand.h"

namespace e2e {

using support::RunUnix;
using support::ShellQuote;
using support::UnixPath;
using support::UnixResult;

}  // namespace e2e
