// The picture settings shared by the settings page (any thread) and the streaming threads.
// Filters of the same device share them, as a camera's settings live in the device and
// not in each filter made for it: a program may open the settings pages on a filter of
// its own while another filter of the device streams.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "vcam/frame/SceneSettings.h"

class SceneStore
{
public:
    SceneStore() : m_cell(std::make_shared<Cell>()) {}

    SceneSettings Get() const
    {
        const std::shared_ptr<Cell> cell = CurrentCell();
        std::lock_guard<std::mutex> lock(cell->mutex);
        return cell->scene;
    }

    void Set(const SceneSettings& scene)
    {
        const SceneSettings clamped = ClampScene(scene);
        const std::shared_ptr<Cell> cell = CurrentCell();
        std::lock_guard<std::mutex> lock(cell->mutex);
        cell->scene = clamped;
    }

    // From now on shares the settings of the device with this name in this process: those
    // of a filter of the device that is still alive, or else this store's own.
    void ShareWithDevice(const std::wstring& device);

    struct Cell
    {
        std::mutex mutex;
        SceneSettings scene;
    };

private:
    std::shared_ptr<Cell> CurrentCell() const
    {
        std::lock_guard<std::mutex> lock(m_cellMutex);
        return m_cell;
    }

    mutable std::mutex m_cellMutex;
    std::shared_ptr<Cell> m_cell;
};
