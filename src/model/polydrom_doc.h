// The mesh document: the whole model (vertices, edges and faces) in flat growable arrays,
// and every command on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/document.h"
#include "model/history.h"
#include "model/mesh_export.h"
#include "model/mesh_import.h"
#include "model/view_state.h"

// The largest model the program holds and a file may announce: far beyond any mesh a
// desktop works with (a 2^24-vertex scan takes about 1.3 GB here), and small enough that
// every index and count fits an int32 and every byte count a size_t with room to spare.
// Before these, a model is limited only by memory: running out is a refusal, not an end.
constexpr std::int32_t MAX_VERTICES = 16777216;
constexpr std::int32_t MAX_EDGES = 50000000;
constexpr std::int32_t MAX_FACES = 50000000;

// How far a document's model may grow; the limits above, or smaller ones a test sets to
// reach "the model is full" without gigabytes.
struct ModelLimits {
    std::int32_t vertices = MAX_VERTICES;
    std::int32_t edges = MAX_EDGES;
    std::int32_t faces = MAX_FACES;
};

using PovExportResult = MeshExportResult;

// How a region of vertices changes the selection: it becomes the selection, joins it, or leaves it.
enum class SelectionChange { Replace, Add, Remove };

class CPolydromDoc : public CDocument {
public:
    CPolydromDoc();

    // Document overrides.
    bool OnNewDocument() override;
    void Serialize(CArchive& ar) override;
    std::size_t MaxFileBytes() const override;
    // The counts' bytes, the edges' end and the face block's header are read first, so
    // that only what the counts announce (and one byte more, to see a longer file) is read.
    Result BytesToRead(const std::string& path, std::size_t* bytes) const override;
    // A regular file with sound counts is read straight into the arrays; any other goes
    // through Serialize, with the same reasons for a refusal.
    void ReadDocument(const std::string& path) override;
    // Takes over the model, history and file of a document that opened a file (on a
    // worker thread, while this one stayed in use); the other keeps this one's old model.
    void TakeOpenedModel(CPolydromDoc& opened);

    // Accessors for the view's drawing; indices are trusted.
    int GetVertexCount() const { return static_cast<int>(m_x.size()); }
    int GetEdgeCount() const { return static_cast<int>(m_edgeFrom.size()); }
    int GetFaceCount() const { return static_cast<int>(m_face.size() / 3); }
    // Corner k (0, 1, 2) of face f, in the face's corner order.
    int GetFaceCorner(int f, int k) const { return m_face[3 * static_cast<std::size_t>(f) + k]; }
    float GetVertexX(int i) const { return m_x[i]; }
    float GetVertexY(int i) const { return m_y[i]; }
    float GetVertexZ(int i) const { return m_z[i]; }
    int GetVertexSel(int i) const { return m_sel[i]; }
    // The coordinates along axis 0 (x), 1 (y) or 2 (z) of every vertex, for passes over all.
    const float* GetVertexCoords(int axis) const { return (axis == 0 ? m_x : axis == 1 ? m_y : m_z).data(); }
    float GetEdgeFromX(int j) const { return m_x[m_edgeFrom[j]]; }
    float GetEdgeFromY(int j) const { return m_y[m_edgeFrom[j]]; }
    float GetEdgeFromZ(int j) const { return m_z[m_edgeFrom[j]]; }
    float GetEdgeToX(int j) const { return m_x[m_edgeTo[j]]; }
    float GetEdgeToY(int j) const { return m_y[m_edgeTo[j]]; }
    float GetEdgeToZ(int j) const { return m_z[m_edgeTo[j]]; }
    int GetEdgeFrom(int j) const { return m_edgeFrom[j]; }
    int GetEdgeTo(int j) const { return m_edgeTo[j]; }

    // Operations the view calls; none of them repaints.
    void AddVertex(float x, float y, float z);
    // Subtracts the offset from every selected vertex; refused whole, with a report,
    // when a coordinate would leave the range a float can store.
    void MoveSelected(float dx, float dy, float dz);
    // A click's pick: flips every vertex whose two shown coordinates lie within 4 pixels of
    // the view's cursor at its zoom (the depth is ignored).
    void ToggleSelectionNear(const ViewState& view);

    // Primitives, centred on the model point the view shows at its centre and 100 pixels
    // in radius at its zoom; and the resolution of the round ones.
    void OnShapeCircle(const ViewState& view);
    void OnShapeCylinder(const ViewState& view);
    void OnShapeBox(const ViewState& view);
    void OnShapeSquare(const ViewState& view);
    void OnShapeCone(const ViewState& view);
    void OnShapePyramid(const ViewState& view);
    void OnResVeryLow();
    void OnResLow();
    void OnResMedium();
    void OnResHigh();
    void OnResVeryHigh();

    // Topology.
    void OnDoConnect();
    void OnDoUnconnect();

    // Do > Merge Vertices: selected vertices no farther apart than the distance (directly
    // or through others) become one, at the position of the lowest of them; edges and
    // faces follow, and those that shrink or repeat go. Reports "Merged 12 vertices into
    // 4", or that none were close enough (false), or refuses a bad distance (false).
    bool MergeVertices(double distance);

    // Selection.
    void OnDoSelectAll();
    void OnDoDeselectAll();
    void OnDoSelectConnected();
    void OnDoSelectInvert();
    // marked[i] says whether vertex i lies in the region.
    void ChangeSelection(const std::vector<bool>& marked, SelectionChange change);

    // Typed edits, computed in double and stored as float. Each one refuses whole, with a
    // report and the model untouched, when the model is full or a result would not be a
    // finite float; rotation and scale are about the cursor, rotation around the viewing
    // axis, a positive angle counter-clockwise on the screen.
    bool AddVertexAt(double x, double y, double z);
    bool MoveSelectionBy(double dx, double dy, double dz);
    bool RotateSelectionBy(double degrees, const ViewState& view);
    bool ScaleSelectionBy(double factor, const ViewState& view);

    // Duplication.
    void OnDoExtrude();
    void OnDoCopy();
    // Reflects in X about the plane halfway between X = 0 and the view's cursor.
    void OnDoMirror(const ViewState& view);

    // Scale and rotate about the view's cursor (rotations around its axis), and their step.
    void OnDoGrow(const ViewState& view);
    void OnDoShrink(const ViewState& view);
    void OnDoRotateCcw(const ViewState& view);
    void OnDoRotateCw(const ViewState& view);
    void OnStepFinest();
    void OnStepFine();
    void OnStepCoarse();
    void OnStepCoarsest();

    // POV-Ray export: "object.pov" in the current folder, or any path.
    void OnFileExportPov();
    PovExportResult ExportPov(const std::string& path);
    // OnFileExportPov's report, for an export of "object.pov" that ran elsewhere (on a
    // worker thread): the file's whole path, or the refusal.
    void ReportPovExport(const PovExportResult& result);
    // The triangles of the export in any format, written atomically to the path. It
    // neither redraws nor marks the model modified; only the edges' marks change. The
    // exchange formats (OBJ, STL) get the half turn about X when axes asks for it.
    MeshExportResult ExportMesh(const std::string& path, MeshFormat format,
                                AxisConversion axes = AxisConversion::AsStored);
    // File > Export As... once its dialog has chosen the path and the format: exports
    // and leaves the report ("Exported 12 triangles to box.stl (1 closed piece)", or the
    // refusal).
    void ExportMeshAs(const std::string& path, MeshFormat format, AxisConversion axes = AxisConversion::AsStored);
    // ExportMeshAs's report, for an export to path that ran elsewhere (on a worker thread).
    void ReportExported(const MeshExportResult& result, const std::string& path);

    // File > Import once its dialog has chosen the file, and --import: appends the file's
    // mesh and makes it the selection, or leaves the model untouched and says why. The
    // caller commits the undo step.
    ImportResult ImportMesh(const std::string& path, const ImportOptions& options = {});
    // The second half of ImportMesh, for a mesh ReadMeshFile has read from path: scales
    // and turns it (PlaceImportedMesh), appends it, selects it and reports it, or leaves
    // the model untouched and says why.
    ImportResult AddImportedMesh(const std::string& path, ImportedMesh mesh, double scale, AxisConversion axes);

    // Undo and redo. Whoever runs a command or a click calls CommitStep afterwards:
    // when the model or its selection changed, that becomes one undoable step.
    bool CommitStep(std::string label);
    // The model differs from its file whatever undo does (a model recovered after a
    // crash): it is modified, and no step of the history is the saved state.
    void MarkUnsaved();
    void OnEditUndo();
    void OnEditRedo();
    const CModelHistory& History() const { return m_history; }
    // The arrays as a file and the history hold them (the live entries), and as the
    // history restores them (each array whole, and the counts).
    ModelArrays LiveArrays() const;
    RestoredArrays WholeArrays();
    // Sets the counts, keeping the arrays of each kind the same size; new entries are 0
    // (m_dup -1). May throw std::bad_alloc, before anything changes when it grows.
    void ResizeModel(int vertices, int edges, int faces);

    // The model, one flat array per attribute (no allocation per element, 20 bytes a
    // vertex, 12 an edge, 12 a face). The vertex arrays always have one size (the vertex
    // count), so do the edge arrays (the edge count); m_face holds three corners per face.
    // Whoever grows them calls Reserve first, so a model is never left half grown.
    std::vector<float> m_x, m_y, m_z;
    std::vector<std::int32_t> m_sel;
    std::vector<std::int32_t> m_dup;
    std::vector<std::int32_t> m_edgeFrom, m_edgeTo;
    std::vector<std::int32_t> m_edgeUsed;  // after an export: 1 when the edge is a side of a triangle
    std::vector<std::int32_t> m_face;      // corners of face 0, then face 1 ...
    std::int32_t m_nResolution;
    ModelLimits m_limits;
    // The step of Grow, Shrink and the rotations; a tool setting, not in the file.
    float m_step;

protected:
    void OnAfterSave() override;

private:
    // Checks a model read from a file and, when it is sound, makes it the document's with
    // a new history; otherwise throws CArchiveException and changes nothing.
    void Adopt(LoadedModel& model, std::int32_t n, std::int32_t e, std::int32_t f);
    // Exchanges the model's arrays, all of them, with the set's: how a model built aside
    // (read from a file, merged) is taken over without copying a byte.
    void SwapArrays(LoadedModel& arrays);
    // ReadDocument's direct way; false (nothing changed) for a file it leaves to Serialize.
    bool ReadPlainFile(const std::string& path);
    // Appending never allocates: room comes first, from Fits.
    void AppendVertex(double x, double y, double z);
    void AppendEdge(int from, int to);
    void AppendFace(int a, int b, int c);
    // Whether an edge joins p and q in either direction; whether a face lies on a, b and c.
    bool Joined(int p, int q) const;
    bool HasFace(int a, int b, int c) const;
    // Whether face k has all three corners in the selection state.
    bool FaceSelected(int k, int state = 1) const
    {
        return m_sel[GetFaceCorner(k, 0)] == state && m_sel[GetFaceCorner(k, 1)] == state &&
               m_sel[GetFaceCorner(k, 2)] == state;
    }
    // Merges each vertex into target[v] (a vertex that is its own target stays).
    bool MergeInto(const std::vector<std::int32_t>& target, const std::string& distance);
    // True when n more vertices, e more edges and f more faces fit the limits and the
    // memory (room is reserved for them); otherwise reports the refusal.
    bool Fits(const char* command, std::int64_t moreVertices, std::int64_t moreEdges, std::int64_t moreFaces = 0);
    // Reports that the command was refused because a coordinate would leave the float range.
    void RefuseOutOfRange(const char* command);
    // The export's report: the count, the file's name as given and the pieces, or the refusal with its reason.
    void ReportExport(const MeshExportResult& result, const std::string& name);
    // The shapes, parameterised by ring size; fourPoint picks the quarter-turn angles
    // of the square, box and pyramid instead of the round shapes' ring angles.
    void AppendFlatRing(const ViewState& view, const char* name, int n, bool fourPoint);
    void AppendPrism(const ViewState& view, const char* name, int n, bool fourPoint);
    void AppendSpire(const ViewState& view, const char* name, int n, bool fourPoint);
    // Extrude, Copy and Mirror: one pass over the selection, differing in where the
    // duplicates go and which edges join them.
    enum class DuplicateKind { Extrude, Copy, Mirror };
    // Mirror reflects about x = mirrorX / 2.
    void DuplicateSelection(DuplicateKind kind, float mirrorX = 0.0f);
    // Maps every selected vertex (x, y, z) to out, checking every result before storing any.
    using PointMap = std::function<void(double x, double y, double z, double* out)>;
    bool TransformSelection(const char* command, const PointMap& map);

    CModelHistory m_history;
};
