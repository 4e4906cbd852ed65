// Helpers shared by the model tests: fresh documents, hand-built models, snapshots.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/archive.h"
#include "framework/view.h"
#include "model/polydrom_doc.h"

// The limit the model tests give their documents, so that a full model costs kilobytes.
constexpr int kTestCapacity = 10000;
inline void SmallLimits(CPolydromDoc& doc) { doc.m_limits = {kTestCapacity, kTestCapacity, kTestCapacity}; }

// The state of a view looking along an axis (0 X, 1 Y, 2 Z) with its cursor at a point.
inline ViewState Looking(int axis, float cx = 0.0f, float cy = 0.0f, float cz = 0.0f, float zoom = 1.0f)
{
    ViewState view;
    view.axis = axis == 0 ? ViewAxis::X : axis == 1 ? ViewAxis::Y : ViewAxis::Z;
    view.cursor[0] = cx;
    view.cursor[1] = cy;
    view.cursor[2] = cz;
    view.zoom = zoom;
    return view;
}

// A document command as a test gives it: handed a view's state when it takes one.
class DocCommand {
public:
    DocCommand(void (CPolydromDoc::*plain)()) : m_plain(plain) {}
    DocCommand(void (CPolydromDoc::*withView)(const ViewState&)) : m_withView(withView) {}
    void Run(CPolydromDoc& doc, const ViewState& view = {}) const
    {
        if (m_plain) (doc.*m_plain)();
        else (doc.*m_withView)(view);
    }

private:
    void (CPolydromDoc::*m_plain)() = nullptr;
    void (CPolydromDoc::*m_withView)(const ViewState&) = nullptr;
};

inline std::unique_ptr<CPolydromDoc> NewDoc()
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    SmallLimits(*doc);
    return doc;
}

// Appends an unselected vertex and returns its index.
inline int Vertex(CPolydromDoc& doc, float x, float y = 0.0f, float z = 0.0f, int sel = 0)
{
    const int v = doc.GetVertexCount();
    doc.m_x.push_back(x);
    doc.m_y.push_back(y);
    doc.m_z.push_back(z);
    doc.m_sel.push_back(sel);
    doc.m_dup.push_back(-1);
    return v;
}

inline void Edges(CPolydromDoc& doc, std::initializer_list<std::pair<int, int>> edges)
{
    for (auto [from, to] : edges) {
        doc.m_edgeFrom.push_back(from);
        doc.m_edgeTo.push_back(to);
        doc.m_edgeUsed.push_back(0);
    }
}

// A model written as "x y z sel|x y z sel;from-to from-to", numbers in their shortest
// exact form ("-0" included), so that a whole model fits in a table cell and differs
// from another exactly when their bits do.
inline std::unique_ptr<CPolydromDoc> ModelFrom(const std::string& text)
{
    auto doc = NewDoc();
    const auto semicolon = text.find(';');
    // Without a ';' there are no edges (not the vertex text read again as edges).
    std::istringstream vertices(text.substr(0, semicolon)),
        edges(semicolon == std::string::npos ? std::string() : text.substr(semicolon + 1));
    for (std::string v; std::getline(vertices, v, '|');) {
        std::istringstream words(v);
        std::string x, y, z;
        int sel = 0;
        words >> x >> y >> z >> sel;
        float f[3];
        for (int k = 0; k < 3; ++k) {
            const std::string& w = k == 0 ? x : k == 1 ? y : z;
            std::from_chars(w.data(), w.data() + w.size(), f[k]);
        }
        Vertex(*doc, f[0], f[1], f[2], sel);
    }
    for (std::string e; edges >> e;) {
        const auto dash = e.find('-', 1);
        Edges(*doc, {{std::stoi(e.substr(0, dash)), std::stoi(e.substr(dash + 1))}});
    }
    return doc;
}

inline std::string ModelText(const CPolydromDoc& doc)
{
    auto num = [](float value) {
        char buffer[32];
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    };
    std::string text;
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        text += (i ? "|" : "") + num(doc.m_x[i]) + " " + num(doc.m_y[i]) + " " + num(doc.m_z[i]) + " " +
                std::to_string(doc.m_sel[i]);
    text += ";";
    for (int j = 0; j < doc.GetEdgeCount(); ++j)
        text += (j ? " " : "") + std::to_string(doc.m_edgeFrom[j]) + "-" + std::to_string(doc.m_edgeTo[j]);
    return text;
}

inline std::vector<int> Selection(const CPolydromDoc& doc)
{
    return std::vector<int>(doc.m_sel.begin(), doc.m_sel.end());
}

// The model file's bytes for the document as it stands.
inline std::vector<unsigned char> SavedBytes(CPolydromDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.Bytes();
}

// Every member of the model as raw bytes, so that -0 and 0 differ and nothing outside
// the file format escapes the comparison.
inline std::vector<unsigned char> Snapshot(const CPolydromDoc& doc)
{
    std::vector<unsigned char> bytes;
    auto add = [&](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        bytes.insert(bytes.end(), b, b + n);
    };
    auto array = [&](const auto& v) {
        const std::uint64_t size = v.size();
        add(&size, sizeof size);
        add(v.data(), v.size() * sizeof v[0]);
    };
    array(doc.m_x);
    array(doc.m_y);
    array(doc.m_z);
    array(doc.m_sel);
    array(doc.m_dup);
    array(doc.m_edgeFrom);
    array(doc.m_edgeTo);
    array(doc.m_edgeUsed);
    array(doc.m_face);
    add(&doc.m_nResolution, sizeof doc.m_nResolution);
    add(&doc.m_step, sizeof doc.m_step);
    return bytes;
}

inline std::uint32_t Bits(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// A view that only counts how often the document asked it to repaint.
class CountingView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, long, void*) override { ++updates; }
    int updates = 0;
};
