// File > Export POVFILE: the union of triangle objects, always "object.pov" in the
// current folder, where scenes include it by that name.
#include <filesystem>
#include <system_error>

#include "model/polydrom_doc.h"

PovExportResult CPolydromDoc::ExportPov(const std::string& path) { return ExportMesh(path, MeshFormat::PovUnion); }

void CPolydromDoc::OnFileExportPov() { ReportPovExport(ExportPov("object.pov")); }

void CPolydromDoc::ReportPovExport(const PovExportResult& result)
{
    // The report names the whole path: the current folder is nowhere to be seen in the window.
    std::error_code error;
    const std::filesystem::path where = std::filesystem::absolute("object.pov", error);
    ReportExport(result, error ? std::string("object.pov") : where.string());
}
