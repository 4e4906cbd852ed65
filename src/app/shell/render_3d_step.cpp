// --render-3d PATH.png[,AZIMUTH,ELEVATION]: the shaded view's picture in batch mode.
#include "app/shell/render_3d_step.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include <QGuiApplication>
#include <QImage>

#include "app/batch.h"
#include "app/shell/shaded_renderer.h"
#include "framework/png_image.h"
#include "view/orbit_camera.h"
#include "view/polydrom_view.h"
#include "view/shaded_mesh.h"

namespace {

bool ParseAngle(std::string_view text, double* value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, *value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

// Batch mode runs before anything of Qt exists; OpenGL needs a GUI application. With no
// platform chosen, the offscreen one: it opens no window, and reaches OpenGL through
// the X display when there is one.
bool EnsureGuiApplication()
{
    if (QCoreApplication::instance()) return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Batch mode says what went wrong in its own one line; Qt's chatter would only add noise.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
    });
    static int argc = 1;
    static char name[] = "polydrom";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(argc, argv);
    return true;
}

std::string Render3d(const CPolydromView& view, int width, int height, const std::string& value)
{
    const std::optional<Render3dRequest> request = ParseRender3d(value);
    if (!request) return "is not PATH.png or PATH,AZIMUTH,ELEVATION with finite angles in degrees";
    if (!EnsureGuiApplication()) return "OpenGL is not available: this program has no graphical application";
    const ShadedMesh mesh = BuildShadedMesh(CopyModel(*view.GetDocument()));
    OrbitCamera camera;
    camera.SnapToAxis(view.MainAxes().d, false);
    camera.Turn(request->azimuth, request->elevation);
    camera.Fit(mesh.bounds, width, height);
    QImage picture;
    QString reason;
    if (!RenderShadedPicture(mesh, camera, width, height, &picture, &reason))
        return "OpenGL is not available: " + reason.toStdString();
    std::string error;
    if (!WritePng(request->path, picture.width(), picture.height(),
                  reinterpret_cast<const std::uint32_t*>(picture.constBits()), &error))
        return error;
    return {};
}

}  // namespace

std::optional<Render3dRequest> ParseRender3d(const std::string& value)
{
    Render3dRequest request;
    // A name ending in ".png" is the whole value, commas and all; otherwise the angles
    // are the last two fields.
    if (value.size() > 4 && QString::fromStdString(value.substr(value.size() - 4)).toLower() == QStringLiteral(".png")) {
        request.path = value;
        return request;
    }
    const auto last = value.rfind(',');
    if (last == std::string::npos || last == 0) return std::nullopt;
    const auto before = value.rfind(',', last - 1);
    if (before == std::string::npos || before == 0) return std::nullopt;
    const std::string_view text(value);
    if (!ParseAngle(text.substr(before + 1, last - before - 1), &request.azimuth) ||
        !ParseAngle(text.substr(last + 1), &request.elevation))
        return std::nullopt;
    request.path = value.substr(0, before);
    return request;
}

void RegisterShellBatchSteps()
{
    RegisterBatchStep({"--render-3d", "PATH.png[,AZIMUTH,ELEVATION]",
                       "draw the 3-D View's shaded picture with OpenGL, turned by those degrees from the view's axis",
                       &Render3d});
}
