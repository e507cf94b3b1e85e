// Removes the filters added to a graph during a build that did not finish.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

class FilterRollback
{
public:
    explicit FilterRollback(IGraphBuilder* graph) : m_graph(graph) {}
    ~FilterRollback()
    {
        if (m_committed)
            return;
        for (auto& filter : m_filters)
        {
            if (filter)
                m_graph->RemoveFilter(filter.Get());
        }
    }
    FilterRollback(const FilterRollback&) = delete;
    FilterRollback& operator=(const FilterRollback&) = delete;

    HRESULT Add(IBaseFilter* filter, LPCWSTR name)
    {
        if (m_count == kMaxFilters)
            return E_UNEXPECTED;
        HRESULT hr = m_graph->AddFilter(filter, name);
        if (SUCCEEDED(hr))
            m_filters[m_count++] = filter;
        return hr;
    }
    void Commit() { m_committed = true; }

private:
    static constexpr int kMaxFilters = 2;
    Microsoft::WRL::ComPtr<IGraphBuilder> m_graph;
    Microsoft::WRL::ComPtr<IBaseFilter> m_filters[kMaxFilters];
    int m_count = 0;
    bool m_committed = false;
};
