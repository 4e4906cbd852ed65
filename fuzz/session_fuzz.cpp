// Fuzz target of a whole editing session: a model file, then a program of commands,
// clicks, cursor placements, typed edits, box selections, wheel turns, view sizes, fits,
// renders and exports, run as batch mode runs them. After every step the model must be
// one a file may hold (no coordinate that is not finite); at the end undo must lead back
// to the start and redo forward again, and saving and reopening must give the same model.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/precise_edits.h"
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
        switch (in.Byte() % 11) {
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
            const CPoint point = Pixel(in);
            const unsigned flags = MK_LBUTTON | (in.Byte() % 2 ? MK_RBUTTON : 0u);
            RouteClick(targets, flags, point);
            break;
        }
        case 3: {
            const int width = 1 + in.Word() % kMaxSide;
            m_host.m_client = CRect{0, 0, width, 1 + in.Word() % kMaxSide};
            break;
        }
        case 4: {
            // Any finite point, as --cursor takes it; batch mode refuses the others.
            const float x = in.Float(), y = in.Float(), z = in.Float();
            if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) m_view.SetCursor(x, y, z);
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
                const std::vector<std::uint8_t> model = FileContent(*m_doc);
                const MeshExportResult exported =
                    m_doc->ExportMesh(target.Path(), formats[in.Byte() % formats.size()].format);
                // Written, or refused (a mesh2 needs a triangle), the model stays as it is.
                FUZZ_CHECK(exported.ok ? exported.triangles >= 0 : !exported.error.empty());
                FUZZ_CHECK(FileContent(*m_doc) == model);
            }
            break;
        case 8: {
            // Any finite numbers, as the dialogs and --move-by and the like take them.
            const TypedEditInfo& info = TypedEdits()[in.Byte() % TypedEdits().size()];
            double values[3];
            bool finite = true;
            for (int k = 0; k < info.valueCount; ++k) finite = std::isfinite(values[k] = in.Double()) && finite;
            if (finite) RunTypedEdit(*m_doc, m_view.m_state, info.edit, {values, static_cast<std::size_t>(info.valueCount)});
            break;
        }
        case 9: {
            const CPoint a = Pixel(in), b = Pixel(in);
            const SelectionChange changes[] = {SelectionChange::Replace, SelectionChange::Add, SelectionChange::Remove};
            RunBoxSelection(m_view, a, b, changes[in.Byte() % 3]);
            break;
        }
        case 10: {
            const CPoint pointer = Pixel(in);
            m_view.ZoomAbout(pointer, static_cast<std::int8_t>(in.Byte()) / 2);  // -64 to 63, as --wheel allows
            break;
        }
        }
        CheckModelInvariants(*m_doc);
        const ViewState& view = m_view.m_state;
        for (float value : {view.zoom, view.pan[0], view.pan[1], view.pan[2], view.cursor[0], view.cursor[1],
                            view.cursor[2]})
            FUZZ_CHECK(std::isfinite(value));
        FUZZ_CHECK(view.zoom > 0);
    }

    CPolydromDoc& Doc() { return *m_doc; }

private:
    // A pixel anywhere batch mode allows (up to 2^30 away), mostly near the window.
    static CPoint Pixel(InputReader& in)
    {
        const int scale = in.Byte() % 8 == 0 ? 1 << 14 : 1;
        const int x = static_cast<std::int16_t>(in.Word()) * scale;
        return CPoint{x, static_cast<std::int16_t>(in.Word()) * scale};
    }

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
