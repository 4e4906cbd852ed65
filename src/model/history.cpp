// Steps as the differing window of each array, found by comparing with a shadow copy.
#include "model/history.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

// Equal bit for bit, so -0 and 0 (and distinct NaNs) count as different values.
template <typename T>
bool Same(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Records how the live array (m entries) differs from the shadow; returns false
// when they are equal. The window is the span between the common head and tail.
template <typename T, typename P>
bool Record(std::vector<T>& shadow, std::span<const T> live, P& patch)
{
    const std::size_t n = shadow.size(), m = live.size();
    const std::size_t common = std::min(n, m);
    std::size_t head = 0;
    while (head < common && Same(shadow[head], live[head])) ++head;
    if (head == common && n == m) return false;
    std::size_t tail = 0;
    while (tail < common - head && Same(shadow[n - 1 - tail], live[m - 1 - tail])) ++tail;
    patch.begin = head;
    patch.tail = tail;
    patch.before.assign(shadow.begin() + head, shadow.end() - tail);
    patch.after.assign(live.begin() + head, live.end() - tail);
    shadow.assign(live.begin(), live.end());
    return true;
}

// Turns the array from one side of the patch into the other: slide the tail, then
// write the window.
template <typename T, typename P>
void ApplyPatch(std::span<T> array, std::vector<T>& shadow, const P& patch, bool forward)
{
    const std::vector<T>& from = forward ? patch.before : patch.after;
    const std::vector<T>& to = forward ? patch.after : patch.before;
    if (from.empty() && to.empty()) return;
    // Every side of a step was a model that fitted the arrays.
    assert(patch.begin + std::max(from.size(), to.size()) + patch.tail <= array.size());
    T* window = array.data() + patch.begin;
    std::memmove(window + to.size(), window + from.size(), patch.tail * sizeof(T));
    std::copy(to.begin(), to.end(), window);
    shadow.assign(array.data(), window + to.size() + patch.tail);
}

}  // namespace

std::size_t CModelHistory::Step::Bytes() const
{
    return sizeof(Step) + label.capacity() + x.Bytes() + y.Bytes() + z.Bytes() + sel.Bytes() + from.Bytes() +
           to.Bytes();
}

void CModelHistory::Reset(const ModelArrays& model)
{
    m_steps.clear();
    m_position = 0;
    m_bytes = 0;
    m_dropped = 0;
    m_savedAt = 0;
    const auto n = static_cast<std::size_t>(model.vertices), e = static_cast<std::size_t>(model.edges);
    m_shadow.x.assign(model.x, model.x + n);
    m_shadow.y.assign(model.y, model.y + n);
    m_shadow.z.assign(model.z, model.z + n);
    m_shadow.sel.assign(model.sel, model.sel + n);
    m_shadow.from.assign(model.from, model.from + e);
    m_shadow.to.assign(model.to, model.to + e);
}

bool CModelHistory::Commit(const ModelArrays& model, std::string label)
{
    const auto n = static_cast<std::size_t>(model.vertices), e = static_cast<std::size_t>(model.edges);
    Step step;
    step.label = std::move(label);
    step.verticesBefore = static_cast<std::int32_t>(m_shadow.x.size());
    step.edgesBefore = static_cast<std::int32_t>(m_shadow.from.size());
    step.verticesAfter = model.vertices;
    step.edgesAfter = model.edges;
    bool changed = false;
    changed |= Record(m_shadow.x, {model.x, n}, step.x);
    changed |= Record(m_shadow.y, {model.y, n}, step.y);
    changed |= Record(m_shadow.z, {model.z, n}, step.z);
    changed |= Record(m_shadow.from, {model.from, e}, step.from);
    changed |= Record(m_shadow.to, {model.to, e}, step.to);
    step.geometry = changed || step.verticesBefore != step.verticesAfter || step.edgesBefore != step.edgesAfter;
    changed |= Record(m_shadow.sel, {model.sel, n}, step.sel);
    if (!changed) return false;

    // The saved state is among the steps thrown away; when only selections lie between it
    // and here, this state has the saved geometry and stands in for it.
    if (m_savedAt > static_cast<long>(m_position) + m_dropped)
        m_savedAt = GeometryAtSavePoint() ? static_cast<long>(m_position) + m_dropped : -1;
    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back().Bytes();
        m_steps.pop_back();
    }
    m_bytes += step.Bytes();
    m_steps.push_back(std::move(step));
    m_position = m_steps.size();
    while (m_bytes > kByteBudget && m_steps.size() > 1) DropOldest();
    return true;
}

void CModelHistory::DropOldest()
{
    // A save point at the oldest state survives the drop when that step changed only the selection.
    if (m_savedAt == m_dropped && !m_steps.front().geometry) ++m_savedAt;
    m_bytes -= m_steps.front().Bytes();
    m_steps.pop_front();
    --m_position;
    ++m_dropped;
}

bool CModelHistory::GeometryAtSavePoint() const
{
    if (m_savedAt < m_dropped) return false;
    const auto saved = static_cast<std::size_t>(m_savedAt - m_dropped);
    if (saved > m_steps.size()) return false;
    const std::size_t first = std::min(saved, m_position), last = std::max(saved, m_position);
    for (std::size_t k = first; k < last; ++k)
        if (m_steps[k].geometry) return false;
    return true;
}

const std::string& CModelHistory::UndoLabel() const
{
    static const std::string none;
    return CanUndo() ? m_steps[m_position - 1].label : none;
}

const std::string& CModelHistory::RedoLabel() const
{
    static const std::string none;
    return CanRedo() ? m_steps[m_position].label : none;
}

bool CModelHistory::Undo(const RestoredArrays& model)
{
    if (!CanUndo()) return false;
    --m_position;
    Apply(model, m_steps[m_position], false);
    return true;
}

bool CModelHistory::Redo(const RestoredArrays& model)
{
    if (!CanRedo()) return false;
    Apply(model, m_steps[m_position], true);
    ++m_position;
    return true;
}

void CModelHistory::Apply(const RestoredArrays& model, const Step& step, bool forward)
{
    ApplyPatch(model.x, m_shadow.x, step.x, forward);
    ApplyPatch(model.y, m_shadow.y, step.y, forward);
    ApplyPatch(model.z, m_shadow.z, step.z, forward);
    ApplyPatch(model.sel, m_shadow.sel, step.sel, forward);
    ApplyPatch(model.from, m_shadow.from, step.from, forward);
    ApplyPatch(model.to, m_shadow.to, step.to, forward);
    *model.vertices = forward ? step.verticesAfter : step.verticesBefore;
    *model.edges = forward ? step.edgesAfter : step.edgesBefore;
}
