// The picture settings shared by the settings page (any thread) and the streaming threads.
#pragma once

#include <mutex>

#include "vcam/frame/SceneSettings.h"

class SceneStore
{
public:
    SceneSettings Get() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_scene;
    }

    void Set(const SceneSettings& scene)
    {
        const SceneSettings clamped = ClampScene(scene);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_scene = clamped;
    }

private:
    mutable std::mutex m_mutex;
    SceneSettings m_scene;
};
