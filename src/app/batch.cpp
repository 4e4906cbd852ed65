// Batch mode: the session a command line drives, its steps, and the text dump.
#include "app/batch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/povray_runner.h"
#include "app/precise_edits.h"
#include "app/typed_input.h"
#include "framework/digit_font.h"
#include "framework/float_text.h"
#include "framework/png_image.h"
#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"
#include "view/preview_scene.h"

namespace {

// "X Y Z": a point of the dump, each coordinate in the text that reads back exactly.
std::string Triple(float x, float y, float z)
{
    return ShortestFloat(x) + ' ' + ShortestFloat(y) + ' ' + ShortestFloat(z);
}

struct BatchError {
    std::string text;
};

// The framework's own commands, as far as they mean anything without a window.
class BatchShell : public CShellCommands {
public:
    explicit BatchShell(CPolydromDoc& doc) : m_doc(doc) {}
    void OnFileNew() override { m_doc.OnNewDocument(); }
    void OnFileOpen() override { Unavailable("open (give the file after --batch)"); }
    void OnFileSave() override
    {
        if (m_doc.GetPathName().empty()) Unavailable("file-save of an untitled model (use --save PATH)");
        if (Result saved = m_doc.OnSaveDocument(m_doc.GetPathName()); !saved) throw BatchError{saved.error};
    }
    void OnFileSaveAs() override { Unavailable("file-save-as (use --save PATH)"); }
    void OnFileExportAs() override { Unavailable("file-export-as (use --export PATH)"); }
    void OnFileExportPov() override { m_doc.OnFileExportPov(); }
    void OnFileImport() override { Unavailable("file-import (use --import PATH)"); }
    void OnFilePrint() override { Unavailable("printing"); }
    void OnFilePrintPreview() override { Unavailable("print preview"); }
    void OnFilePrintSetup() override { Unavailable("print setup"); }
    void OnFileMruFile(int) override { Unavailable("the recent-file list"); }
    void OnAppAbout() override { Unavailable("the About box"); }
    void OnAppExit() override {}
    void OnViewToolbar() override {}
    void OnViewDoToolbar() override {}
    void OnViewStatusBar() override {}
    void OnViewRenderPreview() override { Unavailable("the render preview (use --render-pov PATH.png)"); }
    void OnView3D() override { Unavailable("the 3-D view (use --render-3d PATH.png)"); }
    void OnHelpFinder() override { Unavailable("help"); }
    void OnHelp() override { Unavailable("help"); }
    void OnContextHelp() override { Unavailable("help"); }
    void OnDoAddVertexAt() override { Unavailable("the Add Vertex At dialog (use --add-vertex X,Y,Z)"); }
    void OnDoTransform() override { Unavailable("the Transform dialog (use --move-by, --rotate-by or --scale-by)"); }
    void OnDoSetCursor() override { Unavailable("the Set Cursor dialog (use --cursor X,Y,Z)"); }
    void OnDoMergeVertices() override { Unavailable("the Merge Vertices dialog (use --merge-vertices DISTANCE)"); }

private:
    [[noreturn]] static void Unavailable(const std::string& what)
    {
        throw BatchError{what + " is not available in batch mode"};
    }
    CPolydromDoc& m_doc;
};

// The window a headless view lives in: a client size, and repaints that nobody waits for.
class BatchViewHost : public CViewHost {
public:
    CRect GetClientRect() const override { return m_client; }
    void Invalidate() override {}
    CRect m_client{0, 0, 800, 600};
};

// "W" of "WxH", "X" of "X,Y": a whole decimal number in [lo, hi].
bool ParseInt(std::string_view text, int lo, int hi, int* value)
{
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, *value);
    return result.ec == std::errc() && result.ptr == end && *value >= lo && *value <= hi;
}

// A finite float, the whole text. A value too small for a float becomes the nearest one
// (a denormal or zero), as storing it would; one too large for a float is refused.
bool ParseFloat(std::string_view text, float* value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, *value);
    if (result.ec == std::errc()) return result.ptr == end && std::isfinite(*value);
    if (result.ec != std::errc::result_out_of_range || result.ptr != end) return false;
    // from_chars has checked the syntax; strtof, in the C locale batch mode runs in, tells
    // an underflow (it returns the nearest float) from an overflow (an infinity).
    const std::string whole(text);
    char* stop = nullptr;
    const float nearest = std::strtof(whole.c_str(), &stop);
    if (stop != whole.c_str() + whole.size() || !std::isfinite(nearest)) return false;
    *value = nearest;
    return true;
}

// A refused command and a failed file stop the script.
bool Stops(const CommandReport& report)
{
    return report.kind == CommandReport::Kind::Refusal || report.kind == CommandReport::Kind::Failure;
}

// Big enough for any screen, small enough that a render fits in memory.
constexpr int kMaxClientSide = 8192;

class BatchSession {
public:
    BatchSession(std::ostream& out) : m_out(out), m_shell(*m_doc)
    {
        m_view.SetHost(&m_host);
        m_doc->AddView(&m_view);
    }

    void Open(const std::string& path)
    {
        if (Result opened = m_doc->OnOpenDocument(path); !opened) throw BatchError{opened.error};
    }

    void New() { m_doc->OnNewDocument(); }

    void Do(const std::string& name)
    {
        const CommandEntry* entry = FindCommandByBatchName(name);
        if (!entry) throw BatchError{"unknown command \"" + std::string(name) + "\""};
        const RouteResult result = RouteCommand(entry->id, Targets());
        if (!result.handled)
            throw BatchError{"command \"" + std::string(name) + "\" is not available in batch mode"};
        const CommandReport& report = result.report;
        if (Stops(report)) throw BatchError{std::string(name) + ": " + report.text};
    }

    void Save(const std::string& path)
    {
        if (Result saved = m_doc->OnSaveDocument(path); !saved) throw BatchError{saved.error};
    }

    void Dump()
    {
        DumpDocument(*m_doc, m_view.m_state, m_out);
        DumpView(m_view, m_out);
    }

    // --size WxH: the client size of the headless view. A side of 0 is refused here
    // rather than at a later --render: no image can be empty.
    void Size(const std::string& text)
    {
        const auto x = text.find('x');
        int width = 0, height = 0;
        if (x == std::string::npos || !ParseInt(std::string_view(text).substr(0, x), 1, kMaxClientSide, &width) ||
            !ParseInt(std::string_view(text).substr(x + 1), 1, kMaxClientSide, &height))
            throw BatchError{"--size \"" + text + "\" is not WxH with sides from 1 to " +
                             std::to_string(kMaxClientSide)};
        m_host.m_client = CRect{0, 0, width, height};
    }

    // --click X,Y or X,Y,right: a left press at that client pixel, the right button held or not.
    void Click(const std::string& text)
    {
        std::string_view rest = text;
        bool right = false;
        if (rest.ends_with(",right")) {
            right = true;
            rest.remove_suffix(6);
        }
        const auto comma = rest.find(',');
        CPoint point;
        constexpr int kLimit = 1 << 30;
        if (comma == std::string_view::npos || !ParseInt(rest.substr(0, comma), -kLimit, kLimit, &point.x) ||
            !ParseInt(rest.substr(comma + 1), -kLimit, kLimit, &point.y))
            throw BatchError{"--click \"" + text + "\" is not X,Y or X,Y,right"};
        const CommandReport report = RouteClick(Targets(), MK_LBUTTON | (right ? MK_RBUTTON : 0u), point);
        if (Stops(report)) throw BatchError{"click " + text + ": " + report.text};
    }

    // --cursor X,Y,Z: puts the cursor at a model point, as a click there would, but
    // without picking, so scripts can scale, rotate and mirror about any point.
    void Cursor(const std::string& text)
    {
        float c[3];
        std::string_view rest = text;
        for (int k = 0; k < 3; ++k) {
            const auto comma = k < 2 ? rest.find(',') : rest.size();
            if (comma == std::string_view::npos || !ParseFloat(rest.substr(0, comma), &c[k]))
                throw BatchError{"--cursor \"" + text + "\" is not X,Y,Z with three finite numbers"};
            rest.remove_prefix(std::min(comma + 1, rest.size()));
        }
        for (int k = 0; k < 3; ++k) m_view.m_state.cursor[k] = c[k];
    }

    // --fit: the whole model centred, drawn without the tool's marks (thumbnails).
    void Fit() { m_view.FitModel(); }

    // --render PATH.png: the view as the window shows it, on an erased (white) background.
    void Render(const std::string& path)
    {
        CRasterDC dc(m_host.m_client.right, m_host.m_client.bottom);
        dc.SetTextRenderer(DrawDigitText);
        m_view.OnDraw(&dc);
        std::string error;
        if (!WritePng(path, dc.Width(), dc.Height(), dc.Pixels(), &error)) throw BatchError{error};
    }

    // A registered step: error text, or nothing when it succeeded.
    void Extra(const ExtraBatchStep& step, const std::string& value)
    {
        const std::string error = step.run(m_view, m_host.m_client.right, m_host.m_client.bottom, value);
        if (!error.empty()) throw BatchError{std::string(step.name) + " " + value + ": " + error};
    }

    // --render-pov PATH.png: the model rendered by POV-Ray as the preview panel shows it,
    // at the view's size and framing, so that it lines up pixel for pixel with --render.
    void RenderPov(const std::string& path)
    {
        const CRect client = m_host.m_client;
        const PreviewScene scene = BuildPreviewScene(m_view, client.right, client.bottom);
        if (!scene.ok) throw BatchError{"--render-pov " + path + ": " + scene.error};
        const PovRayPicture picture = RunPovRay(scene.text, client.right, client.bottom, false, m_renderTimeout);
        if (!picture.ok) {
            const bool timedOut = picture.error == PovRayTimeoutReason(m_renderTimeout);
            throw BatchError{"--render-pov " + path + ": " + picture.error +
                             (timedOut ? " (--render-timeout SECONDS allows longer)" : "")};
        }
        std::string error;
        if (!WritePng(path, picture.image.width, picture.image.height, picture.image.pixels.data(), &error))
            throw BatchError{error};
    }

    // --render-timeout SECONDS: how long a later --render-pov may take.
    void RenderTimeout(const std::string& text)
    {
        float seconds = 0;
        if (!ParseFloat(text, &seconds) || seconds < 0.001f || seconds > kMaxRenderSeconds)
            throw BatchError{"--render-timeout \"" + text + "\" is not a number of seconds from 0.001 to " +
                             std::to_string(kMaxRenderSeconds)};
        m_renderTimeout = std::chrono::milliseconds(std::llround(double(seconds) * 1000.0));
    }

    // The bytes File > Export POVFILE writes to "object.pov", to any path.
    void ExportPov(const std::string& path)
    {
        const PovExportResult result = m_doc->ExportPov(path);
        if (!result.ok) throw BatchError{result.error};
    }

    // --axes converted|as-stored: whether the imports and exports that follow turn the
    // mesh between the views' axes and those of Y-up and Z-up files.
    void Axes(const std::string& text)
    {
        if (text == "converted")
            m_axes = AxisConversion::Converted;
        else if (text == "as-stored")
            m_axes = AxisConversion::AsStored;
        else
            throw BatchError{"--axes \"" + text + "\" is neither converted nor as-stored"};
    }

    // --import-scale FACTOR: the file's units to the model's, for the imports that follow.
    void ImportScale(const std::string& text)
    {
        double factor = 0.0;
        if (!ParseTypedNumber(text, &factor) || !(factor > 0.0))
            throw BatchError{"--import-scale \"" + text + "\" is not a positive finite number"};
        m_importScale = factor;
    }

    // --import PATH: File > Import without the dialog, one undo step like the menu's.
    void Import(const std::string& path)
    {
        ImportOptions options;
        options.axes = m_axes;
        options.scale = m_importScale;
        const ImportResult result = m_doc->ImportMesh(path, options);
        if (!result) throw BatchError{result.error};
        m_doc->CommitStep(StepLabel(*FindCommand(ID_FILE_IMPORT)));
    }

    // Any export format, chosen by the path's extension.
    void Export(const std::string& path)
    {
        const std::optional<MeshFormat> format = MeshFormatForPath(path);
        if (!format) {
            std::string known;
            for (const MeshFormatInfo& info : MeshFormats())
                known += (known.empty() ? "" : ", ") + std::string(info.extension);
            throw BatchError{"cannot tell the export format of \"" + path + "\" by its extension (known: " + known +
                             ")"};
        }
        const MeshExportResult result = m_doc->ExportMesh(path, *format, m_axes);
        if (!result.ok) throw BatchError{result.error};
    }

    // --add-vertex, --move-by, --rotate-by, --scale-by: the typed edits of the dialogs.
    void AddVertexAt(const std::string& text) { Typed(TypedEdit::AddVertexAt, text); }
    void MoveBy(const std::string& text) { Typed(TypedEdit::MoveBy, text); }
    void RotateBy(const std::string& text) { Typed(TypedEdit::RotateBy, text); }
    void ScaleBy(const std::string& text) { Typed(TypedEdit::ScaleBy, text); }
    void MergeVertices(const std::string& text) { Typed(TypedEdit::MergeVertices, text); }

    // --select-box X0,Y0,X1,Y1[,add|remove]: what a drag of the rubber band selects.
    void SelectBox(const std::string& text)
    {
        std::string_view rest = text;
        SelectionChange change = SelectionChange::Replace;
        if (rest.ends_with(",add")) {
            change = SelectionChange::Add;
            rest.remove_suffix(4);
        } else if (rest.ends_with(",remove")) {
            change = SelectionChange::Remove;
            rest.remove_suffix(7);
        }
        int corners[4];
        if (!ParseInts(rest, corners))
            throw BatchError{"--select-box \"" + text + "\" is not X0,Y0,X1,Y1 or X0,Y0,X1,Y1,add or ...,remove"};
        RunBoxSelection(m_view, CPoint{corners[0], corners[1]}, CPoint{corners[2], corners[3]}, change);
    }

    // --wheel X,Y,NOTCHES: the mouse wheel over that pixel, zooming in for positive notches.
    void Wheel(const std::string& text)
    {
        int values[3];
        if (!ParseInts(text, values) || values[2] < -kMaxNotches || values[2] > kMaxNotches)
            throw BatchError{"--wheel \"" + text + "\" is not X,Y,NOTCHES with notches from -" +
                             std::to_string(kMaxNotches) + " to " + std::to_string(kMaxNotches)};
        m_view.ZoomAbout(CPoint{values[0], values[1]}, values[2]);
    }

private:
    CommandTargets Targets() { return CommandTargets{&m_view, m_doc.get(), &m_shell}; }

    static constexpr int kMaxNotches = 64;
    // A week: longer than any render anyone waits for, short enough for the clock.
    static constexpr int kMaxRenderSeconds = 7 * 24 * 3600;

    // Whole numbers separated by commas, as many as values holds, each within a pixel range.
    static bool ParseInts(std::string_view text, std::span<int> values)
    {
        constexpr int kLimit = 1 << 30;
        for (std::size_t k = 0; k < values.size(); ++k) {
            const bool last = k + 1 == values.size();
            const auto comma = last ? text.size() : text.find(',');
            if (comma == std::string_view::npos || !ParseInt(text.substr(0, comma), -kLimit, kLimit, &values[k]))
                return false;
            text.remove_prefix(last ? text.size() : comma + 1);
        }
        return true;
    }

    void Typed(TypedEdit edit, const std::string& text)
    {
        const TypedEditInfo& info = InfoOf(edit);
        double values[3];
        const std::span<double> typed(values, static_cast<std::size_t>(info.valueCount));
        if (!ParseTypedNumbers(text, typed))
            throw BatchError{std::string(info.batchStep) + " \"" + text + "\" is not " + std::string(info.valueNames) +
                             (info.valueCount == 1 ? ", a finite number" : ", finite numbers separated by commas")};
        const CommandReport report = RunTypedEdit(*m_doc, m_view.m_state, edit, typed);
        if (report.kind == CommandReport::Kind::Refusal)
            throw BatchError{std::string(info.batchStep.substr(2)) + ": " + report.text};
    }

    std::ostream& m_out;
    // The model is large (its arrays live inside it), so it lives on the heap.
    std::unique_ptr<CPolydromDoc> m_doc = std::make_unique<CPolydromDoc>();
    BatchShell m_shell;
    BatchViewHost m_host;
    AxisConversion m_axes = AxisConversion::Converted;
    double m_importScale = 1.0;
    CPolydromView m_view;
    std::chrono::milliseconds m_renderTimeout = kPovRayTimeLimit;
};

}  // namespace

static void DumpViewState(const ViewState& view, const char* prefix, std::ostream& out)
{
    out << prefix << "zoom " << ShortestFloat(view.zoom) << '\n';
    out << prefix << "pan " << Triple(view.pan[0], view.pan[1], view.pan[2]) << '\n';
    out << prefix << "cursor " << Triple(view.cursor[0], view.cursor[1], view.cursor[2]) << '\n';
    out << prefix << "axis " << LooksAlong(view.axis, 0) << ' ' << LooksAlong(view.axis, 1) << ' '
        << LooksAlong(view.axis, 2) << '\n';
}

void DumpDocument(const CPolydromDoc& doc, const ViewState& view, std::ostream& out)
{
    out << "resolution " << doc.m_nResolution << '\n';
    out << "step " << ShortestFloat(doc.m_step) << '\n';
    // The state the commands use, where the model's settings are listed.
    DumpViewState(view, "", out);
    out << "vertices " << doc.GetVertexCount() << '\n';
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        out << "v " << i << ' ' << Triple(doc.m_x[i], doc.m_y[i], doc.m_z[i]) << ' ' << doc.m_sel[i] << '\n';
    out << "edges " << doc.GetEdgeCount() << '\n';
    for (int j = 0; j < doc.GetEdgeCount(); ++j)
        out << "e " << j << ' ' << doc.m_edgeFrom[j] << ' ' << doc.m_edgeTo[j] << '\n';
    // Listed only when there are faces, so a wireframe's dump reads as it always has.
    if (doc.GetFaceCount() == 0) return;
    out << "faces " << doc.GetFaceCount() << '\n';
    for (int k = 0; k < doc.GetFaceCount(); ++k)
        out << "f " << k << ' ' << doc.GetFaceCorner(k, 0) << ' ' << doc.GetFaceCorner(k, 1) << ' '
            << doc.GetFaceCorner(k, 2) << '\n';
}

void DumpView(const CPolydromView& view, std::ostream& out)
{
    DumpViewState(view.m_state, "view-", out);
    out << "move " << view.m_movePresses << ' ' << view.m_moveAnchored << '\n';
}

namespace {

// Every step, with the session operation it runs; most take the word after them. The
// value's name and the description are what --help prints for the step.
struct BatchStep {
    std::string_view name;
    void (BatchSession::*withValue)(const std::string&) = nullptr;
    void (BatchSession::*plain)() = nullptr;
    std::string_view value = {};
    std::string_view description = {};
};
const BatchStep kSteps[] = {
    {"--do", &BatchSession::Do, nullptr, "NAME", "run a command: its name from --list-commands (shape-cylinder)"},
    {"--save", &BatchSession::Save, nullptr, "PATH", "save the model"},
    {"--dump", nullptr, &BatchSession::Dump, {}, "print the model and the view's state as text"},
    {"--export-pov", &BatchSession::ExportPov, nullptr, "PATH", "write what File > Export POVFILE writes, to PATH"},
    {"--export", &BatchSession::Export, nullptr, "PATH", "export the triangles as .pov, .inc (mesh2), .obj or .stl"},
    {"--size", &BatchSession::Size, nullptr, "WxH", "the size of the headless view (800x600)"},
    {"--click", &BatchSession::Click, nullptr, "X,Y[,right]",
     "a left click at that pixel of the view; with ,right the right button is held (adds a vertex)"},
    {"--cursor", &BatchSession::Cursor, nullptr, "X,Y,Z", "put the cursor at a model point without picking"},
    {"--fit", nullptr, &BatchSession::Fit, {}, "show the whole model centred, without the tool's marks (thumbnails)"},
    {"--render", &BatchSession::Render, nullptr, "PATH.png", "draw the view as the window shows it, as a PNG"},
    {"--add-vertex", &BatchSession::AddVertexAt, nullptr, "X,Y,Z", "add one selected vertex at exactly that point"},
    {"--move-by", &BatchSession::MoveBy, nullptr, "DX,DY,DZ", "move the selection by that offset"},
    {"--rotate-by", &BatchSession::RotateBy, nullptr, "DEGREES",
     "turn the selection about the cursor, around the viewing axis (positive: counter-clockwise)"},
    {"--scale-by", &BatchSession::ScaleBy, nullptr, "FACTOR", "scale the selection about the cursor"},
    {"--merge-vertices", &BatchSession::MergeVertices, nullptr, "DISTANCE",
     "make selected vertices no farther apart than DISTANCE one (Do > Merge Vertices...)"},
    {"--select-box", &BatchSession::SelectBox, nullptr, "X0,Y0,X1,Y1[,add|remove]",
     "select the vertices drawn inside that box of view pixels (or add them, or remove them)"},
    {"--wheel", &BatchSession::Wheel, nullptr, "X,Y,NOTCHES",
     "turn the mouse wheel over that pixel: zoom in (positive) or out about the point under it"},
    {"--render-pov", &BatchSession::RenderPov, nullptr, "PATH.png",
     "render the model with POV-Ray, framed as the view frames it, as a PNG"},
    {"--render-timeout", &BatchSession::RenderTimeout, nullptr, "SECONDS",
     "stop a later --render-pov that takes longer than that (120 unless set), with an error"},
    {"--import", &BatchSession::Import, nullptr, "PATH",
     "add the mesh of another program's file (OBJ, STL, PLY, OFF, glTF ...) and select it"},
    {"--axes", &BatchSession::Axes, nullptr, "converted|as-stored",
     "for the --import and --export steps that follow: turn meshes between the views' axes and Y-up/Z-up files "
     "(converted, the default) or keep the file's coordinates (as-stored)"},
    {"--import-scale", &BatchSession::ImportScale, nullptr, "FACTOR",
     "multiply the coordinates of the meshes the --import steps that follow read (1 by default)"},
};

std::vector<ExtraBatchStep>& ExtraSteps()
{
    static std::vector<ExtraBatchStep> steps;
    return steps;
}

}  // namespace

void RegisterBatchStep(ExtraBatchStep step)
{
    auto& steps = ExtraSteps();
    for (ExtraBatchStep& known : steps)
        if (known.name == step.name) {
            known = std::move(step);
            return;
        }
    steps.push_back(std::move(step));
}

std::vector<BatchStepHelp> BatchStepsHelp()
{
    std::vector<BatchStepHelp> steps;
    for (const BatchStep& step : kSteps) steps.push_back({step.name, step.value, step.description});
    for (const ExtraBatchStep& step : ExtraSteps()) steps.push_back({step.name, step.value, step.description});
    return steps;
}

int RunBatch(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    BatchSession session(out);
    std::size_t k = 0;
    std::string running = args.empty() || args[0].starts_with("--") ? "new model" : "open";
    auto value = [&](const std::string& option) -> const std::string& {
        if (k + 1 >= args.size()) throw BatchError{option + " needs a value"};
        return args[++k];
    };
    try {
        if (!args.empty() && !args[0].starts_with("--")) {
            session.Open(args[0]);
            k = 1;
        } else {
            session.New();
        }
        for (; k < args.size(); ++k) {
            const std::string& step = args[k];
            running = step;
            const BatchStep* known = std::find_if(std::begin(kSteps), std::end(kSteps),
                                                  [&](const BatchStep& s) { return s.name == step; });
            if (known == std::end(kSteps)) {
                const auto& extra = ExtraSteps();
                const auto registered = std::find_if(extra.begin(), extra.end(),
                                                     [&](const ExtraBatchStep& s) { return s.name == step; });
                if (registered == extra.end()) throw BatchError{"unknown step \"" + step + "\""};
                session.Extra(*registered, value(step));
                continue;
            }
            if (known->withValue)
                (session.*known->withValue)(value(step));
            else
                (session.*known->plain)();
        }
    } catch (const BatchError& e) {
        out.flush();
        err << "polydrom: " << e.text << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        // A render of the largest size under a memory limit: one error line, not an abort.
        out.flush();
        err << "polydrom: " << running << ": not enough memory\n";
        return 1;
    }
    out.flush();
    return 0;
}
