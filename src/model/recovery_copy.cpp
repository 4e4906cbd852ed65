// Snapshot, bytes and check of the recovery copy.
#include "model/recovery_copy.h"

#include <memory>

#include "framework/archive.h"
#include "model/polydrom_doc.h"

void TakeSnapshot(const CPolydromDoc& doc, ModelSnapshot* snapshot)
{
    const auto n = static_cast<std::size_t>(doc.m_nVertices), e = static_cast<std::size_t>(doc.m_nEdges);
    snapshot->vertices = doc.m_nVertices;
    snapshot->edges = doc.m_nEdges;
    snapshot->x.assign(doc.m_x, doc.m_x + n);
    snapshot->y.assign(doc.m_y, doc.m_y + n);
    snapshot->z.assign(doc.m_z, doc.m_z + n);
    snapshot->sel.assign(doc.m_sel, doc.m_sel + n);
    snapshot->from.assign(doc.m_edgeFrom, doc.m_edgeFrom + e);
    snapshot->to.assign(doc.m_edgeTo, doc.m_edgeTo + e);
}

std::vector<unsigned char> SnapshotBytes(const ModelSnapshot& snapshot)
{
    CArchive ar;
    StoreModel(ar, snapshot.Arrays());
    return ar.Bytes();
}

Result CheckModelFile(const std::string& path)
{
    // The arrays live inside the document, too large for the stack.
    auto scratch = std::make_unique<CPolydromDoc>();
    return scratch->OnOpenDocument(path);
}
