#include "model/history.h"

#include <algorithm>
#include <cstring>

#include "model/polydrom_doc.h"

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
bool Record(std::vector<T>& shadow, const T* live, std::size_t m, P& patch)
{
    const std::size_t n = shadow.size();
    const std::size_t common = std::min(n, m);
    std::size_t head = 0;
    while (head < common && Same(shadow[head], live[head])) ++head;
    if (head == common && n == m) return false;
    std::size_t tail = 0;
    while (tail < common - head && Same(shadow[n - 1 - tail], live[m - 1 - tail])) ++tail;
    patch.begin = head;
    patch.tail = tail;
    patch.before.assign(shadow.begin() + head, shadow.end() - tail);
    patch.after.assign(live + head, live + (m - tail));
    shadow.assign(live, live + m);
    return true;
}

// Turns the array from one side of the patch into the other: slide the tail, then
// write the window.
template <typename T, typename P>
void ApplyPatch(T* array, std::vector<T>& shadow, const P& patch, bool forward)
{
    const std::vector<T>& from = forward ? patch.before : patch.after;
    const std::vector<T>& to = forward ? patch.after : patch.before;
    if (from.empty() && to.empty()) return;
    T* window = array + patch.begin;
    std::memmove(window + to.size(), window + from.size(), patch.tail * sizeof(T));
    std::copy(to.begin(), to.end(), window);
    shadow.assign(array, window + to.size() + patch.tail);
}

}  // namespace

std::size_t CModelHistory::Step::Bytes() const
{
    return sizeof(Step) + label.capacity() + x.Bytes() + y.Bytes() + z.Bytes() + sel.Bytes() + from.Bytes() +
           to.Bytes();
}

void CModelHistory::Reset(const CPolydromDoc& doc)
{
    m_steps.clear();
    m_position = 0;
    m_bytes = 0;
    m_dropped = 0;
    m_savedAt = 0;
    const std::size_t n = static_cast<std::size_t>(doc.m_nVertices), e = static_cast<std::size_t>(doc.m_nEdges);
    m_shadow.x.assign(doc.m_x, doc.m_x + n);
    m_shadow.y.assign(doc.m_y, doc.m_y + n);
    m_shadow.z.assign(doc.m_z, doc.m_z + n);
    m_shadow.sel.assign(doc.m_sel, doc.m_sel + n);
    m_shadow.from.assign(doc.m_edgeFrom, doc.m_edgeFrom + e);
    m_shadow.to.assign(doc.m_edgeTo, doc.m_edgeTo + e);
}

bool CModelHistory::Commit(const CPolydromDoc& doc, std::string label)
{
    const std::size_t n = static_cast<std::size_t>(doc.m_nVertices), e = static_cast<std::size_t>(doc.m_nEdges);
    Step step;
    step.label = std::move(label);
    step.verticesBefore = static_cast<std::int32_t>(m_shadow.x.size());
    step.edgesBefore = static_cast<std::int32_t>(m_shadow.from.size());
    step.verticesAfter = doc.m_nVertices;
    step.edgesAfter = doc.m_nEdges;
    bool changed = false;
    changed |= Record(m_shadow.x, doc.m_x, n, step.x);
    changed |= Record(m_shadow.y, doc.m_y, n, step.y);
    changed |= Record(m_shadow.z, doc.m_z, n, step.z);
    changed |= Record(m_shadow.sel, doc.m_sel, n, step.sel);
    changed |= Record(m_shadow.from, doc.m_edgeFrom, e, step.from);
    changed |= Record(m_shadow.to, doc.m_edgeTo, e, step.to);
    if (!changed) return false;

    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back().Bytes();
        m_steps.pop_back();
    }
    if (m_savedAt > static_cast<long>(m_position) + m_dropped) m_savedAt = -1;  // the saved state is gone
    m_bytes += step.Bytes();
    m_steps.push_back(std::move(step));
    m_position = m_steps.size();
    while (m_bytes > kByteBudget && m_steps.size() > 1) DropOldest();
    return true;
}

void CModelHistory::DropOldest()
{
    m_bytes -= m_steps.front().Bytes();
    m_steps.pop_front();
    --m_position;
    ++m_dropped;
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

bool CModelHistory::Undo(CPolydromDoc& doc)
{
    if (!CanUndo()) return false;
    --m_position;
    Apply(doc, m_steps[m_position], false);
    return true;
}

bool CModelHistory::Redo(CPolydromDoc& doc)
{
    if (!CanRedo()) return false;
    Apply(doc, m_steps[m_position], true);
    ++m_position;
    return true;
}

void CModelHistory::Apply(CPolydromDoc& doc, const Step& step, bool forward)
{
    ApplyPatch(doc.m_x, m_shadow.x, step.x, forward);
    ApplyPatch(doc.m_y, m_shadow.y, step.y, forward);
    ApplyPatch(doc.m_z, m_shadow.z, step.z, forward);
    ApplyPatch(doc.m_sel, m_shadow.sel, step.sel, forward);
    ApplyPatch(doc.m_edgeFrom, m_shadow.from, step.from, forward);
    ApplyPatch(doc.m_edgeTo, m_shadow.to, step.to, forward);
    doc.m_nVertices = forward ? step.verticesAfter : step.verticesBefore;
    doc.m_nEdges = forward ? step.edgesAfter : step.edgesBefore;
}
