// Snapshot, bytes and check of the recovery copy.
#include "model/recovery_copy.h"

#include <memory>

#include "framework/archive.h"
#include "model/polydrom_doc.h"

void TakeSnapshot(const CPolydromDoc& doc, ModelSnapshot* snapshot)
{
    snapshot->vertices = doc.GetVertexCount();
    snapshot->edges = doc.GetEdgeCount();
    snapshot->faces = doc.GetFaceCount();
    snapshot->x = doc.m_x;
    snapshot->y = doc.m_y;
    snapshot->z = doc.m_z;
    snapshot->sel = doc.m_sel;
    snapshot->from = doc.m_edgeFrom;
    snapshot->to = doc.m_edgeTo;
    snapshot->face = doc.m_face;
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
