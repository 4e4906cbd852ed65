// Fuzz target of the model-file loader: any bytes are opened as a ".pdm" file over a
// model already open. A rejected file leaves that model byte for byte as it was; an
// accepted one is exactly what the file says, and saving it writes the same bytes.
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/archive.h"
#include "fuzz_support.h"

namespace {

// Everything of the document a failed open could disturb, every array whole, and the path, the modified flag and the history's state.
void WholeState(const CPolydromDoc& doc, std::vector<std::uint8_t>& out)
{
    out.clear();
    auto add = [&out](const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        out.insert(out.end(), p, p + size);
    };
    for (const auto* a : {&doc.m_x, &doc.m_y, &doc.m_z}) add(a->data(), a->size() * sizeof(float));
    for (const auto* a : {&doc.m_sel, &doc.m_dup, &doc.m_edgeFrom, &doc.m_edgeTo, &doc.m_edgeUsed, &doc.m_face})
        add(a->data(), a->size() * sizeof(std::int32_t));
    const std::int32_t counts[] = {doc.GetVertexCount(), doc.GetEdgeCount(), doc.m_nResolution};
    add(counts, sizeof counts);
    add(&doc.m_step, sizeof doc.m_step);
    const CModelHistory& history = doc.History();
    const std::string text = doc.GetPathName() + '\n' + (doc.IsModified() ? "modified" : "saved") + '\n' +
                             history.UndoLabel() + '\n' + history.RedoLabel() + '\n' +
                             std::to_string(history.StepCount()) + ' ' + std::to_string(history.BytesUsed()) + ' ' +
                             (history.IsAtSavePoint() ? "at-save-point" : "elsewhere");
    add(text.data(), text.size());
}

// A model with some history, a path and unsaved changes: what a failed open must keep.
void OpenSomething(CPolydromDoc& doc)
{
    doc.SetPathName("/nonexistent/earlier.pdm");
    doc.OnResVeryLow();
    doc.OnShapeCylinder(ViewState{});
    doc.CommitStep("Cylinder");
    doc.OnDoExtrude();
    doc.CommitStep("Extrude");
    doc.OnEditUndo();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile file("model.pdm");
    // The open model and its state, kept from one input to the next while inputs are
    // rejected (most are), made again after one is accepted.
    static std::unique_ptr<CPolydromDoc> doc;
    static std::vector<std::uint8_t> before, after;
    if (!doc) {
        doc = std::make_unique<CPolydromDoc>();
        OpenSomething(*doc);
        WholeState(*doc, before);
    }
    file.Write({data, size});

    const Result opened = doc->OnOpenDocument(file.Path());
    if (!opened) {
        FUZZ_CHECK(!opened.error.empty() && opened.error.find(file.Path()) != std::string::npos);
        WholeState(*doc, after);
        FUZZ_CHECK(after == before);
        return 0;
    }

    // Accepted: the model is the file's first bytes, valid, unmodified, with no history.
    CheckModelInvariants(*doc);
    const std::vector<std::uint8_t> content = FileContent(*doc);
    FUZZ_CHECK(content.size() <= size && std::memcmp(content.data(), data, content.size()) == 0);
    FUZZ_CHECK(doc->GetPathName() == file.Path() && !doc->IsModified());
    FUZZ_CHECK(!doc->History().CanUndo() && !doc->History().CanRedo());
    CArchive stored;
    doc->Serialize(stored);
    FUZZ_CHECK(stored.Bytes() == content);
    doc.reset();
    return 0;
}
