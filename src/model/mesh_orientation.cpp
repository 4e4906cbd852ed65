// Winding the exported faces consistently: a walk over each piece across shared sides,
// then closed parts turned to a positive signed volume.
#include "model/mesh_orientation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace {

// One face's side from corner k to corner k + 1, and which way it runs.
struct Occurrence {
    std::uint64_t side;  // the unordered pair of point numbers
    int face;
    int slot;      // k: which of the face's three sides
    bool forward;  // from the lower point number to the higher one
};

class Orienter {
public:
    Orienter(std::span<const MeshPoint> points, std::span<const TriangleCorners> faces)
        : m_points(points), m_faces(faces), m_count(faces.size())
    {
    }

    MeshPieces Run()
    {
        IndexSides();
        Walk();
        CheckClosedParts();
        TurnClosedPartsOutwards();
        MeshPieces pieces;
        std::vector<int> parts(m_pieces, 0), openParts(m_pieces, 0);
        for (std::size_t part = 0; part < m_partPiece.size(); ++part) {
            ++parts[static_cast<std::size_t>(m_partPiece[part])];
            if (!m_partClosed[part]) ++openParts[static_cast<std::size_t>(m_partPiece[part])];
        }
        for (std::size_t p = 0; p < parts.size(); ++p)
            ++(parts[p] == 1 && openParts[p] == 0 ? pieces.closed : pieces.open);
        return pieces;
    }

    // Whether face f is to be written with its second and third corners swapped.
    bool Flipped(std::size_t f) const { return m_flip[f] != 0; }
    int PieceOf(std::size_t f) const { return m_partPiece[static_cast<std::size_t>(m_part[f])]; }

private:
    static std::int32_t Corner(const TriangleCorners& t, int k)
    {
        return k == 0 ? t.first : k == 1 ? t.second : t.third;
    }

    void IndexSides()
    {
        // Grouped by side in the order of their keys; within a side, in face order, so the
        // walk does not depend on the sort. A counting sort by the lower point does most of
        // it in one pass; each point's few sides are then put in order in place.
        std::vector<std::size_t> start(m_points.size() + 1, 0);
        auto low = [&](std::size_t f, int k) {
            return static_cast<std::size_t>(std::min(Corner(m_faces[f], k), Corner(m_faces[f], (k + 1) % 3)));
        };
        for (std::size_t f = 0; f < m_count; ++f)
            for (int k = 0; k < 3; ++k) ++start[low(f, k) + 1];
        for (std::size_t p = 0; p + 1 < start.size(); ++p) start[p + 1] += start[p];
        m_occurrences.resize(3 * m_count);
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t f = 0; f < m_count; ++f)
            for (int k = 0; k < 3; ++k) {
                const auto a = static_cast<std::uint32_t>(Corner(m_faces[f], k));
                const auto b = static_cast<std::uint32_t>(Corner(m_faces[f], (k + 1) % 3));
                const std::uint64_t side = std::uint64_t{std::min(a, b)} << 32 | std::max(a, b);
                m_occurrences[next[low(f, k)]++] = {side, static_cast<int>(f), k, a < b};
            }
        // Within a point the occurrences came in face order; a stable sort by side keeps it
        // (by insertion for a point's usual handful, which allocates nothing).
        auto bySide = [](const Occurrence& x, const Occurrence& y) { return x.side < y.side; };
        for (std::size_t p = 0; p + 1 < start.size(); ++p) {
            const auto first = m_occurrences.begin() + static_cast<std::ptrdiff_t>(start[p]);
            const auto last = m_occurrences.begin() + static_cast<std::ptrdiff_t>(start[p + 1]);
            if (last - first > 16) {
                std::stable_sort(first, last, bySide);
                continue;
            }
            for (auto it = first; it != last; ++it)
                for (auto at = it; at != first && bySide(*at, *(at - 1)); --at) std::iter_swap(at, at - 1);
        }
        m_at.assign(3 * m_count, 0);
        m_groupOf.assign(m_occurrences.size(), 0);
        for (std::size_t j = 0; j < m_occurrences.size(); ++j) {
            if (j == 0 || m_occurrences[j].side != m_occurrences[j - 1].side)
                m_groupStart.push_back(static_cast<int>(j));
            const Occurrence& o = m_occurrences[j];
            m_at[3 * static_cast<std::size_t>(o.face) + static_cast<std::size_t>(o.slot)] = j;
            m_groupOf[j] = static_cast<int>(m_groupStart.size()) - 1;
        }
        m_groupStart.push_back(static_cast<int>(m_occurrences.size()));
        m_groupNext.assign(m_groupStart.begin(), m_groupStart.end() - 1);
        m_groupWaiting.assign(m_groupNext.size(), 0);
    }

    bool Runs(const Occurrence& o) const { return o.forward != (m_flip[static_cast<std::size_t>(o.face)] != 0); }

    // Face `to` reached from `from` across a shared side: it crosses the side the other way.
    void Reach(const Occurrence& to, const Occurrence& from, int part)
    {
        const auto f = static_cast<std::size_t>(to.face);
        m_flip[f] = to.forward == Runs(from) ? 1 : 0;
        m_part[f] = part;
        m_manifoldQueue.push_back(to.face);
    }

    int NewPart(int piece)
    {
        m_partPiece.push_back(piece);
        return static_cast<int>(m_partPiece.size()) - 1;
    }

    // Sides of exactly two faces are crossed first, so that a part bounded by sides of
    // three or more faces is wound from within; such a side is crossed only to reach a
    // face nothing else reaches, from the face that first came to it, and each crossing
    // starts a new part.
    void Walk()
    {
        m_flip.assign(m_count, 0);
        m_part.assign(m_count, -1);
        for (std::size_t seed = 0; seed < m_count; ++seed) {
            if (m_part[seed] >= 0) continue;
            const int piece = m_pieces++;
            m_part[seed] = NewPart(piece);
            m_manifoldQueue.push_back(static_cast<int>(seed));
            for (;;) {
                while (!m_manifoldQueue.empty()) {
                    const auto f = static_cast<std::size_t>(m_manifoldQueue.front());
                    m_manifoldQueue.pop_front();
                    for (std::size_t k = 0; k < 3; ++k) Cross(m_at[3 * f + k]);
                }
                const Occurrence* next = nullptr;
                while (!next && !m_crossings.empty()) {
                    const auto [group, from] = m_crossings.front();
                    next = Unreached(group);
                    if (next) {
                        Reach(*next, m_occurrences[from], NewPart(piece));
                        m_crossings.push_back(m_crossings.front());  // the side may lead to more faces
                    }
                    m_crossings.pop_front();
                }
                if (!next) break;
            }
        }
    }

    // The walk at one side of a face it has reached (occurrence `here`).
    void Cross(std::size_t here)
    {
        const auto group = static_cast<std::size_t>(m_groupOf[here]);
        const int size = m_groupStart[group + 1] - m_groupStart[group];
        if (size == 2) {
            const std::size_t other = here == static_cast<std::size_t>(m_groupStart[group]) ? here + 1 : here - 1;
            const auto from = static_cast<std::size_t>(m_occurrences[here].face);
            if (m_part[static_cast<std::size_t>(m_occurrences[other].face)] < 0)
                Reach(m_occurrences[other], m_occurrences[here], m_part[from]);
        } else if (size > 2 && !m_groupWaiting[group]) {
            m_groupWaiting[group] = 1;
            m_crossings.emplace_back(group, here);
        }
    }

    // The side's first face the walk has not reached, or nothing; each face is passed over once.
    const Occurrence* Unreached(std::size_t group)
    {
        int& next = m_groupNext[group];
        while (next < m_groupStart[group + 1] &&
               m_part[static_cast<std::size_t>(m_occurrences[static_cast<std::size_t>(next)].face)] >= 0)
            ++next;
        return next < m_groupStart[group + 1] ? &m_occurrences[static_cast<std::size_t>(next)] : nullptr;
    }

    // A part is closed when each of its faces' sides belongs to exactly two of its faces,
    // crossed in opposite directions.
    void CheckClosedParts()
    {
        m_partClosed.assign(m_partPiece.size(), 1);
        std::vector<const Occurrence*> side;
        for (std::size_t g = 0; g + 1 < m_groupStart.size(); ++g) {
            side.clear();
            for (int j = m_groupStart[g]; j < m_groupStart[g + 1]; ++j)
                side.push_back(&m_occurrences[static_cast<std::size_t>(j)]);
            auto partOf = [&](const Occurrence* o) { return m_part[static_cast<std::size_t>(o->face)]; };
            std::stable_sort(side.begin(), side.end(), [&](auto* x, auto* y) { return partOf(x) < partOf(y); });
            for (std::size_t j = 0; j < side.size();) {
                std::size_t run = j + 1;
                while (run < side.size() && partOf(side[run]) == partOf(side[j])) ++run;
                if (run - j != 2 || Runs(*side[j]) == Runs(*side[j + 1]))
                    m_partClosed[static_cast<std::size_t>(partOf(side[j]))] = 0;
                j = run;
            }
        }
    }

    void TurnClosedPartsOutwards()
    {
        // Six times the signed volume, from a corner of the part's first face so that the
        // products stay near the part's own size.
        std::vector<double> volume(m_partPiece.size(), 0.0);
        std::vector<const MeshPoint*> origin(m_partPiece.size(), nullptr);
        for (std::size_t f = 0; f < m_count; ++f) {
            const auto part = static_cast<std::size_t>(m_part[f]);
            if (!m_partClosed[part]) continue;
            const TriangleCorners& t = m_faces[f];
            const MeshPoint& a = m_points[static_cast<std::size_t>(t.first)];
            const MeshPoint& b = m_points[static_cast<std::size_t>(m_flip[f] ? t.third : t.second)];
            const MeshPoint& c = m_points[static_cast<std::size_t>(m_flip[f] ? t.second : t.third)];
            if (!origin[part]) origin[part] = &a;
            const MeshPoint& o = *origin[part];
            const double ax = double(a.x) - o.x, ay = double(a.y) - o.y, az = double(a.z) - o.z;
            const double bx = double(b.x) - o.x, by = double(b.y) - o.y, bz = double(b.z) - o.z;
            const double cx = double(c.x) - o.x, cy = double(c.y) - o.y, cz = double(c.z) - o.z;
            volume[part] += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx);
        }
        for (std::size_t f = 0; f < m_count; ++f)
            if (volume[static_cast<std::size_t>(m_part[f])] < 0.0) m_flip[f] ^= 1;
    }

    std::span<const MeshPoint> m_points;
    std::span<const TriangleCorners> m_faces;
    std::size_t m_count;
    std::vector<Occurrence> m_occurrences;  // three per face, grouped by side
    std::vector<std::size_t> m_at;          // 3 * face + slot -> its occurrence
    std::vector<int> m_groupOf;             // occurrence -> its side
    std::vector<int> m_groupStart;          // side -> first occurrence, plus the end
    std::vector<int> m_groupNext;           // side -> first occurrence that may be unreached
    std::vector<char> m_groupWaiting;       // side -> already among the crossings
    std::vector<char> m_flip;
    std::vector<int> m_part;        // face -> part, -1 until the walk reaches it
    std::vector<int> m_partPiece;   // part -> piece
    std::vector<char> m_partClosed;
    int m_pieces = 0;
    std::deque<int> m_manifoldQueue;
    std::deque<std::pair<std::size_t, std::size_t>> m_crossings;  // (side, occurrence it was first reached at)
};

}  // namespace

MeshPieces OrientFaces(std::span<const MeshPoint> points, std::span<TriangleCorners> faces, std::vector<int>* pieceOf)
{
    Orienter orienter(points, faces);
    const MeshPieces pieces = orienter.Run();
    for (std::size_t f = 0; f < faces.size(); ++f)
        if (orienter.Flipped(f)) std::swap(faces[f].second, faces[f].third);
    if (pieceOf) {
        pieceOf->resize(faces.size());
        for (std::size_t f = 0; f < faces.size(); ++f) (*pieceOf)[f] = orienter.PieceOf(f);
    }
    return pieces;
}

MeshPieces CountPieces(std::span<const MeshPoint> points, std::span<const TriangleCorners> faces)
{
    return Orienter(points, faces).Run();
}
