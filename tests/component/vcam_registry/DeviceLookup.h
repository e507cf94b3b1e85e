// Checks on the lists of registered devices' names.
#pragma once

#include <string>
#include <vector>

#include "comkit/ComApartment.h"
#include "support/DeviceLookup.h"

using support::FindDeviceByName;

// Whether `names` holds every one of `expected` in this order (other devices may sit between).
bool ContainsInOrder(const std::vector<std::wstring>& names, const std::vector<std::wstring>& expected);

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name);
