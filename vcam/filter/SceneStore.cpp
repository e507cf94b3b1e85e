#include "vcam/filter/SceneStore.h"

#include <map>

namespace
{

// The devices whose filters are alive in this process, by name.
std::mutex DevicesMutex;
std::map<std::wstring, std::weak_ptr<SceneStore::Cell>> DeviceCells;

}  // namespace

void SceneStore::ShareWithDevice(const std::wstring& device)
{
    std::lock_guard<std::mutex> devicesLock(DevicesMutex);
    std::weak_ptr<Cell>& entry = DeviceCells[device];
    std::shared_ptr<Cell> shared = entry.lock();
    std::lock_guard<std::mutex> lock(m_cellMutex);
    if (shared)
        m_cell = shared;
    else
        entry = m_cell;
}
