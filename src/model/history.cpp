// Steps as the differing window of each array, found by comparing with a shadow copy.
#include "model/history.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "framework/side_by_side.h"

namespace {

// Equal bit for bit, so -0 and 0 (and distinct NaNs) count as different values.
template <typename T>
bool Same(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Replaces `length` entries of the array from `begin` on by the window's, in place:
// the tail slides, then the window is written. Room is reserved by the caller.
template <typename T>
void Splice(std::vector<T>& array, std::size_t begin, std::size_t length, std::span<const T> window)
{
    const std::size_t tail = array.size() - begin - length;
    if (tail == 0) {
        // The window ends the array (an append, a removal at the end): written once, not
        // first filled with zeros.
        array.resize(begin);
        array.insert(array.end(), window.begin(), window.end());
        return;
    }
    if (window.size() > length) array.resize(array.size() + window.size() - length);
    T* at = array.data() + begin;
    if (tail > 0 && window.size() != length) std::memmove(at + window.size(), at + length, tail * sizeof(T));
    std::copy(window.begin(), window.end(), at);
    array.resize(begin + window.size() + tail);
}

// Every commit compares the whole model, so a click on a big model costs the scan:
// whole blocks go through memcmp (many bytes a cycle), and only the block that
// differs is looked at entry by entry.
constexpr std::size_t kBlock = 1024;
// Below this many face corners and edges together, a second thread costs more than it saves.
constexpr std::size_t kParallelEntries = 1 << 20;

// How many entries from the start of a and b (count each) are equal.
template <typename T>
std::size_t CommonHead(const T* a, const T* b, std::size_t count)
{
    std::size_t k = 0;
    while (count - k >= kBlock && std::memcmp(a + k, b + k, kBlock * sizeof(T)) == 0) k += kBlock;
    while (k < count && Same(a[k], b[k])) ++k;
    return k;
}

// How many entries before the ends of a and b (count each) are equal.
template <typename T>
std::size_t CommonTail(const T* aEnd, const T* bEnd, std::size_t count)
{
    std::size_t k = 0;
    while (count - k >= kBlock && std::memcmp(aEnd - k - kBlock, bEnd - k - kBlock, kBlock * sizeof(T)) == 0)
        k += kBlock;
    while (k < count && Same(aEnd[-1 - std::ptrdiff_t(k)], bEnd[-1 - std::ptrdiff_t(k)])) ++k;
    return k;
}

// Records how the live array (m entries) differs from the shadow; returns false
// when they are equal. The window is the span between the common head and tail.
template <typename T, typename P>
bool Record(std::vector<T>& shadow, std::span<const T> live, P& patch)
{
    const std::size_t n = shadow.size(), m = live.size();
    const std::size_t common = std::min(n, m);
    const std::size_t head = CommonHead(shadow.data(), live.data(), common);
    if (head == common && n == m) return false;
    const std::size_t tail = CommonTail(shadow.data() + n, live.data() + m, common - head);
    patch.begin = head;
    patch.tail = tail;
    patch.before.assign(shadow.begin() + head, shadow.end() - tail);
    patch.afterSize = m - head - tail;
    return true;
}

// Room for the shadow to follow the patch. Grown by half again, as the model's arrays are:
// a run of clicks that each add a vertex to a big model would otherwise copy the whole
// shadow every time.
template <typename T, typename P>
void RoomToFollow(std::vector<T>& shadow, const P& patch)
{
    const std::size_t needed = patch.begin + patch.afterSize + patch.tail;
    if (needed > shadow.capacity()) shadow.reserve(std::max(needed, shadow.capacity() + shadow.capacity() / 2));
}

// The shadow becomes the live array: only the window changes. Room was made first.
template <typename T, typename P>
void Follow(std::vector<T>& shadow, std::span<const T> live, const P& patch)
{
    Splice(shadow, patch.begin, patch.before.size(), live.subspan(patch.begin, patch.afterSize));
}

// The size the array has on the far side of the patch.
template <typename P>
std::size_t SizeAfter(const P& patch, bool forward)
{
    return patch.begin + (forward ? patch.afterSize : patch.before.size()) + patch.tail;
}

// Turns the array (and its shadow, equal to it) from one side of the patch into the other.
// Undone, the array holds the after window: it is kept for the redo the first time.
template <typename T, typename P>
void ApplyPatch(std::vector<T>& array, std::vector<T>& shadow, P& patch, bool forward)
{
    if (!patch.Touched()) return;
    const std::size_t fromSize = forward ? patch.before.size() : patch.afterSize;
    // Every side of a step was a model the arrays held.
    assert(patch.begin + fromSize + patch.tail == array.size());
    if (!forward && patch.after.size() != patch.afterSize) {
        const auto first = array.begin() + static_cast<std::ptrdiff_t>(patch.begin);
        patch.after.assign(first, first + static_cast<std::ptrdiff_t>(patch.afterSize));
    }
    const std::vector<T>& to = forward ? patch.after : patch.before;
    Splice(array, patch.begin, fromSize, std::span<const T>(to));
    Splice(shadow, patch.begin, fromSize, std::span<const T>(to));
}

}  // namespace

std::size_t CModelHistory::Step::Bytes() const
{
    return sizeof(Step) + label.capacity() + x.Bytes() + y.Bytes() + z.Bytes() + sel.Bytes() + from.Bytes() +
           to.Bytes() + face.Bytes();
}

void CModelHistory::Reset(const ModelArrays& model)
{
    const auto n = static_cast<std::size_t>(model.vertices), e = static_cast<std::size_t>(model.edges);
    const auto f = 3 * static_cast<std::size_t>(model.faces);
    // Built aside first, so that running out of memory leaves the history as it was.
    Shadow shadow;
    for (auto* floats : {&shadow.x, &shadow.y, &shadow.z}) floats->reserve(WithRoom(n));
    shadow.sel.reserve(WithRoom(n));
    for (auto* ints : {&shadow.from, &shadow.to}) ints->reserve(WithRoom(e));
    shadow.face.reserve(WithRoom(f));
    shadow.x.assign(model.x, model.x + n);
    shadow.y.assign(model.y, model.y + n);
    shadow.z.assign(model.z, model.z + n);
    shadow.sel.assign(model.sel, model.sel + n);
    shadow.from.assign(model.from, model.from + e);
    shadow.to.assign(model.to, model.to + e);
    shadow.face.assign(model.face, model.face + f);
    m_shadow = std::move(shadow);
    m_steps.clear();
    m_position = 0;
    m_bytes = 0;
    m_dropped = 0;
    m_savedAt = 0;
}

bool CModelHistory::Commit(const ModelArrays& model, std::string label)
{
    const auto n = static_cast<std::size_t>(model.vertices), e = static_cast<std::size_t>(model.edges);
    const auto f = 3 * static_cast<std::size_t>(model.faces);
    Step step;
    step.label = std::move(label);
    // Nothing changes until every patch is made: running out of memory here loses no step.
    // The comparison reads the whole model twice over, which on a big model is bound by
    // the memory's speed: the faces and the edge starts (about half the bytes) are compared
    // on a second thread. Only the patches are written there, nothing shared.
    bool faceChanged = false, fromChanged = false;
    bool changed = false;
    SideBySide(
        f + e > kParallelEntries,
        [&] {
            changed |= Record(m_shadow.x, {model.x, n}, step.x);
            changed |= Record(m_shadow.y, {model.y, n}, step.y);
            changed |= Record(m_shadow.z, {model.z, n}, step.z);
            changed |= Record(m_shadow.to, {model.to, e}, step.to);
        },
        [&] {
            faceChanged = Record(m_shadow.face, {model.face, f}, step.face);
            fromChanged = Record(m_shadow.from, {model.from, e}, step.from);
        });
    changed |= faceChanged | fromChanged;
    // Counts changing change the arrays' lengths, so they are among these.
    step.geometry = changed;
    changed |= Record(m_shadow.sel, {model.sel, n}, step.sel);
    if (!changed) return false;
    // All the room first, so that running out of memory leaves every array of the shadow
    // as it was, never some followed and some not.
    RoomToFollow(m_shadow.x, step.x);
    RoomToFollow(m_shadow.y, step.y);
    RoomToFollow(m_shadow.z, step.z);
    RoomToFollow(m_shadow.sel, step.sel);
    RoomToFollow(m_shadow.from, step.from);
    RoomToFollow(m_shadow.to, step.to);
    RoomToFollow(m_shadow.face, step.face);
    Follow(m_shadow.x, {model.x, n}, step.x);
    Follow(m_shadow.y, {model.y, n}, step.y);
    Follow(m_shadow.z, {model.z, n}, step.z);
    Follow(m_shadow.sel, {model.sel, n}, step.sel);
    Follow(m_shadow.from, {model.from, e}, step.from);
    Follow(m_shadow.to, {model.to, e}, step.to);
    Follow(m_shadow.face, {model.face, f}, step.face);

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
    const std::size_t budget = ByteBudget(n);
    while (m_bytes > budget && m_steps.size() > 1) DropOldest();
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
    // Moved only once the step is applied: running out of memory for it changes nothing.
    Apply(model, m_steps[m_position - 1], false);
    --m_position;
    return true;
}

bool CModelHistory::Redo(const RestoredArrays& model)
{
    if (!CanRedo()) return false;
    Apply(model, m_steps[m_position], true);
    ++m_position;
    return true;
}

void CModelHistory::Apply(const RestoredArrays& model, Step& step, bool forward)
{
    // Room first, for the arrays and their shadows alike, so that running out of memory
    // stops the step before anything has changed.
    // A count that changes changes the size of X (of the edge starts), so their patches tell the new counts.
    const std::size_t vertices = step.x.Touched() ? SizeAfter(step.x, forward) : model.x->size();
    const std::size_t edges = step.from.Touched() ? SizeAfter(step.from, forward) : model.from->size();
    auto room = [forward](auto& array, auto& shadow, auto& patch, bool ahead) {
        if (!patch.Touched()) return;
        array.reserve(SizeAfter(patch, ahead));
        shadow.reserve(SizeAfter(patch, ahead));
        if (!forward) patch.after.reserve(patch.afterSize);
    };
    room(*model.x, m_shadow.x, step.x, forward);
    room(*model.y, m_shadow.y, step.y, forward);
    room(*model.z, m_shadow.z, step.z, forward);
    room(*model.sel, m_shadow.sel, step.sel, forward);
    room(*model.from, m_shadow.from, step.from, forward);
    room(*model.to, m_shadow.to, step.to, forward);
    room(*model.face, m_shadow.face, step.face, forward);
    if (model.dup) model.dup->reserve(vertices);
    if (model.used) model.used->reserve(edges);

    ApplyPatch(*model.x, m_shadow.x, step.x, forward);
    ApplyPatch(*model.y, m_shadow.y, step.y, forward);
    ApplyPatch(*model.z, m_shadow.z, step.z, forward);
    ApplyPatch(*model.sel, m_shadow.sel, step.sel, forward);
    ApplyPatch(*model.from, m_shadow.from, step.from, forward);
    ApplyPatch(*model.to, m_shadow.to, step.to, forward);
    ApplyPatch(*model.face, m_shadow.face, step.face, forward);
    if (model.dup) model.dup->resize(model.x->size(), -1);
    if (model.used) model.used->resize(model.from->size(), 0);
}
