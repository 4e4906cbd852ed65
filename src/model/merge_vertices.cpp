// Merge Vertices: selected vertices within a distance of each other become one. It mends
// imports that came with split vertices, models built before Connect stopped storing an
// edge twice, and the hair-wide gaps between shapes whose coordinates differ in the last
// digits.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <new>
#include <numeric>
#include <utility>
#include <vector>

#include "framework/float_text.h"
#include "model/mesh_topology.h"
#include "model/polydrom_doc.h"

namespace {

// 32-bit cells keep a million vertices' sort in half the memory.
using Cell = std::array<std::int32_t, 3>;

// Cells in order of X, then Y, then Z, compared without the library's call to memcmp, which
// took a quarter of the time of a million vertices' search.
bool Before(const Cell& a, const Cell& b)
{
    return a[0] != b[0] ? a[0] < b[0] : a[1] != b[1] ? a[1] < b[1] : a[2] < b[2];
}

// The grid cell of a coordinate: cells as wide as the distance, so that vertices within
// it of each other lie in the same or neighbouring cells. With a distance of 0 the cell
// is the value itself (+0 and -0 alike). Far-off cells are clamped together, which costs
// only a few more comparisons for an absurd model (clamping moves no two cells apart), and
// leaves room for the neighbours' numbers.
std::int32_t CellOf(float value, double distance)
{
    if (distance == 0.0) return value == 0.0f ? 0 : std::bit_cast<std::int32_t>(value);
    const double cell = std::floor(double(value) / distance);
    constexpr double kFar = 2147483645.0;
    return static_cast<std::int32_t>(std::clamp(cell, -kFar, kFar));
}

// Vertices merge with the lowest vertex of their group, whose position the group takes.
class Groups {
public:
    explicit Groups(std::size_t n) : m_parent(n) { std::iota(m_parent.begin(), m_parent.end(), 0); }
    std::int32_t Root(std::int32_t v)
    {
        while (m_parent[std::size_t(v)] != v) {
            m_parent[std::size_t(v)] = m_parent[std::size_t(m_parent[std::size_t(v)])];
            v = m_parent[std::size_t(v)];
        }
        return v;
    }
    void Join(std::int32_t a, std::int32_t b)
    {
        a = Root(a);
        b = Root(b);
        if (a != b) m_parent[std::size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<std::int32_t> m_parent;
};

}  // namespace

bool CPolydromDoc::MergeVertices(double distance)
{
    if (!std::isfinite(distance) || distance < 0.0 || distance > 3.0e38) {
        ReportRefusal("Merge Vertices refused: the distance must be a number of 0 or more.");
        return false;
    }
    const std::string shown = ShortestFloat(static_cast<float>(distance));
    try {
        const int n = GetVertexCount();
        struct Item {
            Cell cell;
            std::int32_t vertex;
        };
        std::vector<Item> items;
        // Sized once: grown by doubling, a million items would fill twice their memory.
        items.reserve(static_cast<std::size_t>(std::count(m_sel.begin(), m_sel.end(), 1)));
        for (int i = 0; i < n; ++i)
            if (m_sel[i] == 1)
                items.push_back({{CellOf(m_x[i], distance), CellOf(m_y[i], distance), CellOf(m_z[i], distance)}, i});
        std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
            return Before(a.cell, b.cell) || (!Before(b.cell, a.cell) && a.vertex < b.vertex);
        });

        // A sweep over the sorted cells: for each of the nine neighbouring columns (X and Y
        // one cell apart or less) a cursor moves only forwards, so the search is linear.
        Groups groups(static_cast<std::size_t>(n));
        const std::int32_t reach = distance == 0.0 ? 0 : 1;
        const double limit = distance * distance;
        std::vector<std::size_t> cursor(9, 0);
        for (const Item& item : items) {
            const Cell& c = item.cell;
            const std::int32_t v = item.vertex;
            int column = 0;
            for (std::int32_t dx = -reach; dx <= reach; ++dx)
                for (std::int32_t dy = -reach; dy <= reach; ++dy, ++column) {
                    const Cell low{c[0] + dx, c[1] + dy, c[2] - reach}, high{c[0] + dx, c[1] + dy, c[2] + reach};
                    std::size_t& k = cursor[static_cast<std::size_t>(column)];
                    while (k < items.size() && Before(items[k].cell, low)) ++k;
                    for (std::size_t j = k; j < items.size() && !Before(high, items[j].cell); ++j) {
                        const std::int32_t w = items[j].vertex;
                        if (w <= v) continue;  // each pair once
                        const double ex = double(m_x[w]) - m_x[v], ey = double(m_y[w]) - m_y[v],
                                     ez = double(m_z[w]) - m_z[v];
                        if (ex * ex + ey * ey + ez * ez <= limit) groups.Join(v, w);
                    }
                }
        }
        std::vector<std::int32_t> target(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) target[std::size_t(i)] = groups.Root(i);
        return MergeInto(target, shown);
    } catch (const std::bad_alloc&) {
        ReportRefusal("Merge Vertices refused: there is not enough memory.");
        return false;
    }
}

bool CPolydromDoc::MergeInto(const std::vector<std::int32_t>& target, const std::string& distance)
{
    const auto n = static_cast<std::size_t>(GetVertexCount());
    std::vector<std::int32_t> size(n, 0);
    for (std::size_t v = 0; v < n; ++v) ++size[std::size_t(target[v])];
    std::size_t merged = 0, into = 0;
    for (std::size_t v = 0; v < n; ++v) {
        into += size[v] > 1;
        merged += size[std::size_t(target[v])] > 1;
    }
    if (into == 0) {
        ReportInfo("None of the selected vertices are within " + distance + " of another");
        return false;
    }

    // The survivors keep their order; the others take their group's number.
    std::vector<std::int32_t> newIndex(n);
    std::int32_t kept = 0;
    for (std::size_t v = 0; v < n; ++v)
        if (target[v] == std::int32_t(v)) newIndex[v] = kept++;
    for (std::size_t v = 0; v < n; ++v) newIndex[v] = newIndex[std::size_t(target[v])];

    // Everything is built before anything changes, so running out of memory leaves the model.
    LoadedModel out;
    auto &x = out.x, &y = out.y, &z = out.z;
    auto &sel = out.sel, &from = out.from, &to = out.to, &faces = out.face;
    for (auto* a : {&x, &y, &z}) a->reserve(std::size_t(kept));
    sel.reserve(std::size_t(kept));
    for (std::size_t v = 0; v < n; ++v) {
        if (target[v] != std::int32_t(v)) continue;
        x.push_back(m_x[v]);
        y.push_back(m_y[v]);
        z.push_back(m_z[v]);
        sel.push_back(m_sel[v]);
    }
    // An edge that shrinks to a point goes, and so does one that now repeats an earlier
    // edge; both can only touch a merged vertex, so only those edges are compared.
    const std::size_t e = m_edgeFrom.size();
    std::vector<char> dropEdge(e, 0);
    std::vector<std::pair<std::uint64_t, std::size_t>> touched;
    for (std::size_t j = 0; j < e; ++j) {
        const std::int32_t a = newIndex[std::size_t(m_edgeFrom[j])], b = newIndex[std::size_t(m_edgeTo[j])];
        if (a == b) {
            dropEdge[j] = 1;
        } else if (size[std::size_t(target[std::size_t(m_edgeFrom[j])])] > 1 ||
                   size[std::size_t(target[std::size_t(m_edgeTo[j])])] > 1) {
            touched.emplace_back(std::uint64_t(std::uint32_t(std::min(a, b))) << 32 | std::uint32_t(std::max(a, b)), j);
        }
    }
    std::sort(touched.begin(), touched.end());
    for (std::size_t k = 1; k < touched.size(); ++k)
        if (touched[k].first == touched[k - 1].first) dropEdge[touched[k].second] = 1;
    const auto edgesLeft = std::size_t(std::count(dropEdge.begin(), dropEdge.end(), 0));
    from.reserve(edgesLeft);
    to.reserve(edgesLeft);
    for (std::size_t j = 0; j < e; ++j)
        if (!dropEdge[j]) {
            from.push_back(newIndex[std::size_t(m_edgeFrom[j])]);
            to.push_back(newIndex[std::size_t(m_edgeTo[j])]);
        }
    faces.reserve(m_face.size());
    for (const std::int32_t corner : m_face) faces.push_back(newIndex[std::size_t(corner)]);
    const std::vector<char> dropFace = RedundantFaces(std::size_t(kept), faces);
    std::size_t f = 0;
    for (std::size_t k = 0; k < dropFace.size(); ++k)
        if (!dropFace[k]) std::copy_n(&faces[3 * k], 3, &faces[3 * f++]);
    faces.resize(3 * f);
    out.dup.assign(std::size_t(kept), -1);
    out.used.assign(from.size(), 0);

    SwapArrays(out);
    UpdateAllViews(nullptr);
    ReportInfo("Merged " + std::to_string(merged) + " vertices into " + std::to_string(into));
    return true;
}
