// File > Export POVFILE: the union of triangle objects, always "object.pov" in the
// current folder, where scenes include it by that name.
#include "model/polydrom_doc.h"

PovExportResult CPolydromDoc::ExportPov(const std::string& path) { return ExportMesh(path, MeshFormat::PovUnion); }

void CPolydromDoc::OnFileExportPov() { ReportExport(ExportPov("object.pov"), "object.pov"); }
