// A document and a headless view on a client area of a chosen size, for view tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/recording_dc.h"
#include "model/model_fixtures.h"
#include "view/polydrom_view.h"

class TestHost : public CViewHost {
public:
    CRect GetClientRect() const override { return client; }
    void Invalidate() override { ++repaints; }
    CRect client{0, 0, 800, 600};
    int repaints = 0;
};

struct Scene {
    explicit Scene(int width = 800, int height = 600)
    {
        host.client = CRect{0, 0, width, height};
        doc->OnNewDocument();
        view.SetHost(&host);
        doc->AddView(&view);
    }

    int Vertex(float x, float y, float z, int sel = 0) { return ::Vertex(*doc, x, y, z, sel); }
    void Edge(int from, int to) { Edges(*doc, {{from, to}}); }

    CRecordingDC Paint()
    {
        CRecordingDC dc;
        view.OnDraw(&dc);
        return dc;
    }

    // The lines of the main area's edge pass: everything drawn without a clip, less the
    // crosshair before it (4 lines with the move tool off) and the vertex crosses after.
    std::vector<std::string> EdgeLines()
    {
        const CRecordingDC dc = Paint();
        std::vector<std::string> unclipped;
        for (const std::string& line : dc.Lines())
            if (line.find("clip=") == std::string::npos) unclipped.push_back(line);
        const std::size_t crosses = 2 * static_cast<std::size_t>(doc->GetVertexCount());
        return {unclipped.begin() + 4, unclipped.end() - static_cast<std::ptrdiff_t>(crosses)};
    }

    std::unique_ptr<CPolydromDoc> doc = std::make_unique<CPolydromDoc>();
    TestHost host;
    CPolydromView view;
};
