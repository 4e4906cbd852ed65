// Fuzz target of a whole editing session: a model file, then a program of commands,
// clicks, cursor placements, view sizes, fits, renders and exports, run as batch mode
// runs them. After every step the model must be one a file may hold (no coordinate that
// is not finite); at the end undo must lead back to the start and redo forward again,
// and saving and reopening must give the same model.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "framework/archive.h"
#include "framework/digit_font.h"
#include "framework/raster_dc.h"
#include "fuzz_support.h"
#include "model/mesh_export.h"
#include "view/polydrom_view.h"

namespace {

// The window a headless view lives in, as in batch mode.
class FuzzViewHost : public CViewHost {
public:
    CRect GetClientRect() const override { return m_client; }
    void Invalidate() override {}
    CRect m_client{0, 0, 800, 600};
};

// The commands of the view and the document. The shell's need a window; Export POVFILE
// writes into the current folder, so exports go through the export step instead.
const std::vector<unsigned>& SessionCommands()
{
    static const std::vector<unsigned> ids = [] {
        std::vector<unsigned> list;
        for (const CommandEntry& entry : CommandTable())
            if ((entry.viewHandler || entry.docHandler) && entry.id != ID_FILE_EXPORT_POV) list.push_back(entry.id);
        return list;
    }();
    return ids;
}

// Renders and exports cost far more than the other steps; a few per input find as much.
constexpr int kMaxRenders = 2;
constexpr int kMaxExports = 1;
// The view's sides go as far as batch mode's; a render draws the top-left part of the
// view on a canvas of at most kMaxCanvas a side, so most lines are clipped.
constexpr int kMaxSide = 8192;
constexpr int kMaxCanvas = 512;

class Session {
public:
    Session()
    {
        m_view.SetHost(&m_host);
        m_doc->AddView(&m_view);
    }

    // Opens the model at the front of the input; what follows it is the program. Input
    // that is no model is all program, on a new model.
    std::span<const std::uint8_t> Open(std::span<const std::uint8_t> input)
    {
        try {
            CArchive ar(input);
            m_doc->Serialize(ar);
            return input.subspan(std::min(input.size(), FileContent(*m_doc).size()));
        } catch (const CArchiveException&) {
            m_doc->OnNewDocument();
            return input;
        }
    }

    void Step(InputReader& in)
    {
        const CommandTargets targets{&m_view, m_doc.get(), nullptr};
        switch (in.Byte() % 8) {
        case 0:
        case 1: {
            const std::vector<unsigned>& ids = SessionCommands();
            const unsigned id = ids[in.Byte() % ids.size()];
            // Repeats reach a full model, where every command must refuse cleanly.
            const int times = 1 + (in.Byte() % 4 == 0 ? in.Byte() % 32 : 0);
            for (int k = 0; k < times; ++k) FUZZ_CHECK(RouteCommand(id, targets).handled);
            break;
        }
        case 2: {
            // Pixels anywhere batch mode allows, mostly near the window.
            const int scale = in.Byte() % 8 == 0 ? 1 << 14 : 1;
            CPoint point{static_cast<std::int16_t>(in.Word()) * scale, static_cast<std::int16_t>(in.Word()) * scale};
            const unsigned flags = MK_LBUTTON | (in.Byte() % 2 ? MK_RBUTTON : 0u);
            RouteClick(targets, flags, point);
            break;
        }
        case 3:
            m_host.m_client = CRect{0, 0, 1 + in.Word() % kMaxSide, 1 + in.Word() % kMaxSide};
            break;
        case 4: {
            // Any finite point, as --cursor takes it; batch mode refuses the others.
            const float x = in.Float(), y = in.Float(), z = in.Float();
            if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) break;
            m_view.m_cursorX = x;
            m_view.m_cursorY = y;
            m_view.m_cursorZ = z;
            m_doc->SetCursorAndAxis(x, y, z, m_view.m_axisX, m_view.m_axisY, m_view.m_axisZ);
            break;
        }
        case 5: m_view.FitModel(); break;
        case 6:
            if (m_renders++ < kMaxRenders) {
                CRasterDC dc(std::min(m_host.m_client.right, kMaxCanvas), std::min(m_host.m_client.bottom, kMaxCanvas));
                dc.SetTextRenderer(DrawDigitText);
                m_view.OnDraw(&dc);
            }
            break;
        case 7:
            if (m_exports++ < kMaxExports) {
                static const ScratchFile target("export");
                const auto formats = MeshFormats();
                m_doc->ExportMesh(target.Path(), formats[in.Byte() % formats.size()].format);
            }
            break;
        }
        CheckModelInvariants(*m_doc);
        for (float value : {m_view.m_zoom, m_view.m_panX, m_view.m_panY, m_view.m_panZ, m_view.m_cursorX,
                            m_view.m_cursorY, m_view.m_cursorZ})
            FUZZ_CHECK(std::isfinite(value));
        FUZZ_CHECK(m_view.m_zoom > 0);
    }

    CPolydromDoc& Doc() { return *m_doc; }

private:
    std::unique_ptr<CPolydromDoc> m_doc = std::make_unique<CPolydromDoc>();
    FuzzViewHost m_host;
    CPolydromView m_view;
    int m_renders = 0, m_exports = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Session session;
    CPolydromDoc& doc = session.Doc();
    InputReader program(session.Open({data, size}));
    CheckModelInvariants(doc);
    const std::vector<std::uint8_t> start = FileContent(doc);
    for (int steps = 0; !program.Done() && steps < 400; ++steps) session.Step(program);
    const std::vector<std::uint8_t> end = FileContent(doc);

    // Undo goes back to the model as opened (unless the history had to forget its oldest
    // steps), and redo forward to the model as edited.
    int undone = 0;
    while (doc.History().CanUndo()) {
        doc.OnEditUndo();
        CheckModelInvariants(doc);
        ++undone;
    }
    if (doc.History().IsAtSavePoint()) FUZZ_CHECK(FileContent(doc) == start);
    for (int k = 0; k < undone; ++k) doc.OnEditRedo();
    FUZZ_CHECK(FileContent(doc) == end);

    // The edited model saves, and opens again as the same model (in a document kept
    // from one input to the next: opening replaces all a file holds).
    static const ScratchFile file("session.pdm");
    static const auto reopened = std::make_unique<CPolydromDoc>();
    const Result saved = doc.OnSaveDocument(file.Path());
    FUZZ_CHECK(saved.ok);
    FUZZ_CHECK(reopened->OnOpenDocument(file.Path()).ok);
    FUZZ_CHECK(FileContent(*reopened) == end);
    return 0;
}
