// The main frame's precise modelling: the point and Transform dialogs, the rubber band's
// selection, the wheel's zoom about the pointer, and the marks and panes that show where
// the user stands.
#include <QAction>

#include "app/shell/background_job.h"
#include "app/shell/main_frame.h"
#include "app/shell/preview_panel.h"
#include "app/shell/prompts.h"
#include "app/shell/status_bar.h"
#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"
#include "view/status_text.h"

QString CMainFrame::ApplyTypedEdit(TypedEdit edit, std::span<const double> values)
{
    const ViewState view = m_view->m_state;
    CommandReport report;
    auto run = [&] { report = RunTypedEdit(m_doc, view, edit, values); };
    // Merging rebuilds the edges and faces of the whole model: on a big one, a worker's job.
    if (edit == TypedEdit::MergeVertices)
        ChangeModelAside(QStringLiteral("Merging vertices..."), run);
    else
        run();
    AfterCommand(report);
    return report.kind == CommandReport::Kind::Refusal ? QString::fromStdString(report.text) : QString();
}

void CMainFrame::OnDoAddVertexAt()
{
    const CPolydromView& view = *m_view;
    // Prefilled with the cursor: the point a right click would have used.
    m_prompts.AskPoint(this, QStringLiteral("Add Vertex At"), {view.m_state.cursor[0], view.m_state.cursor[1], view.m_state.cursor[2]},
                       [this](const std::array<double, 3>& point) {
                           return ApplyTypedEdit(TypedEdit::AddVertexAt, point);
                       });
}

void CMainFrame::OnDoTransform()
{
    // One modeless dialog for the window's life: the view, its axis keys and the
    // selection stay at hand while it is open.
    if (!m_transform) {
        m_transform = new CTransformDialog(this, [this](TypedEdit edit, std::span<const double> values) {
            return ApplyTypedEdit(edit, values);
        });
        m_transform->SetRotationPlace(QString::fromStdString(RotationText(*m_view)));
    }
    m_transform->Present();
}

void CMainFrame::OnDoMergeVertices()
{
    // The last distance that merged, for the next model of the same scale.
    m_prompts.AskNumber(this, QStringLiteral("Merge Vertices"), "Distance", m_mergeDistance,
                        [this](const std::array<double, 3>& values) {
                            const QString refusal = ApplyTypedEdit(TypedEdit::MergeVertices, std::span(values.data(), 1));
                            if (refusal.isEmpty()) m_mergeDistance = values[0];
                            return refusal;
                        });
}

void CMainFrame::OnDoSetCursor()
{
    CPolydromView& view = *m_view;
    m_prompts.AskPoint(this, QStringLiteral("Set Cursor"), {view.m_state.cursor[0], view.m_state.cursor[1], view.m_state.cursor[2]},
                       [&view](const std::array<double, 3>& point) -> QString {
                           for (double c : point)
                               if (!IsStorableCoordinate(c))
                                   return QStringLiteral("Set Cursor refused: the point lies beyond the range of "
                                                         "coordinates.");
                           view.SetCursor(static_cast<float>(point[0]), static_cast<float>(point[1]),
                                          static_cast<float>(point[2]));
                           return QString();
                       });
}

void CMainFrame::BoxSelect(CPoint from, CPoint to, unsigned flags)
{
    if (ModelBeingChanged()) return;
    const SelectionChange change = (flags & MK_CONTROL) ? SelectionChange::Remove
                                   : (flags & MK_SHIFT) ? SelectionChange::Add
                                                        : SelectionChange::Replace;
    m_doc.TakeReport();
    RunBoxSelection(*m_view, from, to, change);
    AfterCommand(m_doc.TakeReport());
}

void CMainFrame::WheelZoom(CPoint pointer, int notches)
{
    if (ModelBeingChanged()) return;
    m_view->ZoomAbout(pointer, notches);
    UpdateMarks();
    m_preview->Changed();
}

void CMainFrame::PointerMoved(bool inside, CPoint pointer)
{
    m_pointerInside = inside;
    m_pointer = pointer;
    // The window opening a progress prompt over the pointer says it left: the panes, which
    // count the selection, are brought up to date once the change is whole.
    if (ModelBeingChanged()) return;
    // Over an inset panel the pointer pane names the axes the panel shows instead.
    QString place;
    if (inside) {
        place = QString::fromStdString(PanelText(*m_view, pointer));
        if (place.isEmpty()) place = QString::fromStdString(PointerText(*m_view, pointer));
    }
    m_statusBar->ShowPlace(QString::fromStdString(ViewAxisText(*m_view)), place,
                           QString::fromStdString(SelectionText(m_doc)));
}

void CMainFrame::UpdateMarks()
{
    UpdateChecks();
    // The Transform dialog names the axis and the point its rotation turns about.
    if (m_transform) m_transform->SetRotationPlace(QString::fromStdString(RotationText(*m_view)));
    // A zoom or a new axis changes what the pixel under the pointer shows.
    PointerMoved(m_pointerInside, m_pointer);
}
