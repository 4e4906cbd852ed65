// Plain, slow renditions of Select All Connected and Un-connect, pass for pass as the
// commands are defined; the fast document versions are checked and timed against them.
#pragma once

#include "model/polydrom_doc.h"

// As many passes over all edges as there are edges; every pass pushes the selection
// across each edge, from the first endpoint to the second and then back, testing afresh.
inline void ReferenceSelectConnected(CPolydromDoc& doc)
{
    for (int pass = 0; pass < doc.GetEdgeCount(); ++pass) {
        for (int j = 0; j < doc.GetEdgeCount(); ++j) {
            if (doc.m_sel[doc.m_edgeFrom[j]] == 1) doc.m_sel[doc.m_edgeTo[j]] = 1;
            if (doc.m_sel[doc.m_edgeTo[j]] == 1) doc.m_sel[doc.m_edgeFrom[j]] = 1;
        }
    }
}

// Marks the edges of every selected vertex by scanning all edges per vertex, packs the
// unmarked edges, then packs the unselected vertices, renumbering each survivor's
// endpoints by scanning all remaining edges once per surviving vertex.
inline void ReferenceUnconnect(CPolydromDoc& doc)
{
    for (int j = 0; j < doc.GetEdgeCount(); ++j) doc.m_edgeUsed[j] = 0;
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        if (doc.m_sel[i] != 1) continue;
        for (int j = 0; j < doc.GetEdgeCount(); ++j)
            if (doc.m_edgeTo[j] == i || doc.m_edgeFrom[j] == i) doc.m_edgeUsed[j] = 1;
    }

    int k = 0;
    for (int j = 0; j < doc.GetEdgeCount(); ++j) {
        if (doc.m_edgeUsed[j] != 0) continue;
        doc.m_edgeFrom[k] = doc.m_edgeFrom[j];
        doc.m_edgeTo[k] = doc.m_edgeTo[j];
        doc.m_edgeUsed[k] = doc.m_edgeUsed[j];
        ++k;
    }
    doc.ResizeModel(doc.GetVertexCount(), k, doc.GetFaceCount());

    k = 0;
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        if (doc.m_sel[i] != 0) continue;
        doc.m_sel[k] = 0;
        doc.m_x[k] = doc.m_x[i];
        doc.m_y[k] = doc.m_y[i];
        doc.m_z[k] = doc.m_z[i];
        for (int j = 0; j < doc.GetEdgeCount(); ++j) {
            if (doc.m_edgeFrom[j] == i) doc.m_edgeFrom[j] = k;
            if (doc.m_edgeTo[j] == i) doc.m_edgeTo[j] = k;
        }
        ++k;
    }
    doc.ResizeModel(k, doc.GetEdgeCount(), doc.GetFaceCount());
}
